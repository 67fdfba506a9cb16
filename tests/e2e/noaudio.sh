#!/usr/bin/env bash
# The real program with no audio server at all: sounds are silent, nothing blocks, and
# an encode keeps its pauses.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"

PULSE_SERVER=unix:/nonexistent/native start_app "$1"
xdotool windowactivate --sync "$app_window"
xdotool key Left Right Left
click_at 133 96 # Reset
check "the window answers" a11y wait "Plain text" "" 5
xdotool type --delay 30 "ee"
check "typing works" a11y wait "Plain text" "EE" 5

changes=$(mktemp)
a11y watch "Morse code" 3 >"$changes" &
watcher=$!
sleep 0.5
click_at 290 96 # Varnock: encode
wait "$watcher"
cat "$changes"
first=$(awk '$2 == "." && NF == 2 { print $1; exit }' "$changes")
second=$(awk '$2 == "." && $3 == "." { print $1; exit }' "$changes")
rm -f "$changes"
check "both codes arrived" test -n "$first" -a -n "$second"
[ -z "$first" ] || [ -z "$second" ] || check "702 ms between them" near "$((second - first))" 702 40
finish
