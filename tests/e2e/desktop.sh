# A private desktop for the end-to-end tests: an X server and a window manager. Sourced;
# start_desktop exports DISPLAY, stop_desktop ends what it started.

desktop_pids=()

start_desktop() {
    local fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    desktop_pids+=($!)
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
    openbox >/dev/null 2>&1 &
    desktop_pids+=($!)
    # The window manager is ready once it has claimed the screen.
    local tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "openbox did not start" >&2; return 1; }
        sleep 0.1
    done
}

stop_desktop() {
    local pid
    for pid in "${desktop_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${desktop_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    desktop_pids=()
}
