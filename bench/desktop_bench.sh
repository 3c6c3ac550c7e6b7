#!/bin/sh
# What users of the common desktops get from the program on an X server with a tray, side by
# side in one run (the program's private home lies under /tmp, on the disk):
#  - resident, anonymous and proportional memory idle in the tray, and with the window shown,
#    with the desktop names GNOME, XFCE, KDE and none (the toolkit picks its platform theme
#    from them);
#  - Next on a 3000 x 2000 bitmap stretched (a left click on the icon until the root shows the
#    picture) against feh --bg-scale on the same kind of bitmap, alternately;
#  - the peak resident memory during a Next of a 6000 x 4000 bitmap and the resident size a
#    few seconds after it.
# Run on a 3840 x 2160 private X server with a tray:
#   MURELIN_XVFB_SCREEN=3840x2160x24 scripts/with-xvfb --tray bench/desktop_bench.sh \
#       build/murelin build/tests/rotation_e2e_tool build/bench/startup_probe [feh]
# Each figure is the median of ROUNDS runs (5 unless set). Targets: idle at most 30 MB
# resident and 4 MB anonymous under each desktop name, at most 36 MB with the window shown;
# Next at most 0.35x feh's time; 5 s after the large Next within 5 MB of idle.
set -eu
probe=$3
feh=${4:-feh}
rounds=${ROUNDS:-5}
e2e_dir=$(dirname "$0")/../tests/e2e
. "$(dirname "$0")/../tests/app/rotation/lib_rotation.sh"

kb() { sed -n "s/^$2:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$1/status"; }
pss() { sed -n 's/^Pss:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }
mb() { awk "BEGIN { printf \"%.1f\", $1 / 1024 }"; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }
verdict() { awk "BEGIN { print ($1 <= $2) ? \"met\" : \"MISSED\" }"; }
echo "desktop bench on a $(xdpyinfo 2>/dev/null | sed -n 's/ *dimensions: *\([0-9x]*\) .*/\1/p') X screen, $rounds rounds, medians; files on $(df -P "$work" | awk 'NR == 2 { print $1 }')"

# --- idle memory under each desktop name ---------------------------------------------------
"$tool" bmp "$work/small-a.bmp" 640 480 c81e1e
"$tool" bmp "$work/small-b.bmp" 640 480 1e64c8
printf '%s\r\n00|0\r\n%s\r\n00|0\r\n' "$work/small-a.bmp" "$work/small-b.bmp" >"$listfile"
desk_env() { # NAME: the environment a session of that desktop gives its programs
    case $1 in
    none) echo "-u XDG_CURRENT_DESKTOP" ;;
    KDE) echo "XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 KDE_FULL_SESSION=true" ;;
    *) echo "XDG_CURRENT_DESKTOP=$1" ;;
    esac
}
start_under() { # NAME
    settings '"Index"="1"' '"IconClick"="true"'
    # shellcheck disable=SC2046
    env $(desk_env "$1") "$murelin" 2>>"$work/err" &
    pid=$!
    wait_for '[ -n "$(icon_window)" ]' 10 || fail "no icon under $1: $(cat "$work/err")"
}
echo "idle in the tray and with the window shown (targets: <= 30 MB resident and <= 4 MB anonymous idle, <= 36 MB shown):"
for desk in none GNOME XFCE KDE; do
    rss="" anon="" prop="" shown=""
    for round in $(seq 1 "$rounds"); do
        start_under $desk
        sleep 3
        rss="$rss $(kb $pid VmRSS)"
        anon="$anon $(kb $pid RssAnon)"
        prop="$prop $(pss $pid)"
        theme=$(sed -n 's|.*/platformthemes/\(.*\)|\1|p' "/proc/$pid/maps" | sort -u | tr '\n' ' ')
        click_icon 3
        wait_for '[ -n "$(main_window)" ]' 10 || fail "the window did not show under $desk"
        sleep 2
        shown="$shown $(kb $pid VmRSS)"
        stop_program
    done
    idle=$(median $rss)
    idle_anon=$(median $anon)
    win=$(median $shown)
    printf '  %-5s idle %5s MB resident (%s), %4s MB anonymous (%s), %5s MB proportional; shown %5s MB (%s); theme plugin: %s\n' \
        $desk "$(mb $idle)" "$(verdict "$idle" 30720)" "$(mb $idle_anon)" "$(verdict "$idle_anon" 4096)" \
        "$(mb "$(median $prop)")" "$(mb $win)" "$(verdict "$win" 36864)" "${theme:-none}"
done

# --- Next against feh ------------------------------------------------------------------------
"$tool" bmp "$work/a.bmp" 3000 2000 c81e1e
"$tool" bmp "$work/b.bmp" 3000 2000 1e64c8
"$tool" bmp "$work/feh.bmp" 3000 2000 28b43c
printf '%s\r\n00|0\r\n%s\r\n00|0\r\n' "$work/a.bmp" "$work/b.bmp" >"$listfile"
start_under none
sleep 1
ours="" theirs=""
colour=c81e1e
for round in $(seq 0 "$rounds"); do # round 0 warms the page cache and both programs
    icon=$(icon_window)
    took=$("$probe" run $colour xdotool mousemove --window "$icon" 8 8 click 1)
    sleep 0.6 # past the double-click time
    took_feh=$("$probe" run 28b43c "$feh" --no-fehbg --bg-scale "$work/feh.bmp")
    sleep 0.6
    if [ "$round" -gt 0 ]; then
        ours="$ours $took"
        theirs="$theirs $took_feh"
        echo "  round $round: Next $took ms, feh $took_feh ms"
    fi
    if [ $colour = c81e1e ]; then colour=1e64c8; else colour=c81e1e; fi
done
stop_program
next=$(median $ours)
next_feh=$(median $theirs)
echo "Next, 3000 x 2000 bitmap stretched, click to root: median $next ms; feh --bg-scale $next_feh ms; ratio $(ratio "$next" "$next_feh") (target <= 0.35: $(verdict "$(ratio "$next" "$next_feh")" 0.35))"

# --- memory around a Next of a 6000 x 4000 bitmap -------------------------------------------
"$tool" bmp "$work/a.bmp" 6000 4000 c81e1e
"$tool" bmp "$work/b.bmp" 6000 4000 1e64c8
rm -f "$work/feh.bmp"
start_under none
sleep 3
idle=$(kb $pid VmRSS)
peaks="" afters=""
colour=c81e1e
for round in $(seq 1 "$rounds"); do
    echo 5 >"/proc/$pid/clear_refs" # the peak starts again from what is resident now
    icon=$(icon_window)
    "$probe" run $colour xdotool mousemove --window "$icon" 8 8 click 1 >/dev/null
    sleep 5
    peaks="$peaks $(kb $pid VmHWM)"
    afters="$afters $(kb $pid VmRSS)"
    if [ $colour = c81e1e ]; then colour=1e64c8; else colour=c81e1e; fi
done
stop_program
peak=$(median $peaks)
after=$(median $afters)
echo "Next of a 6000 x 4000 bitmap: idle before $(mb "$idle") MB, peak $(mb "$peak") MB, 5 s after $(mb "$after") MB, $(mb $((after - idle))) MB above idle (target <= 5 MB: $(verdict $((after - idle)) 5120))"
