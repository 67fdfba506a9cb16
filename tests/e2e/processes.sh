# Ends the processes a helper started, by their ids. Sourced.
#
#   stop_processes PID...   signals each to end, then waits for all of them

stop_processes() {
    local pid
    for pid in "$@"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "$@"; do
        wait "$pid" 2>/dev/null || true
    done
}
