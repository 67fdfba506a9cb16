#!/usr/bin/env bash
# Closing the real program through the window manager: the window is seen sliding down
# and to the right while it shrinks, then the process ends with status 0.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"

frame() {
    xwininfo -id "$app_window" 2>/dev/null \
        | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
               /Width:/ { w = $2 } /Height:/ { h = $2 } END { if (w) print x, y, w, h }'
}

start_app "$1"
xdotool windowactivate --sync "$app_window"
read -r x0 y0 w0 h0 < <(frame)
echo "before: $x0 $y0 ${w0}x$h0"

started=$(date +%s%N)
xdotool key alt+F4
frames=()
while kill -0 "$app_pid" 2>/dev/null; do
    [ $(($(date +%s%N) - started)) -lt 10000000000 ] || break
    seen=$(frame) && [ -n "$seen" ] && frames+=("$seen")
    sleep 0.02
done
wait_for_exit 0
elapsed=$((($(date +%s%N) - started) / 1000000))
echo "animation and exit took $elapsed ms, ${#frames[@]} frames seen"

moved=no
for seen in "${frames[@]}"; do
    read -r x y w h <<<"$seen"
    if [ "$y" -gt "$y0" ] && [ "$x" -gt "$x0" ] && [ "$w" -lt "$w0" ] && [ "$h" -lt "$h0" ]; then
        moved=yes
        echo "seen: $x $y ${w}x$h"
        break
    fi
done
check "the window was seen lower, further right and smaller" test "$moved" = yes
check "the process ended with status 0" test "$exit_status" = 0
check "within 10 s" test "$elapsed" -lt 10000
finish
