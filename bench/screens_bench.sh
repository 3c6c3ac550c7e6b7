#!/bin/sh
# The picture laid again while the screens change, as users get it on an X server with a tray:
#  - from the moment the screen is split into two monitors (xrandr --setmonitor) until the new
#    monitor shows the Location picture from its own corner;
#  - from a Next (a left click on the icon) until the root shows the next picture.
# Run on a private X server with a tray:
#   scripts/with-xvfb --tray bench/screens_bench.sh build/murelin build/tests/rotation_e2e_tool
# Prints the median of ROUNDS rounds (5 unless set); the aim is about a second at most for the
# change of the screens. On sway and through swaybg the screen check
# tests/platform/wallpaper/screens/sway prints the time from "swaymsg create_output" until the
# new output was seen with the picture.
set -eu
rounds=${ROUNDS:-5}
e2e_dir=$(dirname "$0")/../tests/e2e
. "$(dirname "$0")/../tests/app/rotation/lib_rotation.sh"
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
until_pixel() { # X Y COLOUR: ms until the root shows COLOUR at X, Y (10 s at most)
    from=$(now_ms)
    i=0
    until [ "$(pixel "$1" "$2")" = "$3" ]; do
        i=$((i + 1)); [ $i -gt 2000 ] && fail "no $3 at $1,$2"
        sleep 0.005
    done
    echo $(($(now_ms) - from))
}

"$tool" bmp "$work/a.bmp" 200 100 c81e1e
"$tool" bmp "$work/b.bmp" 200 100 1e64c8
printf '%s\r\n3100|50\r\n%s\r\n3100|50\r\n' "$work/a.bmp" "$work/b.bmp" >"$listfile"
settings '"Index"="1"' '"IconClick"="true"' '"LoadStart"="true"'
start_program
colour=c81e1e
until_pixel 150 75 $colour >/dev/null
change="" next=""
for round in $(seq 1 "$rounds"); do
    xrandr --setmonitor L 600/150x768/190+0+0 screen >/dev/null
    xrandr --setmonitor R 424/100x500/120+600+100 none >/dev/null
    change="$change $(until_pixel 750 175 $colour)"
    xrandr --delmonitor L >/dev/null
    xrandr --delmonitor R >/dev/null
    until_pixel 750 175 000000 >/dev/null # one monitor again: nothing there
    [ $colour = c81e1e ] && colour=1e64c8 || colour=c81e1e
    click_icon 1
    next="$next $(until_pixel 150 75 $colour)"
done
stop_program
echo "X11 root, $rounds rounds, medians (all:$change |$next):"
echo "  screen split into two monitors until the new one shows the picture: $(median $change) ms"
echo "  Next until the root shows the next picture: $(median $next) ms"
