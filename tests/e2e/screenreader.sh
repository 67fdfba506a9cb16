#!/usr/bin/env bash
# The real program with Orca running: what Orca sends to speech, heard by a speech server
# of the test's own, while "sos" is encoded, after it is decoded and when the blank-field
# message comes up.
# On a desktop of its own, so that nothing Orca leaves on the accessibility bus reaches
# the tests that share the other one.
set -euo pipefail
here=$(dirname "$0")
source "$here/desktop.sh"
source "$here/app.sh"

# Orca runs once for each user: one that is already running is somebody's own.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "SKIP: an Orca of this user is running already, and a second one will not start"
    exit 77
fi

orca_dir=$(mktemp -d)
speech_log="$orca_dir/spoken"
orca_pid=
speech_server_pid=
ended() {
    ! kill -0 "$1" 2>/dev/null
}

stop_orca() {
    if [ -n "$orca_pid" ]; then
        # Orca says goodbye before it ends, and the next Orca will not start while it lives.
        kill "$orca_pid" 2>/dev/null || true
        wait_until 10 ended "$orca_pid" || kill -KILL "$orca_pid" 2>/dev/null || true
        wait "$orca_pid" 2>/dev/null || true
    fi
    if [ -n "$speech_server_pid" ]; then
        kill "$speech_server_pid" 2>/dev/null || true
        wait "$speech_server_pid" 2>/dev/null || true
    fi
    end_app_test
    stop_desktop
    rm -rf "$orca_dir"
}
trap stop_orca EXIT
start_desktop openbox

# What Orca has said so far, an utterance a line, from the line given on. Orca 43 ends
# what it says of a window or an announcement with a full stop that Orca 48 leaves off:
# none is kept, so that both read alike.
spoken_from() {
    tail -n "+$1" "$speech_log" | sed 's/\.$//'
}
spoken_count() {
    spoken_from 1 | wc -l
}

# Whether Orca has said a line, from the line given on.
has_said() {
    spoken_from "$1" | grep -q -x -F -- "$2"
}

# Waits up to the given seconds until Orca has said a line, from the line given on.
wait_for_speech() {
    wait_until "$3" has_said "$1" "$2" || { echo "Orca did not say \"$2\" within $3 s"; return 1; }
}

# What Orca said of the characters of an encode, from the line given on.
spoken_steps() {
    spoken_from "$1" | grep -E '^[^,]+, (no code|(dot|dash)( dot| dash)*)$' || true
}

has_said_steps() {
    [ "$(spoken_steps "$1" | wc -l)" -ge "$2" ]
}

# Orca keeps its settings in the home folder: a private one, so the defaults hold. It
# speaks through the test's speech server, which sounds nothing.
speech_socket="$orca_dir/speech"
touch "$speech_log"
python3 "$here/speech_server.py" "$speech_socket" "$speech_log" &
speech_server_pid=$!
wait_until 5 test -S "$speech_socket" || { echo "FAIL: the speech server did not listen within 5 s"; exit 1; }
HOME=$orca_dir SPEECHD_ADDRESS="unix_socket:$speech_socket" orca </dev/null >"$orca_dir/orca.out" 2>&1 &
orca_pid=$!
wait_for_speech 1 "Screen reader on" 30 || { tail -n 20 "$orca_dir/orca.out"; exit 1; }

start_app "$1"
activate_window "$app_window"
check "the window is presented as a frame" wait_for_speech 1 "Varnock frame" 10
click_on Reset
check "reset empties the plain-text box" a11y wait "Plain text" "" 5
xdotool type --delay 30 "sos"
check "typed text enters in capitals" a11y wait "Plain text" "SOS" 5

# What the Morse box tells a screen reader while the codes come.
changes=$orca_dir/changes
a11y changes "Morse code" 3 20 >"$changes" &
watcher=$!
wait_until 5 grep -q -x listening "$changes" || { echo "FAIL: no one listened within 5 s"; exit 1; }
before=$(($(spoken_count) + 1))
click_on Varnock # encode
check "the last character shows with its code" a11y wait "Current character" "S ..." 10
check "Orca says three characters" wait_until 10 has_said_steps "$before" 3
steps=$(spoken_steps "$before")
check "each character is spoken with its code, in order" \
    test "$steps" = $'S, dot dot dot\nO, dash dash dash\nS, dot dot dot'
check "the focus stays on the encode button" a11y focused "Varnock" 5
check "the Morse box holds the codes alone" a11y wait "Morse code" "... --- ... " 5
check "the Morse box told of three changes" wait "$watcher"
check "each a code added, never the whole box" \
    test "$(grep -v -x listening "$changes")" = $'insert 0 ... \ninsert 4 --- \ninsert 8 ... '

decoded=$(($(spoken_count) + 1))
click_on "Morse To Text"
check "decoding gives the text back" a11y wait "Plain text" "S O S " 5
check "Orca reads the decoded text" wait_for_speech "$decoded" "S O S" 10

before=$(($(spoken_count) + 1))
click_on Reset
click_on "Morse To Text" # with nothing to decode
check "Orca reads the blank-field message" \
    wait_for_speech "$before" "This Field Can't Be Blank!!" 10
# Orca speaks in order: whatever it said of the decode, it said before the message.
check "it read the decoded text once" \
    test "$(spoken_from "$decoded" | grep -c -x -F 'S O S')" -eq 1
check "the message box is dismissed" dismiss_error_box
check "the program goes on" a11y wait "Plain text" "" 5
echo "Orca said:"
spoken_from 1 | sed 's/^/    /'
finish
