#!/bin/sh
# The program's resident memory idle in the tray and while laying a 3840 x 2160 bitmap on the
# X11 root (Next by a left click on its icon), and the time from the click until the root shows
# the picture. Run on a private X server with a tray:
#   scripts/with-xvfb --tray bench/rotation_bench.sh build/murelin build/tests/rotation_e2e_tool
# Prints figures only; the target is under 25 MB idle. The wallpaper call alone against
# feh --bg-scale is timed by bench-wallpaper.
set -eu
program=$1
tool=$2
rounds=${ROUNDS:-5}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/murelin" "$work/bin"
cp "$program" "$work/bin/murelin"

"$tool" bmp "$work/a.bmp" 3840 2160 c81e1e
"$tool" bmp "$work/b.bmp" 3840 2160 1e64c8
printf '%s\r\n00|0\r\n%s\r\n00|0\r\n' "$work/a.bmp" "$work/b.bmp" >"$work/bin/MurelinAll.txt"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"Index"="1"\n"IconClick"="true"\n\n' \
    >"$XDG_CONFIG_HOME/murelin/HKEY_CURRENT_USER.reg"

kb() { sed -n "s/^$2:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$1/status"; }
mb() { awk "BEGIN { printf \"%.1f\", $1 / 1024 }"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
icon_window() {
    for id in $(xdotool search --onlyvisible --classname murelin 2>/dev/null); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Murelin ] && { echo "$id"; return; }
    done
}

"$work/bin/murelin" 2>"$work/err" &
pid=$!
i=0
until [ -n "$(icon_window)" ]; do
    i=$((i + 1)); [ $i -gt 200 ] && { echo "rotation_bench: no icon: $(cat "$work/err")" >&2; exit 1; }
    sleep 0.05
done
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
    until [ "$("$tool" pixel 500 400)" = $colour ]; do
        [ $(($(now_ms) - start)) -gt 20000 ] && { echo "rotation_bench: the root did not change" >&2; exit 1; }
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
median=$(printf '%s\n' $times | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "median click to root: ${median} ms (includes xdotool and the X server's round trips)"
echo "resident memory of murelin: idle in the tray $(mb "$idle") MB (target < 25 MB), peak while applying $(mb "$peak") MB, idle after applying $(mb "$after") MB"
echo "  idle in the tray: $(mb "$idle_anon") MB of the program's own (anonymous) memory, $(mb "$idle_file") MB of mapped library and font pages, proportional set $(mb "${idle_pss:-0}") MB"
kill -TERM $pid
wait $pid || true
