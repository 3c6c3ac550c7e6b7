#!/bin/sh
# The program starts invisible and stays; a second copy ends at once and touches nothing.
. "$(dirname "$0")/lib.sh"
private_home "$1"

"$murelin" 2>"$work/err1" &
first=$!
wait_for '[ -s "$registry" ]' 10 || fail "no registry file after start"
sleep 1
kill -0 $first 2>/dev/null || fail "the program did not keep running"
if xdotool search --onlyvisible --name "Murelin V1.0" >/dev/null 2>&1; then
    fail "the main window is mapped"
fi
expected=$(printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n\n')
[ "$(cat "$registry")" = "$expected" ] || fail "registry after start: $(cat "$registry")"

cp "$registry" "$work/before.reg"
start=$(date +%s%N)
"$murelin" && status=0 || status=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ $status -eq 0 ] || fail "second start exited $status"
[ $elapsed -lt 1000 ] || fail "second start took ${elapsed} ms"
cmp -s "$registry" "$work/before.reg" || fail "second start changed the registry"
[ ! -e "$listfile" ] || fail "second start wrote a list file"
kill -0 $first 2>/dev/null || fail "the first copy ended"
echo "startup_e2e: ok (second start ${elapsed} ms)"
