#!/bin/sh
# The Windows program end to end, under wine, on an X server with a notification area (run it
# under scripts/with-xvfb --tray), in a fresh wine prefix:
#   murelin_e2e.sh MURELIN_EXE TESTS_EXE DRAG_SOURCE [SCREENSHOT_PNG]
# TESTS_EXE is the Windows tests' executable, whose child mode reads the system's wallpaper as
# another program sees it; DRAG_SOURCE is the tests' X drag source. Each check prints one line;
# the run closes with "N passed, N failed". A failure stops the run at once.
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
passed=0
fail() {
    echo "murelin_e2e: FAIL: $*" >&2
    echo "murelin_e2e: $passed passed, 1 failed"
    exit 1
}
ok() {
    passed=$((passed + 1))
    echo "ok $passed - $*"
}
# wait_for CONDITION SECONDS
wait_for() {
    i=0
    until eval "$1"; do
        i=$((i + 1))
        [ $i -ge $(($2 * 10)) ] && return 1
        sleep 0.1
    done
}

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
# A file's name as wine's programs see it: the Unix root is drive Z:. (winepath -w cuts names
# longer than the old path limit.)
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# value KEY NAME: a string value as wine's reg.exe shows it; empty when there is none.
value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^    $2    REG_SZ    //p"
}
# settings NAME=VALUE...: the program's stored settings, written as another program would.
settings() {
    for pair in "$@"; do
        wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1 ||
            fail "reg add $pair"
    done
}
# entries PATH SETTINGS...: the list file, two lines per entry, each ended by CR LF.
entries() {
    : >"$listfile"
    while [ $# -ge 2 ]; do
        printf '%s\r\n%s\r\n' "$(winpath "$1")" "$2" >>"$listfile"
        shift 2
    done
}
wallpaper() { wine "$tests_exe" --child=print-wallpaper 2>/dev/null | tr -d '\r'; }
desktop_values() {
    echo "$(value "$desk" TileWallpaper),$(value "$desk" WallpaperStyle),$(value "$desk" WallpaperOriginX),$(value "$desk" WallpaperOriginY)"
}
pixel() { xwd -root -silent | convert xwd:- -format "%[hex:p{$1,$2}]" info: 2>/dev/null | cut -c1-6; }

# The icon wine docks into the X notification area, inside trayer's panel.
icon_window() {
    panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -n 1)
    [ -n "$panel" ] || return 0
    xwininfo -id "$panel" -tree 2>/dev/null | awk '/"explorer.exe"/ { print $1; exit }'
}
main_window() { xdotool search --onlyvisible --name '^Murelin V1.0$' 2>/dev/null | head -n 1; }
click_icon() {
    icon=$(icon_window)
    [ -n "$icon" ] || fail "no icon in the notification area"
    xdotool mousemove --window "$icon" 8 8 click "$1"
}
start_program() {
    wine "$bin/murelin.exe" >"$work/out" 2>&1 &
    pid=$!
}
# end_program HOW: ends the program the way HOW (logoff or close); its exit code in $status.
end_program() {
    case $1 in
    logoff) timeout 60 wineboot --end-session >/dev/null 2>&1 || true ;;
    close)
        # The keys that close a window; the window may be gone before the keys are released.
        xdotool windowfocus --sync "$(main_window)" 2>/dev/null || fail "the window cannot take the focus"
        xdotool key alt+F4 2>/dev/null || true
        ;;
    esac
    i=0
    while kill -0 "$pid" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt 300 ] && fail "the program did not end after $1"
        sleep 0.1
    done
    status=0
    wait "$pid" || status=$?
}

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
