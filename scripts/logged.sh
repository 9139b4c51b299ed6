# Sourced by the scripts that say their steps in a line each and keep what the tools printed in log
# files. The sourcing script defines say, which prints one line of its own.

# Runs a command with its output in a log; on failure shows the log's end and fails.
logged() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        say "that failed; the end of $log:"
        tail -n 40 "$log" | sed 's/^/    /'
        return 1
    fi
}
