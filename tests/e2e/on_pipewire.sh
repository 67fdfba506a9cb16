#!/usr/bin/env bash
# Runs an end-to-end test with PipeWire as the audio server in place of PulseAudio:
# PipeWire, WirePlumber and pipewire-pulse started privately, stopped when it ends.
#
#   on_pipewire.sh TEST_SCRIPT ARGUMENTS...
set -euo pipefail
here=$(dirname "$0")
source "$here/audio.sh"
trap stop_audio EXIT
start_audio pipewire
echo "audio server: $(pactl info | sed -n 's/^Server Name: //p')"
status=0
bash "$@" || status=$?
exit $status
