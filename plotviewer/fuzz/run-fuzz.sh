#!/usr/bin/env bash
# Usage: plotviewer/fuzz/run-fuzz.sh <build-dir> <seconds>
# Configures a separate clang build with the fuzzers on (tests and benchmarks off), builds the
# plot fuzzer and runs it for the given time. Fails on any crash, leak, sanitizer report or hang.
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 <build-dir> <seconds>" >&2
    exit 2
fi
build_dir=$1
seconds=$2
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

cmake -G Ninja -S "$source_dir" -B "$build_dir" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTARNWICK_BUILD_FUZZERS=ON -DTARNWICK_BUILD_TESTS=OFF -DTARNWICK_BUILD_BENCHMARKS=OFF
cmake --build "$build_dir" --target plotviewer_fuzzer -- -j2

# New inputs go to a working corpus in the build folder; the checked-in seeds are only read.
work_corpus="$build_dir/fuzz-corpus"
mkdir -p "$work_corpus"
"$build_dir/bin/plotviewer_fuzzer" \
    -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build_dir/" -print_final_stats=1 \
    -dict="$source_dir/plotviewer/fuzz/plot.dict" \
    "$work_corpus" "$source_dir/plotviewer/fuzz/seeds"
