#!/usr/bin/env bash
# The arrow keys on the real program: Left sounds a whole dot, Right a whole dash, as
# recorded from the audio server.
set -euo pipefail
here=$(dirname "$0")
source "$here/app.sh"
tone_segments=$2

start_app "$1"
activate_window "$app_window"

record_keys Left Right

mapfile -t tones < <("$tone_segments" "$recording")
printf 'heard: %s\n' "${tones[@]}"
check "two tones heard" test "${#tones[@]}" -eq 2
check "a dot of 33 ms" near "$(cut -d' ' -f2 <<<"${tones[0]:-0 0}")" 33.3 3
check "a dash of 100 ms" near "$(cut -d' ' -f2 <<<"${tones[1]:-0 0}")" 100 3
finish
