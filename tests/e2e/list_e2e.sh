#!/bin/sh
# Every list command that touches placements, through the real window with real input: the
# mouse on rows, buttons and option buttons, keys in the list and in the number fields, the
# file dialog, a drop from another program. Each row of the table starts the program on a list
# of its own, runs its steps and closes the window; the list file must then hold exactly the
# entries expected, each with its own settings string.
#   list_e2e.sh MURELIN DRAG_SOURCE E2E_TOOL   (on an X server without a notification area)
. "$(dirname "$0")/lib.sh"
private_home "$1"
drag_source=$2
tool=$3

pics="$work/pics"
mkdir -p "$pics"
for name in c B a d e f g h; do "$tool" bmp "$pics/$name.bmp" 4 3 336699; done

# entries WORD...: the list file's bytes for entries written name=settings (name.bmp in $pics).
entries() {
    for entry in "$@"; do printf '%s\r\n%s\r\n' "$pics/${entry%%=*}.bmp" "${entry#*=}"; done
}

# Where the controls stand in the window (its fixed layout); rows are measured on the screen.
left=400
top=200
list_x=120
button_y=270
at() { xdotool mousemove --window "$win" "$1" "$2"; }
click_at() { at "$1" "$2" && xdotool click 1; }
row_y() { echo $((list_top + row_height * $1 + row_height / 2)); }

# measure_rows: the list's first row is selected at start; its highlight gives the rows' top
# and height.
measure_rows() {
    list_top=""
    row_height=0
    y=9
    while [ $y -lt 60 ]; do
        colour=$("$tool" pixel $((left + 250)) $((top + y)))
        if [ "$colour" != ffffff ]; then
            [ -n "$list_top" ] || list_top=$y
            row_height=$((row_height + 1))
        elif [ -n "$list_top" ]; then
            break
        fi
        y=$((y + 1))
    done
    [ -n "$list_top" ] && [ $row_height -ge 8 ] || fail "no highlighted first row in the list"
}

# find_window NAME: $found is the id of the shown window called NAME, once there is one.
find_window() {
    title=$1
    wait_for 'found=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1);
        [ -n "$found" ]' 10 || fail "$case: no window \"$title\""
}

# answer WINDOW KEY...: keys for a box or dialog, with the pointer over it (there is no window
# manager to give it the focus otherwise).
answer() {
    box=$1
    shift
    xdotool mousemove --window "$box" 20 20
    sleep 0.2
    xdotool key "$@"
    wait_for '[ -z "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null)" ]' 10 ||
        fail "$case: the box or dialog stayed open"
}

drop() {
    "$drag_source" "$pics/$1.bmp" >"$work/drag.out" 2>"$work/drag.err" &
    wait_for 'xdotool search --onlyvisible --name "^drag source$" >/dev/null 2>&1' 10 ||
        fail "$case: the drag source did not appear"
    sleep 0.3
    xdotool mousemove 100 100 mousedown 1
    for x in 110 130 160 200 260 330 400 460 500 520; do
        xdotool mousemove "$x" $((100 + (x - 100) / 2))
        sleep 0.05
    done
    xdotool mousemove $((left + list_x)) $((top + 150))
    sleep 0.2
    xdotool mousemove $((left + list_x + 10)) $((top + 160))
    sleep 0.2
    xdotool mouseup 1
    wait_for 'grep -q "drag ended: copied" "$work/drag.out"' 10 || fail "$case: the drop failed"
    # The source goes by itself a little later; the names reached the program with the drop.
}

step() {
    case $1 in
    click) click_at $list_x "$(row_y "$2")" ;;
    ctrl-click) at $list_x "$(row_y "$2")" && xdotool keydown ctrl click 1 keyup ctrl ;;
    shift-click) at $list_x "$(row_y "$2")" && xdotool keydown shift click 1 keyup shift ;;
    delete) xdotool key Delete ;;
    clear-yes) click_at 36 $button_y && find_window Confirm && answer "$found" Return ;;
    clear-no) click_at 36 $button_y && find_window Confirm && answer "$found" alt+n ;;
    sort) click_at 80 $button_y ;;
    add)
        click_at 116 $button_y
        find_window 'Open|Select.*'
        xdotool mousemove --window "$found" 20 20
        sleep 0.3
        xdotool key ctrl+a type "$pics/$2.bmp"
        answer "$found" Return
        ;;
    remove) click_at 160 $button_y ;;
    up) click_at 199 $button_y ;;
    down) click_at 233 $button_y ;;
    prev) click_at 30 296 ;;
    next) click_at 76 296 ;;
    drop) drop "$2" ;;
    placement) click_at 340 $((85 + 14 * $2)) ;;
    x) click_at 360 157 && xdotool key ctrl+a type "$2" ;;
    y) click_at 360 181 && xdotool key ctrl+a type "$2" ;;
    x-keys) click_at 360 157 && xdotool key --delay 30 $2 ;;
    y-arrow) # the field's own up (u) or down (d) button, once per letter
        for b in $(echo "$2" | sed 's/./& /g'); do
            if [ "$b" = u ]; then click_at 406 176; else click_at 406 187; fi
            sleep 0.5 # two clicks, not a double click
        done
        ;;
    *) fail "unknown step $1" ;;
    esac
    sleep 0.15
}

# run_case NAME INDEX "ENTRIES" "STEPS" "EXPECTED": the program on ENTRIES with the current
# picture INDEX; STEPS are words with a ':' before an argument (click:1, add:e).
run_case() {
    case=$1
    settings "\"FLeft\"=\"$left\"" "\"FTop\"=\"$top\"" "\"Index\"=\"$2\""
    # shellcheck disable=SC2086 # the words are the entries
    entries $3 >"$listfile"
    "$murelin" 2>"$work/err" &
    pid=$!
    wait_for '[ -n "$(main_window)" ]' 10 || fail "$case: no window: $(cat "$work/err")"
    win=$(main_window)
    sleep 0.3
    [ -n "${list_top:-}" ] || measure_rows
    for s in $4; do
        case $s in
        *:*) step "${s%%:*}" "$(echo "${s#*:}" | tr , ' ')" ;;
        *) step "$s" ;;
        esac
    done
    sleep 0.2
    "$tool" close "$win"
    timeout 10 sh -c "while kill -0 $pid 2>/dev/null; do sleep 0.05; done" ||
        fail "$case: still running after the window was closed"
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || fail "$case: exit code $status"
    # shellcheck disable=SC2086
    entries $5 >"$work/expected"
    if ! cmp -s "$listfile" "$work/expected"; then
        echo "FAIL: $case: list file:" >&2
        tr -d '\r' <"$listfile" | sed "s|$pics/||" | paste -sd' ' >&2
        failed=$((failed + 1))
    else
        echo "ok: $case"
    fi
}

failed=0
three='c=10|0 B=20|0 a=3100|50'
four="$three d=00|0"
# Every row clicks a row of the list where the controls show another placement, for a click
# handed to the program half-made stores the clicked row's placement into the rows selected
# before it.
# name; current picture; entries (3 and 4 for the lists above); steps; entries after closing
while IFS=';' read -r name index start steps expected; do
    [ -n "$name" ] || continue
    case $start in 3) start=$three ;; 4) start=$four ;; esac
    case $expected in 3 | "3 "*) expected="$three${expected#3}" ;; esac
    run_case "$name" "$index" "$start" "$steps" "$expected"
done <<'EOF'
click B, Remove;0;3;click:1 remove;c=10|0 a=3100|50
click B, Delete;0;3;click:1 delete;c=10|0 a=3100|50
a current, click B, Remove;2;3;click:1 remove;c=10|0 a=3100|50
Sort, click B, Delete;0;3;sort click:1 delete;a=3100|50 c=10|0
click B, Ctrl-click d, Remove;0;4;click:1 ctrl-click:3 remove;c=10|0 a=3100|50
click B, Shift-click a, Delete;0;4;click:1 shift-click:2 delete;c=10|0 d=00|0
click B, Up;0;3;click:1 up;B=20|0 c=10|0 a=3100|50
click B, Down;0;3;click:1 down;c=10|0 a=3100|50 B=20|0
click B, Clear All, No;0;3;click:1 clear-no;3
Clear All, Yes, Add two, edit the second;0;3;clear-yes add:e add:f click:1 placement:2 click:0;e=10|0 f=20|0
click B, Add;0;3;click:1 add:g;3 g=20|0
click B, a drop;0;3;click:1 drop:h;3 h=20|0
click a, Tiled;0;3;click:2 placement:2 click:1;c=10|0 B=20|0 a=2100|50
click a, X and Y typed;0;3;click:2 x:250 y:7 click:1;c=10|0 B=20|0 a=3250|7
click a, X and Y by arrows;0;3;click:2 x-keys:Up,Up,Up y-arrow:dd click:1;c=10|0 B=20|0 a=3103|48
click a, Next, Prev;0;3;click:2 next prev;3
EOF
[ $failed -eq 0 ] || fail "$failed of the table's rows"
echo "list_e2e: ok"
