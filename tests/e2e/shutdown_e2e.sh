#!/bin/sh
# A termination signal saves the list and the settings, as closing the window does.
. "$(dirname "$0")/lib.sh"
private_home "$1"

mkdir -p "$(dirname "$registry")"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"Index"="1"\n"Timer"="90"\n"X1"="12"\n"Y1"="34"\n"FLeft"="50"\n"FTop"="60"\n"RandomPick"="true"\n\n[HKEY_CURRENT_USER\\Other\\Key]\n"Kept"="yes"\n\n' >"$registry"
printf '/pics/one.bmp\r\n00|0\r\n/pics/caf\351.bmp\r\n212|34\r\n/pics/three.bmp\r\n3100|50\r\n' >"$listfile"
cp "$listfile" "$work/list.before"

"$murelin" 2>"$work/err" &
pid=$!
sleep 2
kill -0 $pid 2>/dev/null || fail "the program did not start"
stop_program
cmp -s "$listfile" "$work/list.before" || fail "list file changed: $(od -c "$listfile" | head)"

[ "$(value Index)" = 1 ] || fail "Index $(value Index)"
[ "$(value Timer)" = 90 ] || fail "Timer $(value Timer)"
[ "$(value X1)" = 12 ] || fail "X1 $(value X1)"
[ "$(value Y1)" = 34 ] || fail "Y1 $(value Y1)"
[ "$(value Option)" = 2 ] || fail "Option $(value Option)"
[ "$(value FLeft)" = 50 ] || fail "FLeft $(value FLeft)"
[ "$(value FTop)" = 60 ] || fail "FTop $(value FTop)"
[ "$(value RandomPick)" = true ] || fail "RandomPick $(value RandomPick)"
[ "$(value AutoQuit)" = false ] || fail "AutoQuit $(value AutoQuit)"
[ "$(value Kept)" = yes ] || fail "another program's key was lost"
[ "$(grep -c '=' "$registry")" -eq 14 ] || fail "expected 13 values and the foreign one: $(cat "$registry")"
echo "shutdown_e2e: ok"
