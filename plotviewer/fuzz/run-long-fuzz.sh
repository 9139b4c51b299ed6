#!/usr/bin/env bash
# Usage: plotviewer/fuzz/run-long-fuzz.sh <build-dir> <seconds> [corpus-dir]
# A long fuzz run over everything there is to start from: the checked-in seeds (small plots, PCL
# raster escapes, PE data), the samples and the real-world corpus (corpus-dir, default
# TARNWICK_CORPUS_DIR, else ../shared/corpus/files beside the source tree), with the dictionary.
# Builds the fuzzer as run-fuzz.sh does, first measures executions a second on the small seeds
# alone and on the large corpus plots alone (a twentieth of the time each, at most 60 s), then
# fuzzes with all of them for the rest. Fails on any crash, leak, sanitizer report or hang.
set -euo pipefail

if [[ $# -lt 2 || $# -gt 3 ]]; then
    echo "usage: $0 <build-dir> <seconds> [corpus-dir]" >&2
    exit 2
fi
build_dir=$1
seconds=$2
fuzz_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(cd "$fuzz_dir/../.." && pwd)
corpus_dir=${3:-${TARNWICK_CORPUS_DIR:-$source_dir/../shared/corpus/files}}
if [[ ! -d $corpus_dir ]]; then
    echo "$0: no corpus folder at $corpus_dir" >&2
    exit 2
fi

# Builds the fuzzer; the one-second run checks that it starts.
mkdir -p "$build_dir"
"$fuzz_dir/run-fuzz.sh" "$build_dir" 1 >"$build_dir/long-fuzz-build.log" 2>&1 || {
    cat "$build_dir/long-fuzz-build.log" >&2
    exit 1
}
fuzzer=$build_dir/bin/plotviewer_fuzzer
# The largest corpus plot is a few MB; inputs are read whole up to this length.
max_len=$((8 << 20))
slice=$((seconds / 20 > 60 ? 60 : seconds / 20))
((slice >= 1)) || slice=1

fuzz() { # <seconds> <work-corpus> <read-only folder>...
    local time=$1 work=$2
    shift 2
    mkdir -p "$work"
    "$fuzzer" -max_total_time="$time" -max_len="$max_len" -timeout=30 -rss_limit_mb=4096 \
        -artifact_prefix="$build_dir/" -print_final_stats=1 -dict="$fuzz_dir/plot.dict" "$work" "$@"
}

execs_per_second() { # <log>
    sed -n 's/^stat::average_exec_per_sec: *//p' "$1"
}

# The corpus plots of 64 KB or more, without the small ones beside them.
large=$build_dir/large-seeds
rm -rf "$large"
mkdir -p "$large"
find "$corpus_dir" -maxdepth 1 -type f -size +63k -exec cp {} "$large/" \;

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fuzz "$slice" "$scratch/small" "$fuzz_dir/seeds" >"$scratch/small.log" 2>&1 || {
    cat "$scratch/small.log" >&2
    exit 1
}
fuzz "$slice" "$scratch/large" "$large" >"$scratch/large.log" 2>&1 || {
    cat "$scratch/large.log" >&2
    exit 1
}
echo "executions a second: $(execs_per_second "$scratch/small.log") on the small seeds," \
    "$(execs_per_second "$scratch/large.log") on the $(find "$large" -type f | wc -l) corpus plots of 64 KB or more"

remaining=$((seconds - 2 * slice))
((remaining >= 1)) || remaining=1
# A working corpus of its own: what it finds from megabyte plots would slow run-fuzz.sh's short runs.
fuzz "$remaining" "$build_dir/long-fuzz-corpus" "$fuzz_dir/seeds" "$source_dir/samples" "$corpus_dir"
