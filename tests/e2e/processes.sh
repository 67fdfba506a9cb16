# Waiting for the processes a helper started, and ending them, by their ids. Sourced.
#
#   wait_until SECONDS COMMAND...   runs the command until it succeeds, for at most that
#                                   long, every wait_step seconds (0.05 unless set);
#                                   fails if it never did
#   stop_processes PID...           signals each to end, then waits for all of them, each
#                                   at most 10 s before it is killed

wait_until() {
    local seconds=$1
    shift
    local deadline=$(($(date +%s%N) + seconds * 1000000000))
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep "${wait_step:-0.05}"
    done
}

# Whether a process has ended: gone, or a zombie that its parent has yet to reap.
ended() {
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) || return 0
    [ "${state%% *}" = Z ]
}

stop_processes() {
    local pid
    for pid in "$@"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "$@"; do
        if ! wait_until 10 ended "$pid"; then
            echo "timeout: process $pid did not end within 10 s of being asked; killed" >&2
            kill -KILL "$pid" 2>/dev/null || true
        fi
        wait "$pid" 2>/dev/null || true
    done
}
