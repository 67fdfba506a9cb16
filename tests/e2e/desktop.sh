# Private desktops for the end-to-end tests, each with its own D-Bus session and the
# accessibility bus switched on, as a screen reader leaves it. Sourced.
#
#   start_desktop KIND   starts one and exports what a program started on it needs;
#                        KIND is one of desktop_kinds
#   stop_desktop         ends everything start_desktop started, by process id
#
# Once started, desktop_kind names it and these act on it as a user would:
#   desktop_keys CHORD...   presses keys ("alt+F4", "Tab", "space") in the focused window
#   desktop_shot FILE       writes a picture of the screen, or of the window on X11
#
# X11 kinds: Xvfb with a window manager. mutter-xwayland: mutter's headless Wayland
# session with its Xwayland, where the program takes the X server; keys go through
# mutter's own seat. wayland: mutter as a Wayland compositor nested in Xvfb, with the
# program a native Wayland client because the user asks for one (QT_QPA_PLATFORM):
# Xvfb shows what mutter draws and passes it xdotool's keys.
#
# Each kind exports the environment a login session of that desktop gives its programs
# (XDG_SESSION_TYPE, XDG_CURRENT_DESKTOP, DISPLAY and WAYLAND_DISPLAY, and a UTF-8 locale),
# and nothing that picks Qt's platform for them, except where the user would.

desktop_kinds=(openbox xfwm4 mutter-x11 mutter-xwayland wayland)
source "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

desktop_pids=()
desktop_kind=
desktop_dir=
# The size of an X server's screen; a test may ask for another before it starts one.
desktop_screen=1280x1024
# The X display that keys are pressed on and pictures taken of.
desktop_x=
# Set where the program is a native Wayland client, whose window no X tool can find.
app_native_wayland=

desktop_here=$(dirname "${BASH_SOURCE[0]}")

start_xvfb() {
    local fifo display
    fifo="$desktop_dir/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${desktop_screen}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    desktop_pids+=($!)
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; return 1; }
    desktop_x=":$display"
}

start_session_bus() {
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) \
        || { echo "D-Bus did not start" >&2; return 1; }
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
    desktop_pids+=("$(sed -n 2p <<<"$bus")")
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
        variant:boolean:true >/dev/null || { echo "no accessibility bus" >&2; return 1; }
}

x_window_manager_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

# Starts mutter as a Wayland compositor; a child of it leaves the environment that
# mutter gives its clients in a file, once it is up.
start_mutter_wayland() {
    local environment="$desktop_dir/mutter-environment"
    mutter --wayland --wayland-display=varnock-wayland --sm-disable "$@" \
        -- sh -c "echo \$\$ >'$desktop_dir/mutter-child' && env >'$environment.new' \
                  && mv '$environment.new' '$environment' && exec sleep infinity" \
        >"$desktop_dir/mutter.log" 2>&1 &
    desktop_pids+=($!)
    wait_until 30 test -s "$environment" || { echo "mutter did not start" >&2; return 1; }
    desktop_pids+=("$(cat "$desktop_dir/mutter-child")")
    export WAYLAND_DISPLAY=varnock-wayland
    mutter_environment=$environment
}

start_desktop() {
    desktop_kind=${1:-openbox}
    desktop_dir=$(mktemp -d)
    chmod 700 "$desktop_dir"
    # The desktop's own sounds, such as mutter's, stay off the audio server that the
    # tests listen to.
    local -x PULSE_SERVER="unix:$desktop_dir/no-sound-server"
    export XDG_RUNTIME_DIR="$desktop_dir"
    # Debian's installer gives every login a UTF-8 locale; a machine with none set, as a
    # new root is, gets the one every Debian has.
    if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
        unset LC_ALL
        export LANG=C.UTF-8
    fi
    unset DISPLAY WAYLAND_DISPLAY XAUTHORITY QT_QPA_PLATFORM XDG_CURRENT_DESKTOP GTK_THEME
    app_native_wayland=
    start_session_bus || return 1
    case "$desktop_kind" in
    openbox | xfwm4 | mutter-x11)
        start_xvfb || return 1
        export DISPLAY=$desktop_x XDG_SESSION_TYPE=x11
        case "$desktop_kind" in
        openbox) openbox >"$desktop_dir/wm.log" 2>&1 & ;;
        xfwm4)
            export XDG_CURRENT_DESKTOP=XFCE
            xfwm4 --replace >"$desktop_dir/wm.log" 2>&1 &
            ;;
        mutter-x11)
            export XDG_CURRENT_DESKTOP=GNOME
            mutter --x11 --replace --sm-disable >"$desktop_dir/wm.log" 2>&1 &
            ;;
        esac
        desktop_pids+=($!)
        wait_until 30 x_window_manager_ready || {
            echo "$desktop_kind did not start within 30 s; it said:" >&2
            tail -n 20 "$desktop_dir/wm.log" >&2
            return 1
        }
        ;;
    mutter-xwayland)
        start_mutter_wayland --headless --virtual-monitor 1280x1024 || return 1
        export DISPLAY XAUTHORITY XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
        DISPLAY=$(sed -n 's/^DISPLAY=//p' "$mutter_environment")
        XAUTHORITY=$(sed -n 's/^XAUTHORITY=//p' "$mutter_environment")
        desktop_x=$DISPLAY
        wait_until 30 x_window_manager_ready || { echo "Xwayland did not start" >&2; return 1; }
        ;;
    wayland)
        start_xvfb || return 1
        DISPLAY=$desktop_x MUTTER_DEBUG_DUMMY_MODE_SPECS=1280x1024 \
            start_mutter_wayland --nested --no-x11 || return 1
        # A user who asks for a native window on a session that has an X server too.
        export DISPLAY=$desktop_x XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME \
            QT_QPA_PLATFORM=wayland
        app_native_wayland=1
        # Xvfb has no window manager: its one window, mutter's, takes the keys.
        local output
        output=$(DISPLAY=$desktop_x xwininfo -root -children | awk '/"mutter"/ { print $1 }')
        DISPLAY=$desktop_x xdotool windowfocus "$output"
        ;;
    *)
        echo "no desktop $desktop_kind" >&2
        return 1
        ;;
    esac
}

desktop_keys() {
    case "$desktop_kind" in
    mutter-xwayland) /usr/bin/python3 "$desktop_here/mutter_keys.py" key "$@" ;;
    *) DISPLAY=$desktop_x xdotool key --delay 30 "$@" ;;
    esac
}

# The picture of the window on X11; on Wayland, where no window can be named from
# outside, of the whole screen.
desktop_shot() {
    case "$desktop_kind" in
    wayland) DISPLAY=$desktop_x import -window root "$1" ;;
    *) import -window "$app_window" "$1" ;;
    esac
}

stop_desktop() {
    stop_processes "${desktop_pids[@]}"
    desktop_pids=()
    [ -z "$desktop_dir" ] || rm -rf "$desktop_dir"
    desktop_dir=
}
