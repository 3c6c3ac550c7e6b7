#!/bin/sh
# Ends that come at awkward moments: a termination signal while a start-up error box waits
# writes nothing over the user's files; a list file that is a FIFO holds nothing up, and the
# program still ends on a signal.
. "$(dirname "$0")/lib.sh"
private_home "$1"

mkdir -p "$(dirname "$registry")"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"X1"="abc"\n"Index"="1"\n"Timer"="90"\n\n' >"$registry"
printf '/pics/one.bmp\r\n00|0\r\n/pics/two.bmp\r\n212|34\r\n' >"$listfile"
cp "$registry" "$work/registry.before"
cp "$listfile" "$work/list.before"

box() { xdotool search --onlyvisible --name '^Murelin$' 2>/dev/null | head -n1; }
"$murelin" 2>"$work/err" &
pid=$!
wait_for '[ -n "$(box)" ]' 10 || fail "no box for the stored 'abc': $(cat "$work/err")"
kill -TERM $pid
status=0
timeout 10 sh -c "while kill -0 $pid 2>/dev/null; do sleep 0.1; done" || fail "still running 10 s after SIGTERM"
wait $pid || status=$?
[ $status -eq 0 ] || fail "exit code $status after SIGTERM"
cmp -s "$registry" "$work/registry.before" || fail "the settings were written: $(cat "$registry")"
cmp -s "$listfile" "$work/list.before" || fail "the list was written: $(od -c "$listfile" | head)"

# The list file a FIFO that nobody writes. The program takes no command line: the toolkit's own
# options are not honoured either (here one that would take it off this X server).
rm -f "$listfile" "$registry"
mkfifo "$listfile"
icon() { xdotool search --onlyvisible --classname murelin 2>/dev/null | head -n1; }
"$murelin" -platform offscreen 2>"$work/err" &
pid=$!
wait_for '[ -n "$(icon)" ]' 10 || fail "the icon did not appear with a FIFO as the list: $(cat "$work/err")"
kill -TERM $pid
timeout 10 sh -c "while kill -0 $pid 2>/dev/null; do sleep 0.1; done" || fail "a FIFO list held the end up"
status=0
wait $pid || status=$?
[ $status -eq 0 ] || fail "exit code $status after SIGTERM"
[ -p "$listfile" ] || fail "the FIFO was replaced"
echo "end_e2e: ok"
