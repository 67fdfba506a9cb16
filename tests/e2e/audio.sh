# A private PulseAudio server whose default sink is a null sink, for the tests that
# sound. Sourced; start_audio exports PULSE_SERVER for every client started after it
# and names the sink's monitor in audio_monitor; stop_audio ends the server.

audio_pid=
audio_dir=
audio_monitor=null.monitor

start_audio() {
    audio_dir=$(mktemp -d)
    printf 'autospawn = no\n' >"$audio_dir/client.conf"
    export PULSE_CLIENTCONFIG="$audio_dir/client.conf"
    # norewinds: a sound that cuts another reaches the monitor whole from its start. Kept
    # off the session bus, where only one server may hold the name.
    env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY XDG_RUNTIME_DIR="$audio_dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --use-pid-file=no --log-target=file:"$audio_dir/log" \
        -L "module-native-protocol-unix socket=$audio_dir/native auth-anonymous=1" \
        -L "module-null-sink sink_name=null norewinds=1" >/dev/null 2>&1 &
    audio_pid=$!
    export PULSE_SERVER="unix:$audio_dir/native"
    local tries=0
    until pactl info >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "PulseAudio did not start" >&2; return 1; }
        sleep 0.1
    done
}

stop_audio() {
    if [ -n "$audio_pid" ]; then
        kill "$audio_pid" 2>/dev/null || true
        wait "$audio_pid" 2>/dev/null || true
        audio_pid=
    fi
    [ -z "$audio_dir" ] || rm -rf "$audio_dir"
    audio_dir=
}
