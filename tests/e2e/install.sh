#!/usr/bin/env bash
# Installing: the program lands in a folder of its own, its recordings in share/ with a
# link to each beside the program, bin/ links to it, the desktop entry and the metainfo
# validate, the icon theme gets every side, and the installed program, started through the
# link, finds its recordings and tells the window system and the audio server who it is.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
build=$1
tone_segments=$2

prefix=$scratch
cmake --install "$build" --prefix "$prefix" >/dev/null

check "bin/varnock links to the program" test "$(readlink -f "$prefix/bin/varnock")" = "$(readlink -f "$prefix"/lib*/varnock/varnock)"
check "35 recordings in share/varnock" test "$(ls "$prefix"/share/varnock/morsecode_*.wav | wc -l)" -eq 35
check "each reached from beside the program" \
    test "$(cd "$prefix"/lib*/varnock && cat morsecode_*.wav | cksum)" = "$(cat "$prefix"/share/varnock/morsecode_*.wav | cksum)"
entry=$prefix/share/applications/org.varnock.Varnock.desktop
check "the desktop entry validates" desktop-file-validate "$entry"
# What the validator finds, pedantically, one "severity tag" a line, or nothing at all if
# it did not run to its verdict. Two findings are known and kept: the id has capitals, as
# the desktop entry, the icons, the Wayland app id and the sound stream have it, and there
# is no homepage while the project has no public address.
metainfo_findings() {
    local output
    output=$(appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/org.varnock.Varnock.metainfo.xml" || true)
    echo "$output" >&2
    grep -q 'Validation \(was successful\|failed\)' <<<"$output" || return 0
    echo verdict
    sed -nE 's/^([EWIP]): [^ ]+ ([a-z0-9-]+).*/\1 \2/p' <<<"$output" \
        | grep -vx -e 'P cid-contains-uppercase-letter' -e 'W url-homepage-missing' || true
}
check "the metainfo validates with no findings but the two known" \
    test "$(metainfo_findings)" = verdict
for side in 16 22 24 32 48 64 128 256; do
    check "the theme's icon of ${side} px is ${side} x ${side}" test "$(identify -format %wx%h "$prefix/share/icons/hicolor/${side}x${side}/apps/org.varnock.Varnock.png")" = "${side}x${side}"
done
check "the theme's scalable icon is an SVG" grep -q '<svg ' "$prefix/share/icons/hicolor/scalable/apps/org.varnock.Varnock.svg"

start_app "$prefix/bin/varnock"
activate_window "$app_window"
startup_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
check "WM_CLASS is the entry's StartupWMClass '$startup_class'" test "$(xprop -id "$app_window" WM_CLASS)" = "WM_CLASS(STRING) = \"$startup_class\", \"$startup_class\""
# The icon comes once the window has been drawn.
check "the window's icon is set within 5 s" \
    wait_until 5 eval 'xprop -id "$app_window" _NET_WM_ICON | grep -q "Icon ("'
icons=$(xprop -id "$app_window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
echo "window icons: $icons"
check "the window offers its icon from 16 to 128 px" test "$icons" = "Icon (16 x 16) Icon (22 x 22) Icon (24 x 24) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) Icon (128 x 128) "

# The stream goes once the sound has played out: its properties are read while it plays.
stream_seen() {
    properties=$(pactl list sink-inputs | grep -E 'application\.(id|icon_name) = ')
}
record_audio
xdotool key Right
wait_step=0.01 check "the sound's stream is seen within 5 s" wait_until 5 stream_seen
echo "$properties"
wait_for_tones 1
stop_recording
check "the sound's stream carries the entry's id" grep -q 'application.id = "org.varnock.Varnock"' <<<"$properties"
check "and its icon" grep -q 'application.icon_name = "org.varnock.Varnock"' <<<"$properties"
check "the installed program sounds its dash" test "$(morse_heard "$recording")" = "-"
finish
