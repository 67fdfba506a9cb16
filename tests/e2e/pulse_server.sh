#!/usr/bin/env bash
# Becomes a private PulseAudio server for the tests that sound: its socket "native", its
# log and a client.conf that keeps clients from spawning servers of their own, all in
# FOLDER; its default sink a null sink named "null". Started by audio.sh and by the
# player's test, which stop it by its process id.
#
#   pulse_server.sh FOLDER
set -euo pipefail
folder=$1
printf 'autospawn = no\n' >"$folder/client.conf"
# norewinds: a sound that cuts another reaches the monitor whole from its start. Kept off
# the session bus, where only one server may hold the name.
exec env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY XDG_RUNTIME_DIR="$folder" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=file:"$folder/log" \
    -L "module-native-protocol-unix socket=$folder/native auth-anonymous=1" \
    -L "module-null-sink sink_name=null norewinds=1"
