#!/usr/bin/env bash
# Encoding on the real program: "sos" typed in, the encode button clicked with the
# pointer; the boxes read over AT-SPI, the sound recorded from the audio server. Then the
# blank-field message, a close asked while it is up, and a close of the minimised window.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
tone_segments=$2
close_request=$4

start_app "$1"
activate_window "$app_window"
click_on Reset
check "reset empties the plain-text box" a11y wait "Plain text" "" 5
check "reset empties the Morse box" a11y wait "Morse code" "" 5
xdotool type --delay 30 "sos"
check "typed text enters in capitals" a11y wait "Plain text" "SOS" 5

record_audio
click_on Varnock # encode
check "the codes fill the Morse box" a11y wait "Morse code" "... --- ... " 5
check "the last character shows with its code" a11y wait "Current character" "S ..." 5
wait_for_tones 9
stop_recording

heard=$(morse_heard "$recording")
echo "heard: $heard"
check "the sound reads ... --- ..." test "$heard" = "... --- ..."
mapfile -t starts < <(character_starts "$recording")
echo "characters start at: ${starts[*]}"
# The audio server starts a sound at its next cycle: on PipeWire, a quantum of up to 1024
# frames at 48 kHz, 21 ms; the starts are found to within 5 ms.
if [ "${#starts[@]}" -eq 3 ]; then
    check "characters start 700 ms apart" near "$((${starts[1]%.*} - ${starts[0]%.*}))" 702 26
    check "and again 700 ms later" near "$((${starts[2]%.*} - ${starts[1]%.*}))" 702 26
fi

click_on "Morse To Text"
check "decoding gives the text back" a11y wait "Plain text" "S O S " 5
check "decoding empties the current character" a11y wait "Current character" "" 5

click_on Reset
click_on "Morse code"
# The dot typed last shows once the keys refused before it have been handled.
xdotool type --delay 30 "... --- ...x9a_ ."
check "the Morse box takes only dots, dashes and spaces" a11y wait "Morse code" "... --- ... ." 5

click_on Reset
click_on "Morse To Text" # with nothing to decode
check "a window titled Error comes up" wait_until 10 error_box
# Asked to close while the message is up, the window stays: the message comes first.
# The window manager handles the request before it activates the message, and the
# program sees it before the key.
"$close_request" "$app_window"
check "Return dismisses it" dismiss_error_box
check "and it goes" wait_until 5 eval '! error_box'
click_on "Plain text"
xdotool type "e"
check "the program goes on" a11y wait "Plain text" "E" 5
check "and its window keeps its size" test "$(client_size)" = 342x518

# Minimised, it closes when asked from outside, as from a taskbar.
timeout 10 xdotool windowminimize --sync "$app_window" \
    || { echo "FAIL: the window was not minimised within 10 s"; exit 1; }
"$close_request" "$app_window"
wait_for_exit 10
check "minimised, it closes when asked, with status 0" test "$exit_status" = 0
finish
