#!/bin/sh
# A real drag and drop between two programs: files dragged from a drag source of the tests'
# own onto the program's window join the list, which the program saves when it ends.
#   drop_e2e.sh MURELIN DRAG_SOURCE   (on an X server without a notification area)
. "$(dirname "$0")/lib.sh"
private_home "$1"
source_program=$2

pics="$work/pics"
long="$pics"
while [ ${#long} -lt 300 ]; do long="$long/folder-with-a-long-name-for-the-drop-test"; done
mkdir -p "$long"
for f in "$pics/A.bmp" "$pics/B.jpg" "$pics/C.BMP" "$long/Deep down.bmp"; do
    printf 'BM' >"$f"
done

"$murelin" 2>"$work/err" &
pid=$!
wait_for '[ -n "$(main_window)" ]' 10 ||
    fail "the main window did not appear (no notification area, so it should)"
target=$(main_window)
xdotool windowmove "$target" 400 200
sleep 0.5

"$source_program" "$pics/A.bmp" "$pics/B.jpg" "$pics/C.BMP" "$long/Deep down.bmp" \
    >"$work/drag.out" 2>"$work/drag.err" &
drag=$!
wait_for 'xdotool search --onlyvisible --name "^drag source$" >/dev/null 2>&1' 10 ||
    fail "the drag source did not appear"
sleep 0.5

# Press on the source, move across in steps (the drag starts after a few pixels and the
# target learns of it on the moves), release over the list.
xdotool mousemove 100 100 mousedown 1
for x in 110 130 160 200 260 330 400 460 500 520; do
    xdotool mousemove "$x" $((100 + (x - 100) / 2))
    sleep 0.1
done
xdotool mousemove 520 300
sleep 0.3
xdotool mousemove 530 310
sleep 0.3
xdotool mouseup 1
wait_for 'grep -q "drag ended" "$work/drag.out"' 10 || fail "the drag did not end"
grep -q "drag ended: copied" "$work/drag.out" || fail "the drop was refused: $(cat "$work/drag.out")"
sleep 1 # the program fetches the names from the source after the drop

stop_program

# Two lines per entry: the accepted names in the order dragged, each with a settings string.
paths=$(awk 'NR % 2 == 1' "$listfile" | tr -d '\r')
expected=$(printf '%s\n%s\n%s' "$pics/A.bmp" "$pics/C.BMP" "$long/Deep down.bmp")
[ "$paths" = "$expected" ] || fail "list after the drop: $(od -c "$listfile" | head -20)"
awk 'NR % 2 == 0' "$listfile" | tr -d '\r' | grep -qvE '^[0-3][0-9]+\|[0-9]+$' &&
    fail "a settings line is not a settings string: $(cat "$listfile")"
deep="$long/Deep down.bmp"
echo "drop_e2e: ok (a dropped path of ${#deep} characters kept whole)"
