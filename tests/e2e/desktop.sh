# A private desktop for the end-to-end tests: an X server, a window manager and a D-Bus
# session with the accessibility bus. Sourced; start_desktop exports DISPLAY and the
# session bus's address, stop_desktop ends what it started.

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
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) \
        || { echo "D-Bus did not start" >&2; return 1; }
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
    desktop_pids+=("$(sed -n 2p <<<"$bus")")
    # Programs started from now on find the accessibility bus up and switched on, as a
    # screen reader leaves it.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
        variant:boolean:true >/dev/null || { echo "no accessibility bus" >&2; return 1; }
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
