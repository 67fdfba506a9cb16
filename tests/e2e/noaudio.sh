#!/usr/bin/env bash
# The real program with no audio server at all: sounds are silent, nothing blocks, and
# an encode keeps its pauses.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"

PULSE_SERVER=unix:/nonexistent/native start_app "$1"
activate_window "$app_window"
xdotool key Left Right Left
click_on Reset
check "the window answers" a11y wait "Plain text" "" 5
xdotool type --delay 30 "ee"
check "typing works" a11y wait "Plain text" "EE" 5

time_encoded_codes 3
check_code_spacing 2
check "the codes read . ." a11y wait "Morse code" ". . " 5
finish
