#!/usr/bin/env bash
# The program in folders of awkward names: bytes that are not valid UTF-8 (Latin-1), spaces,
# a quote and a name that looks like an option. From each it finds its recordings and
# sounds a dot.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
tone_segments=$2

program_folder=$(dirname "$1")
names=($'J\xf6rg M\xfcller' "Morse 'n' more" "-- -" $'\xe9t\xe9/d\xe9j\xe0')
for name in "${names[@]}"; do
    folder=$scratch/$name
    mkdir -p -- "$folder"
    cp -- "$1" "$program_folder"/morsecode_E.wav "$folder/"
    start_app "$folder/varnock"
    activate_window "$app_window"
    record_keys Left
    shown=$(printf '%q' "$name")
    check "from $shown a dot is heard" test "$(morse_heard "$recording")" = "."
    check "from $shown nothing is printed" test ! -s "$app_log"
    sed 's/^/    printed: /' "$app_log"
    stop_app
    app_pid=
done
finish
