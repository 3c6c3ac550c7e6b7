#!/bin/sh
# A process killed at any moment of its saves leaves the list file and the registry file
# whole (the old bytes or the new), and the next save removes the temporary files the killed
# ones left behind, and nothing else. Usage: kill_loop_e2e.sh SAVE_LOOP
set -eu
tool=$1
dir=$(mktemp -d "${TMPDIR:-/tmp}/murelin-kill.XXXXXX")
trap 'rm -rf "$dir"' EXIT
trap 'rm -rf "$dir" "$dir.even"' EXIT
"$tool" "$dir" once
cp "$dir/MurelinAll.txt" "$dir.even"
size=$(wc -c <"$dir.even")
: >"$dir/MurelinAll.txt.bak" # the user's own file beside the list stays

left=0
cycle=0
while [ $cycle -lt 10 ]; do
    "$tool" "$dir" &
    pid=$!
    sleep 0.$((3 + cycle % 5))
    kill -9 $pid
    wait $pid 2>/dev/null || true
    n=$(find "$dir" -name '*.murelin-??????' | wc -l)
    [ "$n" -gt 0 ] && left=$((left + 1))
    # The list is one of its two versions (of the same size), never a part.
    lines=$(wc -l <"$dir/MurelinAll.txt")
    bytes=$(wc -c <"$dir/MurelinAll.txt")
    [ "$lines" -eq 80000 ] && [ "$bytes" -eq "$size" ] ||
        { echo "kill_loop_e2e: the list file has $lines lines, $bytes bytes" >&2; exit 1; }
    grep -q '^"Index"="[01]"' "$dir/HKEY_CURRENT_USER.reg" ||
        { echo "kill_loop_e2e: the registry file lost its value" >&2; exit 1; }
    cycle=$((cycle + 1))
done
echo "kill_loop_e2e: $left of $cycle kills left temporary files behind"
[ $left -gt 0 ] || { echo "kill_loop_e2e: no kill came during a save" >&2; exit 1; }

"$tool" "$dir" once
rest=$(find "$dir" -name '*.murelin-*' | wc -l)
[ "$rest" -eq 0 ] || { find "$dir" -name '*.murelin-*' >&2; echo "kill_loop_e2e: $rest left" >&2; exit 1; }
[ -f "$dir/MurelinAll.txt.bak" ] || { echo "kill_loop_e2e: the user's own file is gone" >&2; exit 1; }
cmp -s "$dir/MurelinAll.txt" "$dir.even" || { echo "kill_loop_e2e: the last save is not whole" >&2; exit 1; }
echo "kill_loop_e2e: no temporary file is left after the next save"
