#!/bin/sh
# A desktop without a notification area (Xvfb without a tray, no session bus): the window is
# shown at start at its stored place so that the program can be reached, except in the log-in
# use ("Load on Start" with "Automatic Exit"), which lays its picture and leaves unseen.
. "$(dirname "$0")/lib.sh"
private_home "$1"
tool=$2

"$tool" bmp "$work/green.bmp" 64 48 1ec81e
printf '%s\r\n00|0\r\n' "$work/green.bmp" >"$listfile"

# -- an ordinary start: the window is mapped at once
settings '"FLeft"="120"' '"FTop"="80"'
"$murelin" 2>"$work/err" &
pid=$!
wait_for '[ -n "$(main_window)" ]' 10 || fail "the window was not shown: $(cat "$work/err")"
geometry=$(xdotool getwindowgeometry "$(main_window)" | sed -n 's/^ *Position: \([0-9]*,[0-9]*\).*/\1/p')
[ "$geometry" = 120,80 ] || fail "window at $geometry, not at 120,80"
[ -z "$(icon_window)" ] || fail "an icon appeared without a notification area"
stop_program
[ "$(value FLeft)" = 120 ] || fail "FLeft $(value FLeft)"

# -- the log-in use: never mapped, the picture laid, gone after ten seconds
settings '"Index"="0"' '"LoadStart"="true"' '"AutoQuit"="true"'
started=$(date +%s%N)
"$murelin" 2>"$work/err" &
pid=$!
wait_for '[ "$("$tool" pixel 500 400)" = 1ec81e ]' 10 || fail "the picture was not laid"
wait_for_end
[ -z "$mapped" ] || fail "the window was mapped in the log-in use"
[ $elapsed -ge 9500 ] || fail "ended after $elapsed ms"
echo "no_tray_e2e: ok"
