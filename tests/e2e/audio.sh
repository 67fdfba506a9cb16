# A private audio server whose default sink is a null sink named "null", for the tests
# that sound: PulseAudio, or PipeWire with its PulseAudio server and WirePlumber. Sourced;
# start_audio [pulseaudio|pipewire] exports PULSE_SERVER for every client started after
# it; stop_audio ends the server's processes by their ids.

audio_here=$(dirname "${BASH_SOURCE[0]}")
source "$audio_here/processes.sh"

audio_pids=()
audio_dir=
audio_kind=

start_audio() {
    audio_kind=${1:-pulseaudio}
    audio_dir=$(mktemp -d)
    chmod 700 "$audio_dir"
    # A client.conf there keeps clients from spawning servers of their own: pulse_server.sh
    # writes it, or start_pipewire.
    export PULSE_CLIENTCONFIG="$audio_dir/client.conf"
    launch_audio
}

# Ends the server's processes and starts them again in the same folder, as a user's
# session restarts its server: clients find it where it was.
restart_audio() {
    stop_processes "${audio_pids[@]}"
    audio_pids=()
    launch_audio
}

launch_audio() {
    case "$audio_kind" in
    pulseaudio) start_pulseaudio || return 1 ;;
    pipewire) start_pipewire || return 1 ;;
    *)
        echo "no audio server $audio_kind" >&2
        return 1
        ;;
    esac
    wait_until 20 default_sink_is_null || { echo "$audio_kind did not start" >&2; return 1; }
}

default_sink_is_null() {
    pactl info | grep -q '^Default Sink: null$'
}

start_pulseaudio() {
    bash "$audio_here/pulse_server.sh" "$audio_dir" >/dev/null 2>&1 &
    audio_pids+=($!)
    export PULSE_SERVER="unix:$audio_dir/native"
}

# PipeWire, WirePlumber and pipewire-pulse as a desktop session runs them, in a runtime
# folder and on a D-Bus session bus of their own; WirePlumber keeps its state there too.
start_pipewire() {
    printf 'autospawn = no\n' >"$audio_dir/client.conf"
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) \
        || { echo "D-Bus did not start" >&2; return 1; }
    audio_pids+=("$(sed -n 2p <<<"$bus")")
    local -a environment=(env -u DISPLAY -u WAYLAND_DISPLAY -u PULSE_SERVER
        XDG_RUNTIME_DIR="$audio_dir" XDG_STATE_HOME="$audio_dir/state"
        XDG_CONFIG_HOME="$audio_dir/config" DBUS_SESSION_BUS_ADDRESS="$(sed -n 1p <<<"$bus")")
    "${environment[@]}" pipewire >"$audio_dir/pipewire.log" 2>&1 &
    audio_pids+=($!)
    wait_until 10 test -S "$audio_dir/pipewire-0" || { echo "pipewire did not start" >&2; return 1; }
    "${environment[@]}" wireplumber >"$audio_dir/wireplumber.log" 2>&1 &
    audio_pids+=($!)
    "${environment[@]}" pipewire-pulse >"$audio_dir/pipewire-pulse.log" 2>&1 &
    audio_pids+=($!)
    # PipeWire's own clients, such as the sound benchmark's listener, find it there.
    export PULSE_SERVER="unix:$audio_dir/pulse/native" PIPEWIRE_RUNTIME_DIR="$audio_dir"
    wait_until 10 pactl info || { echo "pipewire-pulse did not start" >&2; return 1; }
    pactl load-module module-null-sink sink_name=null >/dev/null || return 1
    # WirePlumber may not yet hold the default: asked again until it does.
    if ! wait_until 10 make_null_the_default; then
        echo "WirePlumber did not take the null sink as the default; its log ends:" >&2
        tail -n 20 "$audio_dir/wireplumber.log" >&2
        pactl info >&2 || true
        return 1
    fi
}

make_null_the_default() {
    pactl set-default-sink null && default_sink_is_null
}

stop_audio() {
    stop_processes "${audio_pids[@]}"
    audio_pids=()
    [ -z "$audio_dir" ] || rm -rf "$audio_dir"
    audio_dir=
}
