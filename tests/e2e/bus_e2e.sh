#!/bin/sh
# bus_e2e.sh PROGRAM TOOL README
# The program on the session bus, on a private X server with a notification area and a private
# bus: the README's commands for Next and Prev (gdbus, dbus-send and the sway/i3 bindsym lines,
# run exactly as written) lay the pictures on the root and move CurrentIndex with
# PropertiesChanged; ShowWindow shows the window and cancels the automatic exit; a call while
# the "Clear All" question waits is refused as Busy and changes nothing; the list file and
# "Index" it leaves are those the same clicks on the window's buttons leave. A second copy
# (another runtime folder, so past the single-instance guard) finds the name taken and runs on
# without it, silently. Without any session bus the program runs and shows its icon.
. "$(dirname "$0")/lib.sh"
private_home "$1"
tool=$2
readme=$3

"$tool" bmp "$work/red.bmp" 64 48 c81e1e
"$tool" bmp "$work/green.bmp" 64 48 1ec81e
"$tool" bmp "$work/blue.bmp" 64 48 1e64c8
list() { printf '%s\r\n0\r\n%s\r\n0\r\n%s\r\n0\r\n' "$work/red.bmp" "$work/green.bmp" "$work/blue.bmp" >"$listfile"; }
# A corner no window of the program covers.
pixel() { "$tool" pixel 50 700; }
start() {
    "$murelin" 2>"$work/err" &
    pid=$!
    wait_for '[ -n "$(icon_window)" ]' 10 || fail "the icon did not appear: $(cat "$work/err")"
}
silent() { [ ! -s "$work/err" ] || fail "the program said: $(cat "$work/err")"; }

# -- no session bus at all: the program runs as ever, says nothing
list
settings '"Index"="0"'
start
sleep 1
kill -0 $pid 2>/dev/null || fail "the program ended without a session bus"
stop_program
silent

# The README's commands, taken as they stand: an indented line starting with the command.
# command_of COMMAND END: the first such line ending in END (a pattern).
command_of() {
    line=$(grep -m1 "^ *$1 .*$2\$" "$readme") || fail "README has no '$1 ... $2'"
    echo "$line" | sed 's/^ *//'
}
next_gdbus=$(command_of gdbus ' org\.tovrane\.Murelin1\.Next')
prev_gdbus=$(command_of gdbus ' org\.tovrane\.Murelin1\.Prev')
next_send=$(command_of dbus-send ' org\.tovrane\.Murelin1\.Next')
get_index=$(command_of gdbus ' org\.freedesktop\.DBus\.Properties\.Get org\.tovrane\.Murelin1 CurrentIndex')
# A bindsym line runs what follows "exec" with sh -c.
next_bindsym=$(command_of bindsym ' org\.tovrane\.Murelin1\.Next' | sed 's/^bindsym [^ ]* exec //')
prev_bindsym=$(command_of bindsym ' org\.tovrane\.Murelin1\.Prev' | sed 's/^bindsym [^ ]* exec //')

session_bus

call() {
    gdbus call --session --dest org.tovrane.Murelin --object-path /org/tovrane/Murelin \
        --method "$@"
}
# property NAME: its value as gdbus prints it (a byte array decoded to its text).
property() {
    reply=$(call org.freedesktop.DBus.Properties.Get org.tovrane.Murelin1 "$1") || return 1
    case $reply in
    "(<[byte"*)
        for byte in $(echo "$reply" | grep -o '0x[0-9a-f]*'); do
            printf "\\$(printf %03o "$byte")"
        done ;;
    "(<@ay []>,)") ;;
    *) echo "$reply" | sed 's/^(<\(.*\)>,)$/\1/' ;;
    esac
}
owner() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.tovrane.Murelin | grep -q true
}
# check NAME INDEX COLOUR: CurrentIndex, CurrentPicture and the root after a call
check() {
    colour=$3
    wait_for '[ "$(pixel)" = "$colour" ]' 10 || fail "$1: the root shows $(pixel), not $3"
    [ "$(property CurrentIndex)" = "$2" ] || fail "$1: CurrentIndex $(property CurrentIndex)"
    [ "$(property CurrentPicture)" = "$work/$4.bmp" ] || fail "$1: CurrentPicture $(property CurrentPicture)"
}

# -- on the bus: every call as the README gives it
list
settings '"Index"="0"' '"AutoQuit"="true"'
started=$(date +%s)
start
wait_for owner 10 || fail "the name was not taken: $(cat "$work/err")"
gdbus monitor --session --dest org.tovrane.Murelin >"$work/signals" &
monitor=$!
wait_for 'grep -q "is owned by" "$work/signals"' 10 || fail "the monitor did not start"
introspection=$(gdbus introspect --session --dest org.tovrane.Murelin --object-path /org/tovrane/Murelin)
for member in 'Next();' 'Prev();' 'LoadCurrent();' 'ShowWindow();' 'readonly i Count = 3;' \
    'readonly i CurrentIndex = 0;' 'readonly ay CurrentPicture'; do
    echo "$introspection" | grep -qF "$member" || fail "introspection lacks '$member': $introspection"
done
[ "$(property CurrentPicture)" = "$work/red.bmp" ] || fail "CurrentPicture at start: $(property CurrentPicture)"

# Each call lays a colour other than the one before, also across the program's two runs.
sh -c "$prev_gdbus" >/dev/null || fail "the README's Prev was refused"
check "gdbus Prev" 2 1e64c8 blue
wait_for 'grep -q "PropertiesChanged (.org.tovrane.Murelin1., {.CurrentIndex.: <2>, .CurrentPicture.: <\[byte 0x2f" "$work/signals"' 5 ||
    fail "no PropertiesChanged for the move: $(cat "$work/signals")"
grep -q "Count" "$work/signals" && fail "Count was said to change: $(cat "$work/signals")"
[ -z "$(main_window)" ] || fail "Prev showed the window"
# Shown before the automatic exit's ten seconds are up, which it cancels.
call org.tovrane.Murelin1.ShowWindow >/dev/null || fail "ShowWindow was refused"
wait_for '[ -n "$(main_window)" ]' 10 || fail "ShowWindow did not show the window"
sh -c "$next_gdbus" >/dev/null || fail "the README's Next was refused"
check "gdbus Next" 0 c81e1e red
sh -c "$next_send" || fail "the README's dbus-send Next failed"
check "dbus-send Next" 1 1ec81e green
sh -c "$prev_bindsym" >/dev/null || fail "the README's bindsym Prev was refused"
check "bindsym Prev" 0 c81e1e red
sh -c "$next_bindsym" >/dev/null || fail "the README's bindsym Next was refused"
check "bindsym Next" 1 1ec81e green
[ "$(sh -c "$get_index")" = "(<1>,)" ] || fail "the README's CurrentIndex gives $(sh -c "$get_index")"

# "Clear All" asks; while it waits every call is refused and nothing moves.
xdotool mousemove --window "$(main_window)" 36 270 click 1
wait_for '[ -n "$(xdotool search --onlyvisible --name "^Confirm$")" ]' 10 || fail "no Clear All box"
for method in Next Prev LoadCurrent ShowWindow; do
    status=0
    call "org.tovrane.Murelin1.$method" >"$work/busy" 2>&1 || status=$?
    [ $status -ne 0 ] && grep -q 'org\.tovrane\.Murelin1\.Error\.Busy' "$work/busy" ||
        fail "$method while the box waits: $(cat "$work/busy")"
done
sleep 0.5
[ "$(pixel)" = 1ec81e ] || fail "the root changed while the box waited: $(pixel)"
[ "$(property CurrentIndex)" = 1 ] || fail "CurrentIndex $(property CurrentIndex) while the box waited"
# Answered with Escape: the list stays.
box=$(xdotool search --onlyvisible --name "^Confirm$" | head -n1)
xdotool windowfocus --sync "$box" key Escape
wait_for '[ -z "$(xdotool search --onlyvisible --name "^Confirm$")" ]' 10 || fail "the box stayed"
[ "$(property Count)" = 3 ] || fail "Count $(property Count) after the box"

# The window was shown: the automatic exit's ten seconds pass without an end.
while [ $(($(date +%s) - started)) -lt 12 ]; do sleep 0.5; done
kill -0 $pid 2>/dev/null || fail "the program ended although ShowWindow showed the window"

# -- a second copy finds the name taken: it runs on without it and says nothing
mkdir -p "$work/second/bin" "$work/second/run"
chmod 700 "$work/second/run"
cp "$murelin" "$work/second/bin/murelin"
XDG_RUNTIME_DIR="$work/second/run" XDG_CONFIG_HOME="$work/second/config" \
    "$work/second/bin/murelin" 2>"$work/second/err" &
second=$!
wait_for '[ $(xdotool search --onlyvisible --classname murelin 2>/dev/null | wc -l) -ge 2 ]' 10 ||
    fail "the second copy's icon did not appear: $(cat "$work/second/err")"
sleep 1
kill -0 $second 2>/dev/null || fail "the second copy ended: $(cat "$work/second/err")"

stop_program
silent
by_bus_list=$(od -c "$listfile")
by_bus_index=$(value Index)
[ "$by_bus_index" = 1 ] || fail "Index $by_bus_index after the calls"
# The first copy gone, the name is free: the second one never queued for it.
sleep 0.5
owner && fail "the second copy took the name"
kill -TERM $second
status=0
wait $second || status=$?
[ $status -eq 0 ] || fail "the second copy's exit code $status"
[ ! -s "$work/second/err" ] || fail "the second copy said: $(cat "$work/second/err")"
kill $monitor 2>/dev/null || true

# -- the same by hand: the icon's right click, Prev, Next, Next, Prev, Next, Clear All answered
# with Escape
list
settings '"Index"="0"' '"AutoQuit"="true"'
start
xdotool mousemove --window "$(icon_window)" 8 8 click 3
wait_for '[ -n "$(main_window)" ]' 10 || fail "the right click did not show the window"
window=$(main_window)
# Next > stands at 76,296 in the window, < Prev at 30,296.
for step in 30:1e64c8 76:c81e1e 76:1ec81e 30:c81e1e 76:1ec81e; do
    colour=${step#*:}
    xdotool mousemove --window "$window" ${step%:*} 296 click 1
    wait_for '[ "$(pixel)" = "$colour" ]' 10 || fail "the click at ${step%:*},296 laid $(pixel), not $colour"
    sleep 0.3
done
xdotool mousemove --window "$window" 36 270 click 1
wait_for '[ -n "$(xdotool search --onlyvisible --name "^Confirm$")" ]' 10 || fail "no Clear All box"
box=$(xdotool search --onlyvisible --name "^Confirm$" | head -n1)
xdotool windowfocus --sync "$box" key Escape
wait_for '[ -z "$(xdotool search --onlyvisible --name "^Confirm$")" ]' 10 || fail "the box stayed"
stop_program
[ "$(od -c "$listfile")" = "$by_bus_list" ] || fail "the list file differs from the clicks' one"
[ "$(value Index)" = "$by_bus_index" ] || fail "Index $(value Index) by hand, $by_bus_index by calls"

# -- and no program: the call says so and starts nothing
status=0
sh -c "$next_gdbus" >"$work/none" 2>&1 || status=$?
[ $status -ne 0 ] && grep -q ServiceUnknown "$work/none" || fail "a call without the program: $(cat "$work/none")"
echo "bus_e2e: ok"
