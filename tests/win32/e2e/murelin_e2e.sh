#!/bin/sh
# The Windows program end to end, under wine, on an X server with a notification area (run it
# under scripts/with-xvfb --tray), in a fresh wine prefix:
#   murelin_e2e.sh MURELIN_EXE TESTS_EXE DRAG_SOURCE [SCREENSHOT_PNG]
# TESTS_EXE is the Windows tests' executable, whose child mode reads the system's wallpaper as
# another program sees it; DRAG_SOURCE is the tests' X drag source. Each check prints one line;
# the run closes with "N passed, N failed". A failure stops the run at once. The window's
# controls are driven by clicks at their places in the layout (client coordinates) and by keys.
set -eu
exe=$1
tests_exe=$2
drag_source=$3
screenshot=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/murelin-e2e.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
# The checks' helpers: ok, fail, the registry, the list file, the window and its controls.
. "$(dirname "$0")/lib.sh"

bin="$work/bin"
pics="$work/pics"
mkdir -p "$bin" "$pics"
cp "$exe" "$bin/murelin.exe"
cp "$(dirname "$exe")/Murelin.html" "$bin/"
listfile="$bin/MurelinAll.txt"
key='HKCU\Software\Tovrane\Murelin'
desk='HKCU\Control Panel\Desktop'

timeout 300 wineboot --init >/dev/null 2>&1 || true
timeout 120 wineserver -w || true
# Web pages open with wine's browser stand-in, which hands them to the desktop's browser
# (xdg-open). On Windows an installed browser registers the page type; in a prefix without
# wine's own HTML engine nothing has.
wine reg add 'HKCR\.html' /ve /t REG_SZ /d htmlfile /f >/dev/null 2>&1

# A picture whose left half is red and right half blue, so that tiling shows; and plain ones.
convert -size 32x48 xc:'#c81e1e' -size 32x48 xc:'#1e64c8' +append BMP3:"$pics/halves.bmp"
convert -size 64x48 xc:'#c81e1e' BMP3:"$pics/red.bmp"
convert -size 64x48 xc:'#1e64c8' BMP3:"$pics/blue.bmp"

# ---------------------------------------------------------------- start-up, second copy, log-off
start_program
wait_for '[ -n "$(icon_window)" ]' 60 || fail "no icon docked in the notification area: $(cat "$work/out")"
ok "start-up: the icon is docked in the X notification area"
[ -z "$(main_window)" ] || fail "the window is shown at start"
wine reg query "$key" >/dev/null 2>&1 || fail "the settings key was not created"
ok "start-up: the window stays hidden; the settings key is created"
sleep 2
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$(pgrep -n -x murelin.exe)/status" 2>/dev/null || echo "?")

before=$(wine reg query "$key" /s 2>/dev/null | tr -d '\r')
started=$(date +%s)
second=0
timeout 30 wine "$bin/murelin.exe" >/dev/null 2>&1 || second=$?
[ "$second" = 0 ] || fail "a second copy ended with $second"
[ $(($(date +%s) - started)) -le 10 ] || fail "a second copy took $(($(date +%s) - started)) s to end"
[ "$(wine reg query "$key" /s 2>/dev/null | tr -d '\r')" = "$before" ] || fail "a second copy changed the settings"
[ ! -e "$listfile" ] || fail "a second copy wrote the list file"
[ "$(xwininfo -id "$(xdotool search --classname '^panel$' | head -n 1)" -tree | grep -c '"explorer.exe"')" = 1 ] ||
    fail "a second icon appeared"
ok "a second copy ends at once with exit code 0 and touches nothing"

# The taskbar made anew (Explorer restarted after a crash or an update) takes every icon with
# the old one: the icon, removed from outside as it goes then, comes back on "TaskbarCreated".
helper tray-delete >/dev/null || fail "the icon could not be removed from outside"
wait_for '[ -z "$(icon_window)" ]' 10 || fail "the icon stayed after its removal from outside"
helper taskbar-created >/dev/null || fail "\"TaskbarCreated\" could not be sent"
wait_for '[ -n "$(icon_window)" ]' 10 || fail "the icon did not come back after \"TaskbarCreated\""
ok "the taskbar made anew: the icon removed with it is docked again on \"TaskbarCreated\""
[ "$(helper tips)" = 3 ] || fail "the window's tooltip control holds '$(helper tips)' hints, not 3"
ok "the three hints are registered with the tooltip control"

end_program logoff
[ "$status" = 0 ] || fail "exit code $status after the log-off"
[ -f "$listfile" ] && [ ! -s "$listfile" ] || fail "the empty list was not saved as an empty file"
for pair in Index=-1 Timer=360 X1=0 Y1=0 Option=3 AutoQuit=false RandomPick=false \
    IconClick=false LoadStart=false TimedDisplay=false PreviewOn=false; do
    [ "$(value "$key" "${pair%%=*}")" = "${pair#*=}" ] ||
        fail "${pair%%=*} is '$(value "$key" "${pair%%=*}")' after the log-off, not ${pair#*=}"
done
left=$(value "$key" FLeft)
top=$(value "$key" FTop)
[ -n "$left" ] && [ -n "$top" ] || fail "no window position saved"
ok "log-off: exit code 0, the list beside the program and the 13 settings saved"

# ---------------------------------------------------------------- the icon's buttons, drop, close
entries "$pics/red.bmp" 00\|0 "$pics/blue.bmp" 3100\|50
settings Index=0 IconClick=true FLeft=210 FTop=150
# The help page opens in the browser wine hands pages to: a stand-in that notes what it got.
mkdir -p "$work/fake"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/help-args"\n' "$work" >"$work/fake/xdg-open"
chmod +x "$work/fake/xdg-open"
PATH="$work/fake:$PATH" start_program
wait_for '[ -n "$(icon_window)" ]' 30 || fail "no icon docked: $(cat "$work/out")"
click_icon 1
wait_for '[ "$(value "$desk" WallpaperOriginX)" = 100 ]' 10 || fail "a left click laid nothing: $(desktop_values)"
[ "$(desktop_values)" = 0,0,100,50 ] || fail "desktop values $(desktop_values) for a Location picture"
[ "$(wallpaper)" = "$(winpath "$pics/blue.bmp")" ] || fail "the system's wallpaper is $(wallpaper)"
[ -z "$(main_window)" ] || fail "a left click showed the window"
ok "left click with Icon Click Next: Next lays the Location picture (0, 0, 100, 50) and the wallpaper call"
sleep 1 # past the double-click time
click_icon 1
wait_for '[ "$(value "$desk" WallpaperStyle)" = 2 ]' 10 || fail "a second left click laid nothing"
[ "$(desktop_values)" = 0,2,0,0 ] || fail "desktop values $(desktop_values) for a Stretch picture"
[ "$(wallpaper)" = "$(winpath "$pics/red.bmp")" ] || fail "the system's wallpaper is $(wallpaper)"
ok "a second left click wraps to the Stretch picture (0, 2, 0, 0) and the wallpaper call"

click_icon 3
wait_for '[ -n "$(main_window)" ]' 10 || fail "a right click did not show the window"
window=$(main_window)
position=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
x=${position% *}
y=${position#* }
# Without a window manager wine maps the client area: the stored outer position plus the frame.
[ "$x" -ge 210 ] && [ "$x" -le 220 ] && [ "$y" -ge 150 ] && [ "$y" -le 190 ] ||
    fail "the window's client area is at $x,$y for a stored position of 210,150"
ok "right click: the window is shown at its stored position"

# Help: no viewer can open Murelin.hlp (there is none beside the program), so the page opens.
xdotool mousemove --window "$window" 369 315 click 1
wait_for '[ -s "$work/help-args" ]' 20 || fail "Help opened nothing"
[ "$(cat "$work/help-args")" = "file://$bin/Murelin.html" ] || fail "Help opened $(cat "$work/help-args")"
ok "Help without a help viewer opens the page beside the program: $(head -n 1 "$work/help-args")"

# Minimise through the system menu (Alt+Space, then "Minimize"): the window goes; the icon's
# right button brings it back at the same place.
xdotool windowfocus --sync "$window" 2>/dev/null || fail "the window cannot take the focus"
xdotool key alt+space
sleep 0.5
xdotool key n
wait_for '[ -z "$(main_window)" ]' 10 || fail "minimising did not hide the window"
click_icon 3
wait_for '[ -n "$(main_window)" ]' 10 || fail "a right click did not bring the minimised window back"
window=$(main_window)
[ "$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*,[0-9]*\).*/\1/p')" = "$x,$y" ] ||
    fail "the window came back elsewhere"
ok "minimising hides the window; the right button shows it again at its place"

long="$pics"
while [ ${#long} -lt 300 ]; do long="$long/folder-with-a-long-name-for-the-drop-test"; done
mkdir -p "$long"
for f in "$pics/A.bmp" "$pics/B.jpg" "$pics/C.BMP" "$long/Deep down.bmp"; do
    cp "$pics/red.bmp" "$f"
done
"$drag_source" "$pics/A.bmp" "$pics/B.jpg" "$pics/C.BMP" "$long/Deep down.bmp" \
    >"$work/drag.out" 2>"$work/drag.err" &
drag=$!
wait_for 'xdotool search --onlyvisible --name "^drag source$" >/dev/null 2>&1' 20 ||
    fail "the drag source did not appear"
sleep 0.5
# Press on the source, move in steps onto the list, release there.
xdotool mousemove 100 100 mousedown 1
for step in 110 130 160 200 240 280 300 320; do
    xdotool mousemove "$step" $((100 + (step - 100) / 2))
    sleep 0.1
done
xdotool mousemove 330 260
sleep 0.3
xdotool mousemove 340 270
sleep 0.3
xdotool mouseup 1
wait_for 'grep -q "drag ended" "$work/drag.out"' 10 || fail "the drag did not end"
grep -q "drag ended: copied" "$work/drag.out" || fail "the drop was refused: $(cat "$work/drag.out")"
wait "$drag" 2>/dev/null || true

# Add: the system's file dialog, several names chosen at once in a folder.
mkdir -p "$pics/more"
cp "$pics/red.bmp" "$pics/more/D.bmp"
cp "$pics/blue.bmp" "$pics/more/E 2.bmp"
xdotool mousemove --window "$window" 116 270 click 1
wait_for 'xdotool search --onlyvisible --name "^Open$" >/dev/null 2>&1' 10 || fail "Add showed no file dialog"
dialog=$(xdotool search --onlyvisible --name "^Open$" | head -n 1)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.5
xdotool type --delay 20 "$(winpath "$pics/more")"
xdotool key Return
sleep 1
xdotool type --delay 20 '"D.bmp" "E 2.bmp"'
xdotool key Return
wait_for '! xdotool search --onlyvisible --name "^Open$" >/dev/null 2>&1' 10 || fail "the file dialog stayed"
ok "Add: the system's file dialog takes two names at once"

end_program close
[ "$status" = 0 ] || fail "exit code $status after closing the window"
names=$(awk 'NR % 2 == 1' "$listfile" | tr -d '\r')
expected=$(printf '%s\n' "$(winpath "$pics/red.bmp")" "$(winpath "$pics/blue.bmp")" \
    "$(winpath "$pics/A.bmp")" "$(winpath "$pics/C.BMP")" "$(winpath "$long/Deep down.bmp")" \
    "$(winpath "$pics/more/D.bmp")" "$(winpath "$pics/more/E 2.bmp")")
[ "$names" = "$expected" ] || {
    printf '%s\n' "$names" >"$work/names"
    printf '%s\n' "$expected" >"$work/expected"
    diff "$work/expected" "$work/names" | sed "s/folder-with-a-long-name-for-the-drop-test/F/g" >&2 || true
    fail "the list after the drop and Add differs from the names given"
}
deep=$(winpath "$long/Deep down.bmp")
ok "a real drag from an X program and Add: the bitmaps join the list in order, a dropped name of ${#deep} characters whole"
[ "$(value "$key" Index)" = 0 ] && [ "$(value "$key" IconClick)" = true ] &&
    [ "$(value "$key" FLeft)" = 210 ] && [ "$(value "$key" FTop)" = 150 ] ||
    fail "settings after closing: Index $(value "$key" Index) IconClick $(value "$key" IconClick) at $(value "$key" FLeft),$(value "$key" FTop)"
ok "closing the window: exit code 0, the list and the settings saved"

# ---------------------------------------------------------------- every control, by real input
# Five pictures, each with a placement of its own; the list file after closing tells what each
# command did to every entry (a stale placement written into an entry shows there).
mkdir -p "$pics/run"
cp "$pics/red.bmp" "$pics/run/c.bmp"
cp "$pics/blue.bmp" "$pics/run/B.bmp"
cp "$pics/halves.bmp" "$pics/run/a.bmp"
cp "$pics/red.bmp" "$pics/run/d.bmp"
cp "$pics/blue.bmp" "$pics/run/e.bmp"
r="$pics/run"
entries "$r/c.bmp" 10\|0 "$r/B.bmp" 20\|0 "$r/a.bmp" 3100\|50 "$r/d.bmp" 00\|0 "$r/e.bmp" 00\|0
wine reg delete "$key" /f >/dev/null 2>&1 || true
settings Index=0 FLeft=200 FTop=150
show_program
row 1                # B, tiled
keys Delete          # Remove: c becomes current, and keeps its own placement
click 80 270         # Sort: a c d e
row 2; click 199 270 # d Up: a d c e
row 0; click 233 270 # a Down: d a c e
row 3; row 0 ctrl   # e and d selected, d current
click 371 113        # Tiled into both
click 366 157; keys End BackSpace BackSpace BackSpace BackSpace BackSpace 3 7 # X typed: 37
click 405 175; click 405 175; click 366 181; keys Up # Y: two arrow clicks and the Up key
row 1; row 2 shift   # a and c selected, c current: c's placement goes into both
click 160 270        # Remove both: d e
before=$(wallpaper)
click 76 296         # Next
[ "$(wallpaper)" = "$(winpath "$r/e.bmp")" ] || fail "Next laid $(wallpaper), not e.bmp (before: $before)"
click 30 296         # Prev
[ "$(wallpaper)" = "$(winpath "$r/d.bmp")" ] || fail "Prev laid $(wallpaper), not d.bmp"
row 1; click 53 316  # Load Current on e
[ "$(wallpaper)" = "$(winpath "$r/e.bmp")" ] || fail "Load Current laid $(wallpaper), not e.bmp"
ok "Delete, Sort, Up, Down, Ctrl and Shift selection, the placement typed and stepped, Remove, Next, Prev, Load Current"

# The change timer at one second, typed, then Timer On: Next every second.
click 371 42; keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace 1
click 368 20
wait_for '[ "$(wallpaper)" = "$(winpath "$r/d.bmp")" ]' 6 || fail "Timer On laid nothing after its second"
wait_for '[ "$(wallpaper)" = "$(winpath "$r/e.bmp")" ]' 6 || fail "Timer On laid no second picture"
click 368 20
ok "Timer On at 1 second (typed): a tick lays the next picture, and the next"
# Enter and Space on the focused button press it.
click 76 296
first=$(wallpaper)
keys Return
second=$(wallpaper)
keys space
[ "$first" != "$second" ] && [ "$(wallpaper)" = "$first" ] ||
    fail "Enter and Space on Next: $first, $second, $(wallpaper)"
ok "Enter and Space press the focused button"

# The Tab key stops only at the placement's chosen item; the arrow keys move among the items.
row 0
[ "$(helper focus)" = "1001 " ] || fail "a click in the list left the focus on '$(helper focus)'"
keys Tab
[ "$(helper focus)" = "2002 Tiled" ] || fail "Tab went to '$(helper focus)'"
keys shift+Tab
[ "$(helper focus)" = "2002 Tiled" ] || fail "Shift+Tab went to '$(helper focus)'"
keys Down
[ "$(helper focus)" = "2003 Location" ] || fail "Down went to '$(helper focus)'"
keys Tab
[ "$(helper focus)" = "2003 Location" ] || fail "Tab from the placement went to '$(helper focus)'"
ok "Tab and Shift+Tab come to the chosen placement; Down moves to and chooses the next one"

for at in "161 296" "161 314" "265 296" "265 314"; do click $at; done # the four options
[ "$(client_pixel 368 254)" != C81E1E ] || fail "the preview shows a picture before it is switched on"
click 369 212 # Preview On: d, red
wait_for '[ "$(client_pixel 368 254)" = C81E1E ]' 5 || fail "the preview shows $(client_pixel 368 254), not d's red"
caption=0
for x in $(seq 330 2 410); do [ "$(client_pixel $x 295)" = FFFFFF ] && caption=$((caption + 1)); done
[ $caption -gt 0 ] || fail "no size under the preview"
ok "Preview On shows the current picture and its size"

click 36 270
wait_for 'xdotool search --onlyvisible --name "^Confirm$" >/dev/null 2>&1' 10 || fail "Clear All asked nothing"
xdotool key --window "$(xdotool search --onlyvisible --name '^Confirm$' | head -n 1)" n
wait_for '! xdotool search --onlyvisible --name "^Confirm$" >/dev/null 2>&1' 10 || fail "No did not close the question"
click 36 270
wait_for 'xdotool search --onlyvisible --name "^Confirm$" >/dev/null 2>&1' 10 || fail "Clear All asked nothing"
xdotool key --window "$(xdotool search --onlyvisible --name '^Confirm$' | head -n 1)" Escape
wait_for '! xdotool search --onlyvisible --name "^Confirm$" >/dev/null 2>&1' 10 || fail "Escape did not close the question"
end_program close
[ "$status" = 0 ] || fail "exit code $status after closing the window"
want='run\d.bmp 337|3 run\e.bmp 237|3'
[ "$(listed)" = "$want" ] || fail "the list holds '$(listed)', not '$want'"
for pair in Timer=1 X1=37 Y1=3 Option=3 AutoQuit=true LoadStart=true IconClick=true RandomPick=true \
    TimedDisplay=false PreviewOn=true; do
    [ "$(value "$key" "${pair%%=*}")" = "${pair#*=}" ] ||
        fail "${pair%%=*} is '$(value "$key" "${pair%%=*}")', not ${pair#*=}"
done
ok "Clear All answered No and Escape; closing saves every entry's own placement and every control"

# ---------------------------------------------------------------- the end of the session
# Windows may end the process as soon as its end-of-session message is answered, even while a
# box or the file dialog waits: the helper sends the messages, then ends the process as
# Windows does. Nothing may be lost: the list as it was, and all 13 settings.
for what in "Clear All:36:Confirm" "Add:116:Open"; do
    entries "$pics/red.bmp" 10\|0 "$pics/blue.bmp" 3100\|50
    cp "$listfile" "$work/list-before"
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    settings Index=1 FLeft=200 FTop=150
    show_program
    title=${what##*:}
    click "$(echo "$what" | cut -d: -f2)" 270
    wait_for 'xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1' 10 || fail "${what%%:*} showed no $title"
    helper log-off >/dev/null
    wait_for '! kill -0 "$pid" 2>/dev/null' 20 || fail "the program stayed after the log-off"
    status=0
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "log-off while ${what%%:*} waited: ended by the system (code $status) before saving"
    cmp -s "$listfile" "$work/list-before" || fail "log-off while ${what%%:*} waited changed the list"
    for pair in Index=1 Timer=360 X1=100 Y1=50 Option=3 FLeft=200 FTop=150 AutoQuit=false \
        RandomPick=false IconClick=false LoadStart=false TimedDisplay=false PreviewOn=false; do
        [ "$(value "$key" "${pair%%=*}")" = "${pair#*=}" ] ||
            fail "log-off while ${what%%:*} waited: ${pair%%=*} is '$(value "$key" "${pair%%=*}")'"
    done
    ok "log-off while the ${what%%:*} $title waits: the list unchanged, the 13 settings written, code 0"
done

# ---------------------------------------------------------------- the hidden window's box
# Timer On with a picture that is gone, the preview on, the window hidden: the preview's box
# comes to the front on its own (no hidden owner), so that it is seen and answered.
entries "$pics/gone.bmp" 00\|0
settings Index=0 TimedDisplay=true Timer=1 PreviewOn=true LoadStart=false AutoQuit=false
start_program
wait_for '[ "$(helper foreground | cut -d"|" -f2)" = Murelin ]' 20 ||
    fail "the box is not in front: $(helper foreground)"
# The system's box class, the application's title; not owned by the hidden window, so with a
# taskbar button of its own.
case "$(helper foreground)" in
"#32770|Murelin|unowned|"*) ;;
*) fail "the box in front: $(helper foreground)" ;;
esac
ok "a box raised while the window is hidden is the foreground window, with a taskbar button"
end_program logoff
[ "$status" = 0 ] || fail "exit code $status after the log-off with the box open"
[ "$(value "$key" TimedDisplay)" = true ] || fail "the settings were not saved with the box open"

# ---------------------------------------------------------------- automatic exit
entries "$pics/red.bmp" 00\|0 "$pics/blue.bmp" 10\|0
settings Index=0 TimedDisplay=false PreviewOn=false LoadStart=true AutoQuit=true
started=$(date +%s)
start_program
wait_for '! kill -0 "$pid" 2>/dev/null' 30 || fail "Automatic Exit did not end the program"
status=0
wait "$pid" || status=$?
took=$(($(date +%s) - started))
[ "$status" = 0 ] && [ $took -ge 9 ] || fail "Automatic Exit: code $status after $took s"
[ "$(wallpaper)" = "$(winpath "$pics/blue.bmp")" ] || fail "Load on Start laid $(wallpaper)"
[ "$(value "$key" Index)" = 1 ] || fail "Automatic Exit saved Index $(value "$key" Index)"
ok "Load on Start and Automatic Exit: the next picture laid, the program gone after $took s, saved"

# ---------------------------------------------------------------- the position
# A taskbar at the top: the work area starts 40 pixels down. Five times: start, show, minimise
# (hidden), log off; the stored position must stay where it was.
# (wine reads the work area when its server starts.) Wine's GetWindowPlacement answers in screen
# coordinates where Windows answers in workspace ones, so only Windows could show that fault;
# here the cycles show that no offset of the work area ever moves the stored position.
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 40, 1024, 728"
wineserver -k 2>/dev/null || true
settings FLeft=300 FTop=200 LoadStart=false AutoQuit=false
for cycle in 1 2 3 4 5; do
    show_program
    [ $cycle -gt 1 ] || [ "$(helper work-area)" = "0 40 1024 768" ] ||
        fail "wine's work area is $(helper work-area), not below a taskbar at the top"
    keys alt+space
    keys n
    wait_for '[ -z "$(main_window)" ]' 10 || fail "minimising did not hide the window"
    end_program logoff
    [ "$(value "$key" FLeft),$(value "$key" FTop)" = 300,200 ] ||
        fail "cycle $cycle: the position moved to $(value "$key" FLeft),$(value "$key" FTop)"
done
xprop -root -remove _NET_WORKAREA
wineserver -k 2>/dev/null || true
ok "five start, show, minimise and log-off cycles: the position stays at 300, 200"
# Off every monitor (a monitor unplugged): shown on the nearest one.
settings FLeft=3000 FTop=2500
show_program
xy=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
[ "${xy% *}" -lt 1024 ] && [ "${xy#* }" -lt 768 ] || fail "the window stands at $xy, off the screen"
end_program close
[ "$(value "$key" FLeft)" -lt 1024 ] && [ "$(value "$key" FTop)" -lt 768 ] ||
    fail "stored $(value "$key" FLeft),$(value "$key" FTop) off the screen"
ok "a position off every monitor: the window is shown on the screen, and stored there"

# ---------------------------------------------------------------- wine's own desktop paints
# A centred and a tiled picture, laid at start, read back from the screen. The desktop is
# 800 x 600 at the top left of the screen.
on_desktop() { # SETTINGS_STRING: runs the program on wine's desktop, laying Halves.bmp
    # Three pictures on drive C:, the second one next after the stored current one.
    mkdir -p "$WINEPREFIX/drive_c/Pictures"
    cp "$pics/red.bmp" "$WINEPREFIX/drive_c/Pictures/Evening.bmp"
    cp "$pics/halves.bmp" "$WINEPREFIX/drive_c/Pictures/Halves.bmp"
    cp "$pics/blue.bmp" "$WINEPREFIX/drive_c/Pictures/Morning.bmp"
    printf 'C:\\Pictures\\Evening.bmp\r\n00|0\r\nC:\\Pictures\\Halves.bmp\r\n%s\r\nC:\\Pictures\\Morning.bmp\r\n3120|40\r\n' \
        "$1" >"$listfile"
    settings Index=0 LoadStart=true IconClick=false PreviewOn=true FLeft=20 FTop=20
    wine explorer /desktop=murelin,800x600 "$bin/murelin.exe" >"$work/out" 2>&1 &
    pid=$!
    wait_for '[ "$(wallpaper)" = "C:\\Pictures\\Halves.bmp" ]' 30 ||
        fail "nothing laid on wine's desktop: $(cat "$work/out") $(wallpaper)"
}
leave_desktop() {
    # The end of the session reaches the windows of the desktop it is sent on; then the desktop
    # itself is ended with the prefix's server.
    timeout 60 wine explorer /desktop=murelin,800x600 wineboot --end-session >/dev/null 2>&1 || true
    wait_for '! pgrep -x murelin.exe >/dev/null' 30 || fail "the program stayed after the session's end"
    wineserver -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

on_desktop 10\|0
# Centred: the picture's left half left of the middle, its right half right of it.
wait_for '[ "$(pixel 380 300)" = C81E1E ]' 10 || fail "centred: $(pixel 380 300) left of the middle"
[ "$(pixel 420 300)" = 1E64C8 ] || fail "centred: $(pixel 420 300) right of the middle"
[ "$(pixel 5 5)" != C81E1E ] && [ "$(pixel 340 300)" != C81E1E ] || fail "centred: the picture is not alone in the middle"
[ "$(desktop_values)" = 0,0,0,0 ] || fail "desktop values $(desktop_values) for a centred picture"
ok "centred: wine's desktop shows the picture in its middle; values 0, 0, 0, 0"
if [ -n "$screenshot" ]; then
    # The window on wine's desktop, which draws the frame itself: the icon's right button.
    xdotool mousemove 790 590 click 3
    wait_for '[ -n "$(main_window)" ]' 10 || fail "the window was not shown on wine's desktop"
    sleep 1
    xwd -root -silent | convert xwd:- -crop 460x400+10+0 +repage "$screenshot"
    ok "screenshot of the window on wine's desktop: $screenshot"
fi
leave_desktop

on_desktop 20\|0
wait_for '[ "$(pixel 5 5)" = C81E1E ]' 10 || fail "tiled: $(pixel 5 5) at the top left"
[ "$(pixel 40 5)" = 1E64C8 ] && [ "$(pixel 69 5)" = C81E1E ] && [ "$(pixel 104 53)" = 1E64C8 ] ||
    fail "tiled: $(pixel 40 5) $(pixel 69 5) $(pixel 104 53) are not the picture repeated"
[ "$(desktop_values)" = 1,0,0,0 ] || fail "desktop values $(desktop_values) for a tiled picture"
ok "tiled: wine's desktop repeats the picture from the top left; values 1, 0, 0, 0"
leave_desktop

echo "murelin_e2e: murelin.exe $(wc -c <"$exe") bytes, ${rss} kB resident idle in the tray"
echo "murelin_e2e: $passed passed, 0 failed"
