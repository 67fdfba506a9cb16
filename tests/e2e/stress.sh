#!/usr/bin/env bash
# A thousand quick clicks on each button in the middle of an encode, and an arrow key
# held down for ten seconds: the program keeps answering, ends well, and its memory
# stays flat.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"

resident_kib() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"
}

start_app "$1"
xdotool windowactivate --sync "$app_window"
click_on Reset
xdotool type --delay 20 "paris"
check "typed" a11y wait "Plain text" "PARIS" 5
sleep 1
before=$(resident_kib)

click_on Varnock # encode
check "the encode has begun" a11y wait "Current character" "P .--." 5
for button in Varnock "Morse To Text" Reset; do
    place=$(a11y centre "$button")
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $place click --repeat 1000 --delay 2 1
done
click_on "Plain text"
xdotool keydown Left
sleep 10
xdotool keyup Left
sleep 1
check "still answers" a11y text "Morse code"
check "still running" kill -0 "$app_pid"
after=$(resident_kib)
echo "resident before: $before KiB, after: $after KiB"
check "memory stays within 4 MiB of where it was" test "$((after - before))" -lt 4096

xdotool key alt+F4
wait_for_exit 10
check "closes with status 0" test "$exit_status" = 0
finish
