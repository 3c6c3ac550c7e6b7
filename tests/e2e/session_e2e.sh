#!/bin/sh
# The session manager's save requests and log-out: a checkpoint writes the settings and the list
# and the program goes on; the log-out writes them again and the program ends with code 0, also
# when it comes while a start-up box or a box asked from the window waits.
. "$(dirname "$0")/lib.sh"
private_home "$1"
session_manager=$2

settings '"Index"="1"' '"Timer"="90"' '"X1"="12"' '"Y1"="34"' '"FLeft"="50"' '"FTop"="60"' \
    '"RandomPick"="true"'
printf '/pics/one.bmp\r\n00|0\r\n/pics/caf\351.bmp\r\n212|34\r\n/pics/three.bmp\r\n3100|50\r\n' >"$listfile"
cp "$listfile" "$work/list.before"

# The same values as a signal's end writes, the two missing ones added.
check_files() {
    cmp -s "$listfile" "$work/list.before" || fail "$1: list file: $(od -c "$listfile" | head)"
    for pair in Index=1 Timer=90 X1=12 Y1=34 Option=2 FLeft=50 FTop=60 RandomPick=true \
        AutoQuit=false; do
        [ "$(value "${pair%%=*}")" = "${pair#*=}" ] || fail "$1: ${pair%%=*} $(value "${pair%%=*}")"
    done
    [ "$(grep -c '=' "$registry")" -eq 13 ] || fail "$1: expected 13 values: $(cat "$registry")"
}
said() { grep -qx "$1" "$work/sm.out"; }

# start: a new session manager and the program in its session, registered.
start() {
    rm -f "$work/sm.in" "$work/sm.out"
    mkfifo "$work/sm.in"
    "$session_manager" <"$work/sm.in" >"$work/sm.out" &
    exec 3>"$work/sm.in"
    wait_for 'grep -q "^SESSION_MANAGER=" "$work/sm.out"' 10 || fail "no session manager"
    SESSION_MANAGER=$(sed -n 's/^SESSION_MANAGER=//p' "$work/sm.out") "$murelin" 2>"$work/err" &
    pid=$!
    wait_for 'said registered' 10 || fail "the program did not register: $(cat "$work/err")"
}

# log_out WHAT: the log-out, answered; the program must end with code 0.
log_out() {
    echo logout >&3
    wait_for 'said "done 1"' 10 || fail "$1: no answer to the log-out: $(cat "$work/sm.out")"
    timeout 10 sh -c "while kill -0 $pid 2>/dev/null; do sleep 0.1; done" ||
        fail "$1: still running 10 s after the log-out"
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || fail "$1: exit code $status after the log-out"
}

start
wait_for '[ -n "$(icon_window)" ]' 10 || fail "no icon: $(cat "$work/err")"
[ -z "$(value Option)" ] || fail "the settings were written before any request"

# (a) A checkpoint: both files written (the list replaced by a new file), the program goes on.
touch -d @1 "$listfile" # written anew: a new time (an inode number can come back)
echo checkpoint >&3
wait_for 'said "done 1"' 10 || fail "no answer to the checkpoint: $(cat "$work/sm.out")"
check_files checkpoint
[ "$(stat -c %Y "$listfile")" -gt 1 ] || fail "the list was not written"
sleep 0.5
kill -0 $pid 2>/dev/null || fail "the program ended after a checkpoint"

# (b) The log-out, with both files gone: the program writes them again and ends.
rm "$listfile" "$registry"
log_out logout
check_files logout

# (d) The log-out while "Clear All" asks from the shown window: the box closed without an answer
# answers Cancel, so the list keeps every entry; both files are written and the program ends.
settings '"Index"="1"' '"Timer"="90"' '"X1"="12"' '"Y1"="34"' '"FLeft"="50"' '"FTop"="60"' \
    '"RandomPick"="true"'
touch -d @1 "$listfile"
start
wait_for '[ -n "$(icon_window)" ]' 10 || fail "no icon: $(cat "$work/err")"
xdotool mousemove --window "$(icon_window)" 8 8 click 3
wait_for '[ -n "$(main_window)" ]' 10 || fail "the window was not shown by a right click"
xdotool mousemove --window "$(main_window)" 36 270 click 1
wait_for '[ -n "$(xdotool search --onlyvisible --name "^Confirm$")" ]' 10 || fail "no Clear All box"
log_out "Clear All asking"
check_files "Clear All asking"
[ "$(stat -c %Y "$listfile")" -gt 1 ] || fail "Clear All asking: the list was not written"

# (c) The log-out while a start-up box waits (a stored value it cannot read): the program ends
# and, having read nothing in full, writes nothing, as on a termination signal.
settings '"X1"="abc"' '"Timer"="90"'
cp "$registry" "$work/registry.before"
start
wait_for '[ -n "$(xdotool search --onlyvisible --name "^Murelin$")" ]' 10 || fail "no box for 'abc'"
log_out "a box open"
cmp -s "$registry" "$work/registry.before" || fail "the settings were written: $(cat "$registry")"
cmp -s "$listfile" "$work/list.before" || fail "the list was written: $(od -c "$listfile" | head)"
echo "session_e2e: ok"
