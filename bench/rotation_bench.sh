#!/bin/sh
# The program's resident memory idle in the tray and while laying a 3840 x 2160 bitmap on the
# X11 root (Next by a left click on its icon), the time from the click until the root shows
# the picture, the start-up times (until the icon is in the tray; until a "Load on Start"
# picture is on the root) and what a desktop's platform theme adds to the idle memory. Run on a
# private X server with a tray:
#   scripts/with-xvfb --tray bench/rotation_bench.sh build/murelin build/tests/rotation_e2e_tool \
#       build/startup_probe
# Prints figures only; the targets are at most 25 MB resident and 3 MB anonymous idle, and
# at most 150 ms until the icon is in the tray. The wallpaper call alone against
# feh --bg-scale is timed by bench-wallpaper.
set -eu
probe=$3
rounds=${ROUNDS:-5}
# The end-to-end tests' private home, program copy and helpers (settings, icon_window,
# main_window, pixel, start_program, stop_program ...).
. "$(dirname "$0")/../tests/e2e/lib.sh"
private_home "$1"
tool=$2

"$tool" bmp "$work/a.bmp" 3840 2160 c81e1e
"$tool" bmp "$work/b.bmp" 3840 2160 1e64c8
printf '%s\r\n00|0\r\n%s\r\n00|0\r\n' "$work/a.bmp" "$work/b.bmp" >"$listfile"
settings '"Index"="1"' '"IconClick"="true"'

kb() { sed -n "s/^$2:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$1/status"; }
mb() { awk "BEGIN { printf \"%.1f\", $1 / 1024 }"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

start_program
sleep 3
idle=$(kb $pid VmRSS)
idle_anon=$(kb $pid RssAnon)
idle_file=$(kb $pid RssFile)
idle_pss=$(sed -n 's/^Pss:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0)
icon=$(icon_window)

echo "rotation: Next on a 3840 x 2160 bitmap stretched on a $(xdpyinfo 2>/dev/null | sed -n 's/ *dimensions: *\([0-9x]*\) .*/\1/p') root, $rounds rounds"
peak=0
after=0
times=""
colour=c81e1e
for round in $(seq 1 "$rounds"); do
    echo 5 >"/proc/$pid/clear_refs" # the peak starts again from what is resident now
    start=$(now_ms)
    xdotool mousemove --window "$icon" 8 8 click 1
    until [ "$(pixel 500 400)" = $colour ]; do
        [ $(($(now_ms) - start)) -gt 20000 ] && fail "the root did not change"
    done
    took=$(($(now_ms) - start))
    sleep 1.5 # past the double-click time, and settled
    hwm=$(kb $pid VmHWM)
    [ "$hwm" -gt "$peak" ] && peak=$hwm
    after=$(kb $pid VmRSS)
    times="$times $took"
    echo "  round $round: click to root ${took} ms, peak $(mb "$hwm") MB, after $(mb "$after") MB"
    if [ $colour = c81e1e ]; then colour=1e64c8; else colour=c81e1e; fi
done
median_of() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median click to root: $(median_of $times) ms (includes xdotool and the X server's round trips)"
echo "resident memory of murelin: idle in the tray $(mb "$idle") MB (target <= 25 MB), peak while applying $(mb "$peak") MB, idle after applying $(mb "$after") MB"
echo "  idle in the tray: $(mb "$idle_anon") MB of the program's own (anonymous) memory (target <= 3 MB), $(mb "$idle_file") MB of mapped library and font pages, proportional set $(mb "${idle_pss:-0}") MB"
stop_program

# Start-up: from process start until the icon is in the tray, and with "Load on Start" until
# its picture is on the root (the stored index alternates, so that each start lays the picture
# the root does not show yet).
icon_times=""
root_times=""
for round in $(seq 1 "$rounds"); do
    settings '"Index"="1"' '"IconClick"="true"'
    icon_times="$icon_times $("$probe" icon "$murelin")"
    if [ "$(pixel 500 400)" = c81e1e ]; then
        settings '"Index"="0"' '"LoadStart"="true"'
        want=1e64c8
    else
        settings '"Index"="1"' '"LoadStart"="true"'
        want=c81e1e
    fi
    root_times="$root_times $("$probe" root $want "$murelin")"
done
echo "start-up, $rounds starts each: process start to the icon in the tray median $(median_of $icon_times) ms (target <= 150 ms; runs:$icon_times)"
echo "  process start to the \"Load on Start\" picture on the root median $(median_of $root_times) ms (runs:$root_times)"

# The first show builds the window's controls: from a right click on the icon until the
# window is on the screen, and what the program keeps resident once it has been shown.
settings '"Index"="1"' '"IconClick"="true"'
start_program
sleep 1
start=$(now_ms)
click_icon 3
until [ -n "$(main_window)" ]; do
    [ $(($(now_ms) - start)) -gt 10000 ] && fail "the window did not show"
done
shown=$(($(now_ms) - start))
sleep 2
echo "first show: right click on the icon to the window on the screen ${shown} ms (includes xdotool's round trips); resident with the window shown $(mb "$(kb $pid VmRSS)") MB"
stop_program

# The same idle figures where a desktop's settings make the toolkit load its platform theme:
# GNOME's makes it load the GTK 3 theme plugin, KDE's its built-in KDE theme (which reads the
# desktop's kdeglobals; there is none here, so it runs on its defaults).
settings '"Index"="1"' '"IconClick"="true"'
idle_under() { # LABEL ENV...: idle figures of a program started with ENV
    label=$1
    shift
    env "$@" "$murelin" 2>>"$work/err" &
    tpid=$!
    wait_for '[ -n "$(icon_window)" ]' 10 || { kill $tpid; fail "no icon under $label"; }
    sleep 3
    theme=$(sed -n 's|.*/platformthemes/\(.*\)|\1|p' "/proc/$tpid/maps" | sort -u | tr '\n' ' ')
    pss=$(sed -n 's/^Pss:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$tpid/smaps_rollup" 2>/dev/null || echo 0)
    echo "  $label: resident $(mb "$(kb $tpid VmRSS)") MB, proportional $(mb "${pss:-0}") MB, anonymous $(mb "$(kb $tpid RssAnon)") MB; theme plugin: ${theme:-none}"
    kill -TERM $tpid
    wait $tpid || true
}
echo "idle in the tray under a desktop's settings (bare X server above):"
idle_under "GNOME (XDG_CURRENT_DESKTOP=GNOME)" XDG_CURRENT_DESKTOP=GNOME
idle_under "KDE (XDG_CURRENT_DESKTOP=KDE, KDE_SESSION_VERSION=5)" XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 KDE_FULL_SESSION=true
