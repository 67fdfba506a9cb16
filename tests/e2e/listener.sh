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
activate_window "$app_window"
click_on Reset
check "reset empties the plain-text box" a11y wait "Plain text" "" 5
xdotool type --delay 20 "${text,,}"
check "the text is typed in" a11y wait "Plain text" "$text" 5

record_audio
click_on Varnock
# A character every 0.7 s: about 17 s. The encode has ended once no character follows
# within 0.7 s.
check "the encode is heard to its end" wait_until 30 tones_played_out "$tones" 800
stop_recording

heard=$("$tone_segments" "$recording" | python3 "$here/listener.py")
echo "$heard"
figure() { awk -v name="$1" '$1 == name { print $2 }' <<<"$heard"; }
check "a listener hears $text" test "$(head -n 1 <<<"$heard")" = "$text"
# What tells a listener where a character ends: three units of silence at least.
check "at least 3 units between characters" awk -v gap="$(figure narrowest_gap_units)" \
    'BEGIN { exit !(gap >= 3) }'
# The encode starts a character every 702 ms; each start reaches the sink within a cycle
# of the server's, which PulseAudio keeps under 10 ms.
check "a character starts every 702 ms, by the median step" near "$(figure median_step_ms)" 702 10
finish
