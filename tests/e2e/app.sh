# Helpers for the end-to-end tests: start the program, find its window, read pixels,
# hear what it sounds, and stop everything it started, whatever happens. Sourced.

source "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

app_pid=
app_window=
app_log=
recorder_pid=
recording=
failures=0
# A folder for what a test makes, removed when it ends.
scratch=$(mktemp -d)

stop_app() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    stop_recording
    [ -z "$recording" ] || rm -f "$recording"
    [ -z "$app_log" ] || rm -f "$app_log"
}

# What a test that sets a trap of its own calls in it.
end_app_test() {
    stop_app
    rm -rf "$scratch"
}
trap end_app_test EXIT

# Records what reaches the audio server's null sink into $recording: raw signed 16-bit
# mono at 44100 Hz. Returns once the recording has begun: the monitor gives silence while
# nothing plays.
record_audio() {
    recording=$(mktemp -p "$scratch")
    parec --device=null.monitor --raw --format=s16le --rate=44100 --channels=1 \
        --latency-msec=10 >"$recording" &
    recorder_pid=$!
    wait_until 10 test -s "$recording" || { echo "FAIL: nothing recorded within 10 s"; exit 1; }
}

# Whether the recording holds at least the given number of tones, the last of them
# followed by quiet: 150 ms, or as many milliseconds as given.
tones_played_out() {
    "$tone_segments" "$recording" | awk -v tones="$1" -v quiet="${2:-150}" \
        -v bytes="$(stat -c %s "$recording")" '
        { end = $1 + $2 }
        END { exit !(NR >= tones && bytes / 88.2 - end >= quiet) }'
}

# Waits, at most 10 s, until the given number of tones has been heard whole.
wait_for_tones() {
    check "$1 tones heard whole within 10 s" wait_until 10 tones_played_out "$1"
}

# Records while the keys are pressed one after the other, each once the sound of the one
# before has been heard whole.
record_keys() {
    record_audio
    local pressed=0 key
    for key in "$@"; do
        xdotool key "$key"
        pressed=$((pressed + 1))
        wait_for_tones "$pressed"
    done
    stop_recording
}

stop_recording() {
    if [ -n "$recorder_pid" ]; then
        kill -INT "$recorder_pid" 2>/dev/null || true
        wait "$recorder_pid" 2>/dev/null || true
        recorder_pid=
    fi
}

here=$(dirname "${BASH_SOURCE[0]}")

# Reads the program's controls over AT-SPI: see a11y.py. Debian's own Python has the
# bindings.
# Each call ends within a minute, whatever the program does, and says when it did not.
a11y() {
    local status=0
    timeout 60 /usr/bin/python3 "$here/a11y.py" "$@" || status=$?
    [ "$status" -ne 124 ] || echo "a11y $*: timed out" >&2
    return "$status"
}

# Clicks with the pointer in the middle of the control of that name, found over AT-SPI.
click_on() {
    local place
    place=$(a11y centre "$1") || { echo "FAIL: no control named $1 to click"; exit 1; }
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $place click 1
}

# The Morse code heard in a recording, as characters of dots and dashes separated by
# spaces; a character ends where more than 100 ms of silence follow. A silence shorter
# than half a dot (16 ms) is no silence to the ear but a hole in the tone around it; the
# holes bridged are told on the standard error.
morse_heard() {
    "$tone_segments" "$1" | awk '
        function element() { printf (end - begin < 80 ? "." : "-") }
        NR > 1 && $1 - end < 16 { holes++; end = $1 + $2; next }
        NR > 1 { element(); if ($1 - end > 100) printf " " }
        { begin = $1; end = $1 + $2 }
        END { if (NR > 0) element(); printf "\n"
              if (holes) printf "holes bridged: %d\n", holes > "/dev/stderr" }'
}

# The start of each character heard, in milliseconds, one a line.
character_starts() {
    "$tone_segments" "$1" | awk '
        { if (NR == 1 || $1 - end > 100) print $1; end = $1 + $2 }'
}

# Starts the program and waits, at most 20 s, for its window to be shown: on X11 for its
# window to be mapped, on Wayland, where no window can be found from outside, for its
# controls to be read. What it prints goes to app_log.
start_app() {
    app_log=$(mktemp -p "$scratch")
    "$@" 2>"$app_log" &
    app_pid=$!
    if [ -n "${app_native_wayland:-}" ]; then
        a11y wait "Plain text" " Text " 20 || { echo "FAIL: no window within 20 s"; exit 1; }
        return 0
    fi
    wait_until 20 app_window_shown && return 0
    if kill -0 "$app_pid" 2>/dev/null; then
        echo "FAIL: no window within 20 s"
    else
        wait "$app_pid" && echo "FAIL: the program ended" || echo "FAIL: the program ended with status $?"
    fi
    sed 's/^/    printed: /' "$app_log"
    exit 1
}

# Whether the program's window is shown; leaves it in app_window.
app_window_shown() {
    app_window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Varnock$' 2>/dev/null | head -n 1)
    [ -n "$app_window" ]
}

# Activates a window and waits until the window manager has given it the focus; xdotool
# waits for that with no limit of its own, so at most 10 s here, or the test fails.
activate_window() {
    timeout 10 xdotool windowactivate --sync "$1" \
        || { echo "FAIL: window $1 was not activated within 10 s"; exit 1; }
}

# The window of the program's message box titled "Error" while one is shown; fails when
# none is.
error_box() {
    xdotool search --all --onlyvisible --pid "$app_pid" --name '^Error$' 2>/dev/null | head -n 1 | grep .
}

# Waits, at most 10 s, for the message box, then dismisses it with Return as a user would;
# fails when none came.
dismiss_error_box() {
    local box
    wait_until 10 error_box || return 1
    box=$(error_box) || return 1
    activate_window "$box"
    xdotool key Return
}

# Gives the program's window the focus, as a click on it would, and waits, at most 10 s,
# until its plain-text box has it. A new window on mutter has it already.
focus_app() {
    case "${desktop_kind:-openbox}" in
    openbox | xfwm4 | mutter-x11) xdotool windowactivate "$app_window" 2>/dev/null || true ;;
    esac
    a11y focused "Plain text" 10 || { echo "FAIL: the window did not take the focus"; exit 1; }
}

# Where the window's grey ground lies in a picture, as WxH+X+Y, with a border of a pixel
# added so that the ground's edges survive the measure. The ground reaches every edge of
# the client area, so this is where the client area is, and how large.
grey_ground() {
    convert "$1" -fill black +opaque 'rgb(192,192,192)' -fill white \
        -opaque 'rgb(192,192,192)' -morphology Open Square:4 -bordercolor black -border 1 \
        -format '%@' info: 2>/dev/null
}

# The window system's size of the program's X11 window, its client area: "WxH".
client_size() {
    xwininfo -id "$app_window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

# Sets client_x and client_y to where the client area starts, from what grey_ground
# measured: less the border it adds.
client_origin() {
    IFS=+ read -r _ client_x client_y <<<"$1"
    client_x=$((client_x - 1)) client_y=$((client_y - 1))
}

# The red, green and blue of one pixel of a PNG file.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

# Waits up to the given seconds for the program to end; leaves its exit status, or
# "timeout", in exit_status.
wait_for_exit() {
    exit_status=0
    if ! wait_until "$1" ended "$app_pid"; then
        exit_status=timeout
    else
        wait "$app_pid" || exit_status=$?
        app_pid=
    fi
    echo "exit status: $exit_status"
}

# Clicks the encode button and, for the given seconds, notes when the Morse box changes:
# code_times holds the milliseconds of each change after the first reading.
time_encoded_codes() {
    local changes place
    changes=$(mktemp -p "$scratch")
    place=$(a11y centre "Varnock") || { echo "FAIL: no encode button"; exit 1; }
    a11y watch "Morse code" "$1" >"$changes" &
    local watcher=$!
    # The watcher prints its first reading once it is reading.
    wait_until 10 test -s "$changes" || { echo "FAIL: the watcher read nothing within 10 s"; exit 1; }
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $place click 1
    wait "$watcher"
    cat "$changes"
    mapfile -t code_times < <(awk 'NR > 1 { print $1 }' "$changes")
    rm -f "$changes"
}

# Checks that the codes noted by time_encoded_codes came, as many as given, 702 ms apart.
# The watcher reads every 5 ms over D-Bus, and a busy machine may delay one reading: the
# gaps' median is held to 40 ms, and each gap to a quarter of a second, well short of a
# stall or a skipped wait, either of which a listener hears.
check_code_spacing() {
    check "$1 codes arrived" test "${#code_times[@]}" -eq "$1"
    [ "${#code_times[@]}" -eq "$1" ] || return 0
    local i gaps=()
    for ((i = 1; i < $1; i++)); do
        gaps+=("$((code_times[i] - code_times[i - 1]))")
        check "code $((i + 1)) within 250 ms of 702 ms after code $i" near "${gaps[-1]}" 702 250
    done
    local median
    median=$(printf '%s\n' "${gaps[@]}" | sort -n | sed -n "$(((${#gaps[@]} + 1) / 2))p")
    check "the codes' median gap, $median ms, within 40 ms of 702 ms" near "$median" 702 40
}

# Whether a number lies within a tolerance of the value expected.
near() {
    awk -v value="$1" -v expected="$2" -v tolerance="$3" \
        'BEGIN { d = value - expected; exit !(d <= tolerance && -d <= tolerance) }'
}

finish() {
    stop_app
    [ "$failures" -eq 0 ]
}
