#!/usr/bin/env bash
# The real program on the X server: its window, its size and its colours on screen.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"

start_app "$1"
geometry=$(xwininfo -id "$app_window")
width=$(sed -n 's/^ *Width: //p' <<<"$geometry")
height=$(sed -n 's/^ *Height: //p' <<<"$geometry")
check "client area is 342 x 518" test "$width x $height" = "342 x 518"
check "title is Varnock" test "$(xdotool getwindowname "$app_window")" = Varnock

shot=$(mktemp --suffix=.png)
import -window "$app_window" "$shot"
check "window ground is grey" test "$(pixel "$shot" 170 76)" = "192,192,192"
check "button face is grey" test "$(pixel "$shot" 254 84)" = "192,192,192"
check "plain-text box is white" test "$(pixel "$shot" 320 28)" = "255,255,255"
check "chart is shown" test "$(pixel "$shot" 166 370)" = "255,255,255"
rm -f "$shot"
finish
