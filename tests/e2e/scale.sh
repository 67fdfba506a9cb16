#!/usr/bin/env bash
# The window at 1.5x and 2x as Qt scales it for a high-density screen, on a desktop of its
# own with room for it: every edge at its scaled place, and the chart drawn for the scale,
# as sharp as text is, and not the 1x picture resampled.
set -euo pipefail
here=$(dirname "$0")
source "$here/desktop.sh"
source "$here/app.sh"
program=$1

shots=$scratch
trap 'end_app_test; stop_desktop' EXIT
# A screen with room for the window at 2x and its title bar.
desktop_screen=1920x1200
start_desktop openbox

# Writes a picture of the window's client area at a scale into $shots/SCALE.png, once the
# window shows its grey ground over the whole scaled area (within 10 s).
shoot_at() {
    local scale=$1 width=$2 height=$3 deadline ground
    QT_SCALE_FACTOR=$scale start_app "$program"
    deadline=$(($(date +%s%N) + 10000000000))
    while :; do
        import -window "$app_window" "$shots/window.png"
        ground=$(grey_ground "$shots/window.png")
        [ "$ground" != "${width}x${height}+1+1" ] || break
        [ "$(date +%s%N)" -lt "$deadline" ] || { echo "timeout: the ground showed as $ground"; break; }
        sleep 0.2
    done
    check "at ${scale}x the grey ground fills ${width} x ${height}" test "$ground" = "${width}x${height}+1+1"
    local geometry
    geometry=$(xwininfo -id "$app_window")
    check "at ${scale}x the window system's client area is ${width} x ${height}" \
        test "$(sed -n 's/^ *Width: //p' <<<"$geometry") x $(sed -n 's/^ *Height: //p' <<<"$geometry")" = "$width x $height"
    mv "$shots/window.png" "$shots/$scale.png"
    stop_app
    app_pid=
}

# The chart's place in the client area at 1x is 16,120, 312 x 388.
chart_at() {
    local scale=$1
    convert "$shots/$scale.png" -crop "$(awk -v s="$scale" 'BEGIN { printf "%dx%d+%d+%d", 312 * s, 388 * s, 16 * s, 120 * s }')" +repage "$shots/chart-$scale.png"
    echo "$shots/chart-$scale.png"
}

# Pixels neither near white nor near black: the soft edges of what is drawn.
soft_pixels() {
    convert "$1" -colorspace gray -fx '(u > 0.19 && u < 0.81) ? 1 : 0' -format '%[fx:round(mean * w * h)]' info:
}

shoot_at 1 342 518
one=$(chart_at 1)
one_soft=$(soft_pixels "$one")
for scale in 1.5 2; do
    shoot_at "$scale" "$(awk -v s="$scale" 'BEGIN { print 342 * s }')" "$(awk -v s="$scale" 'BEGIN { print 518 * s }')"
    chart=$(chart_at "$scale")
    # The frame's corner and the middle of the ground between the columns.
    check "at ${scale}x the chart's frame is black" test "$(pixel "$chart" 0 0)" = "0,0,0"
    check "at ${scale}x the chart is white within" test "$(pixel "$chart" "$(awk -v s="$scale" 'BEGIN { print int(150 * s) }')" "$(awk -v s="$scale" 'BEGIN { print int(250 * s) }')")" = "255,255,255"
    # The 1x chart smoothed to the scale, as a blurry chart would show.
    convert "$one" -filter triangle -resize "$(identify -format %wx%h! "$chart")" "$shots/smoothed.png"
    sharp=$(soft_pixels "$chart")
    blurry=$(soft_pixels "$shots/smoothed.png")
    echo "at ${scale}x: $sharp soft pixels in the chart, $one_soft at 1x, $blurry in the 1x chart smoothed"
    check "at ${scale}x the chart is not the 1x chart smoothed" test $((sharp * 3)) -lt $((blurry * 2))
done
# Any picture enlarged to twice its size has at least four soft pixels for each of its own;
# drawn for the scale, edges stay a device pixel soft over twice the length: about two.
check "at 2x the chart is not the 1x chart enlarged" test $((sharp * 4)) -lt $((one_soft * 4 * 3))
finish
