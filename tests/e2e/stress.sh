#!/usr/bin/env bash
# A thousand quick clicks on each button in the middle of an encode, which ends with the
# text the clicks were made on sent once; then the arrow keys held down so that the
# keyboard repeats them: every repeat sounds, the latest start cuts the sound before it
# short rather than queue behind it, the program keeps answering, ends well, and its
# memory stays flat.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
tone_segments=$2

resident_kib() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"
}

# The X server's times, in milliseconds, of the presses (or, given "KeyRelease", the
# releases) of a key code that the program's window received.
key_times() {
    awk -v code="keycode $2 " -v kind="${3:-KeyPress}" '
        $1 == kind { event = 1; next }
        event && /time / { match($0, /time [0-9]+/); time = substr($0, RSTART + 5, RLENGTH - 5) }
        event && index($0, code) { print time }
        /^$/ { event = 0 }' "$1"
}

# Holds a key down until the window has received the given number of its presses, at
# most 20 s, then lets it go and waits until the recording is quiet.
hold_key() {
    local key=$1 code=$2 presses=$3
    xdotool keydown "$key"
    check "$presses presses of $key received within 20 s" \
        wait_until 20 eval '[ "$(key_times "$keys_log" "$code" | wc -l)" -ge "$presses" ]'
    xdotool keyup "$key"
    check "the release of $key received within 10 s" \
        wait_until 10 eval '[ -n "$(key_times "$keys_log" "$code" KeyRelease | tail -n 1)" ]'
    check "the sound ends within 10 s" wait_until 10 tones_played_out 1 300
}

start_app "$1"
activate_window "$app_window"
click_on Reset
xdotool type --delay 20 "paris"
check "typed" a11y wait "Plain text" "PARIS" 5
before=$(resident_kib)

# The encode's sound is heard from before its first click until it has ended.
record_audio
click_on Varnock # encode
check "the encode has begun" a11y wait "Current character" "P .--." 5
for button in Varnock "Morse To Text" Reset; do
    place=$(a11y centre "$button")
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $place click --repeat 1000 --delay 2 1
done
# A key typed after the clicks shows once every click before it has been taken.
click_on "Plain text"
xdotool type e
check "the clicks are all taken" a11y wait "Plain text" "E" 30
# Characters are sounded 0.7 s apart while an encode runs: a second of quiet ends it.
check "the encode ends once the clicks are taken" wait_until 30 tones_played_out 1 1000
stop_recording
heard=$(morse_heard "$recording")
echo "heard: $heard"
# Whatever the burst, the encode that ends it sends the text the clicks were made on,
# whole.
check "the burst of clicks ends with PARIS sent whole" \
    grep -qE '(^| )\.--\. \.- \.-\. \.\. \.\.\.$' <<<"$heard"

keys_log=$(mktemp -p "$scratch")
xev -id "$app_window" -event keyboard >"$keys_log" &
xev_pid=$!
trap 'kill "$xev_pid" 2>/dev/null || true; end_app_test' EXIT
# The watcher logs nothing until a key comes: Shift is tapped until it has logged one.
shift_logged() {
    xdotool key Shift_L
    [ -s "$keys_log" ]
}
wait_until 5 shift_logged || { echo "FAIL: xev logged no key within 5 s"; exit 1; }

# Ten repeats a second, each 100 ms after the one before: a dot of 33 ms sounds whole
# between two.
xset r rate 250 10
record_audio
hold_key Left 113 12
stop_recording
mapfile -t presses < <(key_times "$keys_log" 113)
mapfile -t tones < <("$tone_segments" "$recording")
echo "Left pressed at ${presses[*]}; heard: ${tones[*]}"
check "each of the ${#presses[@]} presses of Left sounds a dot" test "${#tones[@]}" -eq "${#presses[@]}"
short=$(printf '%s\n' "${tones[@]}" | awk '$2 < 30 || $2 > 37' | wc -l)
check "every dot is heard whole" test "$short" -eq 0

# Twenty-five repeats a second, 40 ms apart, each cutting the 100 ms dash before it: the
# sound lasts as long as the key is held, and a dash more, not a dash for every press.
xset r rate 250 25
record_audio
hold_key Right 114 50
stop_recording
held_ms=$(($(key_times "$keys_log" 114 KeyRelease | tail -n 1) - $(key_times "$keys_log" 114 | head -n 1)))
heard_ms=$("$tone_segments" "$recording" | awk 'NR == 1 { first = $1 } { end = $1 + $2 } END { printf "%d", end - first }')
echo "Right held for $held_ms ms, $(key_times "$keys_log" 114 | wc -l) presses; sound heard for $heard_ms ms"
# The audio server's latency may differ from the first sound to the last by a cycle.
check "the sound ends within a dash of the release" test "$heard_ms" -le $((held_ms + 100 + 50))
check "and lasts while the key is held" test "$heard_ms" -ge $((held_ms - 50))

check "still answers" a11y text "Morse code"
check "still running" kill -0 "$app_pid"
after=$(resident_kib)
echo "resident before: $before KiB, after: $after KiB"
check "memory stays within 4 MiB of where it was" test "$((after - before))" -lt 4096

xdotool key alt+F4
wait_for_exit 10
check "closes with status 0" test "$exit_status" = 0
finish
