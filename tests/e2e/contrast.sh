#!/usr/bin/env bash
# Every text of the window reads on what it is drawn on, at 4.5 to 1 or better, in each
# colour scheme a desktop may give the program: no platform theme, Qt's GTK platform
# theme with Adwaita, its dark variant and the two high-contrast themes, and Qt's KDE
# platform theme with Plasma's Breeze Dark colours, as a Plasma 5 (Debian 12) and a Plasma 6
# (Debian 13) session name themselves to it. Measured on pictures of the window:
# the credit lines and the captions on the fixed grey, the boxes' text, selection and
# caret, and the blank-field message box.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
program=$1

schemes=(
    "no platform theme|XDG_CURRENT_DESKTOP="
    "Adwaita|XDG_CURRENT_DESKTOP=GNOME GTK_THEME=Adwaita"
    "Adwaita dark|XDG_CURRENT_DESKTOP=GNOME GTK_THEME=Adwaita:dark"
    "HighContrast|XDG_CURRENT_DESKTOP=GNOME GTK_THEME=HighContrast"
    "HighContrastInverse|XDG_CURRENT_DESKTOP=GNOME GTK_THEME=HighContrastInverse"
    "Breeze Dark, Plasma 5|XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 XDG_CONFIG_HOME=$scratch/kde"
    "Breeze Dark, Plasma 6|XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=6 XDG_CONFIG_HOME=$scratch/kde"
)

# The colours of Plasma's Breeze Dark scheme, where Qt's KDE theme reads them.
mkdir -p "$scratch/kde"
cat >"$scratch/kde/kdeglobals" <<'COLOURS'
[Colors:Button]
BackgroundNormal=41,44,48
ForegroundNormal=252,252,252

[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252

[Colors:View]
BackgroundNormal=20,22,24
ForegroundNormal=252,252,252

[Colors:Window]
BackgroundNormal=32,35,38
ForegroundNormal=252,252,252
COLOURS

shot=$scratch/window.png

# Takes a picture of the window and finds its client area in it.
shoot_window() {
    import -window "$app_window" "$shot"
    client_origin "$(grey_ground "$shot")"
}

# "NAME:X,Y,W,H" for a region of the client area, given in its own pixels.
region() {
    echo "$1:$((client_x + $2)),$((client_y + $3)),$4,$5"
}

# Checks each region of the last picture reads at 4.5 to 1 or better.
check_regions() {
    local name ratio
    while read -r ratio name; do
        check "$scheme: $name reads at $ratio to 1" awk -v r="$ratio" 'BEGIN { exit !(r >= 4.5) }'
    done < <(python3 "$here/contrast.py" "$shot" "$@")
}

# Whether a picture taken now shows the caret in the empty plain-text box.
caret_shown() {
    shoot_window
    python3 "$here/contrast.py" "$shot" "$(region caret 19 19 307 19)" | awk '{ exit !($1 > 1) }'
}

for entry in "${schemes[@]}"; do
    scheme=${entry%%|*}
    # shellcheck disable=SC2086 # the settings are words
    start_app env ${entry#*|} "$program"
    activate_window "$app_window"
    click_on "Current character"
    xdotool type --delay 20 "K -.-"
    click_on "Morse code"
    xdotool key --delay 20 ctrl+End shift+Home
    xdotool type --delay 20 -- "-.-.-.-.-.-.-.-.-.-.-.-.-.-.-"
    xdotool key --delay 20 shift+Home
    a11y wait "Morse code" "-.-.-.-.-.-.-.-.-.-.-.-.-.-.-" 5 || { echo "FAIL: typing was not taken"; exit 1; }
    shoot_window
    check_regions "$(region "first credit line" 32 0 257 17)" \
        "$(region "second credit line" 0 512 342 6)" \
        "$(region "Reset" 110 83 47 27)" "$(region "Morse To Text" 168 83 74 27)" \
        "$(region "Varnock" 253 83 74 27)" "$(region "plain text" 19 19 307 19)" \
        "$(region "selected Morse" 19 51 240 19)" "$(region "current character" 19 83 81 27)"

    click_on Reset
    a11y focused "Plain text" 5 || { echo "FAIL: reset did not reach the plain-text box"; exit 1; }
    check "the caret shows" wait_until 5 caret_shown
    check_regions "$(region caret 19 19 307 19)"

    click_on Varnock
    wait_until 10 error_box || { echo "FAIL: no message box within 10 s"; exit 1; }
    read -r x y width height < <(a11y extents "This Field Can't Be Blank!!")
    import -window root "$shot"
    client_x=0 client_y=0
    check_regions "$(region message "$x" "$y" "$width" "$height")"
    stop_app
    app_pid=
done
finish
