#!/usr/bin/env bash
# Every recorded character heard as itself at the program's pace: an encode that puts each
# digit and the long letters J, Q and Y before a short E, recorded from the audio server
# and heard by a listener who knows nothing but the sound.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
tone_segments=$2

text=1E2E3E4E5E6E7E8E9EJEQEYE
# The tones of its codes: five for each digit, four for J, Q and Y, one for each E.
tones=$((9 * 5 + 3 * 4 + 12))

start_app "$1"
xdotool windowactivate --sync "$app_window"
click_on Reset
check "reset empties the plain-text box" a11y wait "Plain text" "" 5
xdotool type --delay 20 "${text,,}"
check "the text is typed in" a11y wait "Plain text" "$text" 5

record_audio
click_on Varnock
# A character every 0.7 s: about 17 s. The encode has ended once no character follows
# within 0.7 s.
wait_until 30 tones_played_out "$tones" 800 || echo "timeout: $tones tones not heard within 30 s"
stop_recording

heard=$("$tone_segments" "$recording" | python3 "$here/listener.py")
echo "$heard"
check "a listener hears $text" test "$(head -n 1 <<<"$heard")" = "$text"
finish
