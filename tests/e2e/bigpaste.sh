#!/usr/bin/env bash
# Ten mebibytes pasted into the plain-text box, then encoded: the program takes them
# whole, stays responsive, and closes when asked in the middle of the run.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
clipboard_owner=$3

text=$(mktemp)
yes "sos paris " | tr -d "\n" | head -c 10485760 >"$text" || true
"$clipboard_owner" "$text" >"$text.ready" &
owner=$!
cleanup() {
    stop_app
    kill "$owner" 2>/dev/null || true
    rm -f "$text" "$text.ready"
}
trap cleanup EXIT
for _ in $(seq 100); do grep -q ready "$text.ready" && break; sleep 0.1; done

start_app "$1"
xdotool windowactivate --sync "$app_window"
click_at 133 96 # Reset
click_at 172 28 # into the plain-text box
xdotool key ctrl+v
check "all 10 MiB pasted" a11y length "Plain text" 10485760 60

click_at 290 96 # Varnock: encode
check "capitals without spaces" a11y length "Plain text" 8388608 60
check "the first code arrives" a11y wait "Current character" "S ..." 30
check "the window answers" a11y text "Morse code"

xdotool key alt+F4
wait_for_exit 30
check "closing in the middle of the run ends it with status 0" test "$exit_status" = 0
finish
