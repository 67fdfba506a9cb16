#!/usr/bin/env bash
# Installing: the program lands with its recordings in a folder of its own, bin/ links to
# it, the desktop entry and the metainfo validate, and the installed program, started
# through the link, finds its recordings.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
build=$1
tone_segments=$2

prefix=$(mktemp -d)
cleanup() {
    stop_app
    rm -rf "$prefix"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

check "bin/varnock links to the program" test "$(readlink -f "$prefix/bin/varnock")" = "$(readlink -f "$prefix"/lib*/varnock/varnock)"
check "35 recordings beside it" test "$(ls "$prefix"/lib*/varnock/morsecode_*.wav | wc -l)" -eq 35
check "the desktop entry validates" desktop-file-validate "$prefix/share/applications/org.varnock.Varnock.desktop"
check "the metainfo validates" appstreamcli validate --no-net "$prefix/share/metainfo/org.varnock.Varnock.metainfo.xml"
check "the icon is 32 x 32" test "$(identify -format %wx%h "$prefix/share/icons/hicolor/32x32/apps/org.varnock.Varnock.png")" = 32x32

start_app "$prefix/bin/varnock"
xdotool windowactivate --sync "$app_window"
record_audio
sleep 0.3
xdotool key Left
sleep 0.4
stop_recording
check "the installed program sounds its dot" test "$(morse_heard "$recording")" = "."
finish
