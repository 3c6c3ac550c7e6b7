#!/bin/sh
# The Windows program under wine: its size, and its resident memory idle in the notification
# area beside that of wine's own notepad.exe started the same way in the same prefix, so that
# what wine itself costs shows. Run on a private X server with a tray:
#   scripts/with-xvfb --tray bench/win32_memory.sh build-win32/murelin-win32/murelin.exe
# Prints figures only.
set -eu
exe=$1
rounds=${ROUNDS:-3}
work=$(mktemp -d "${TMPDIR:-/tmp}/murelin-bench.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
timeout 300 wineboot --init >/dev/null 2>&1 || true
mkdir -p "$work/bin"
cp "$exe" "$work/bin/murelin.exe"

# resident NAME.exe COMMAND...: kB resident 5 s after the start, then the program is ended.
resident() {
    name=$1
    shift
    "$@" >/dev/null 2>&1 &
    sleep 5
    pid=$(pgrep -n -x "$name" || true)
    kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
    timeout 60 wineboot --end-session >/dev/null 2>&1 || true
    wait 2>/dev/null || true
    echo "$kb"
}
echo "murelin.exe: $(wc -c <"$exe") bytes"
for round in $(seq "$rounds"); do
    ours=$(resident murelin.exe wine "$work/bin/murelin.exe")
    theirs=$(resident notepad.exe wine notepad)
    echo "round $round: murelin.exe idle in the tray $ours kB resident, notepad.exe $theirs kB"
done
