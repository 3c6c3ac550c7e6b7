#!/bin/sh
# The notification icon under a real tray (trayer) on Xvfb, clicked with xdotool: the right
# button maps the window at its stored place and cancels the automatic exit, and its Help
# button opens the help page; the left button lays the next picture on the root only with
# "Icon Click Next" on. No desktop platform theme is loaded unless the user names one.
. "$(dirname "$0")/lib.sh"
private_home "$1"
tool=$2

"$tool" bmp "$work/red.bmp" 64 48 c81e1e
"$tool" bmp "$work/blue.bmp" 64 48 1e64c8
printf '%s\r\n0\r\n%s\r\n0\r\n' "$work/red.bmp" "$work/blue.bmp" >"$listfile"

# -- left button with "Icon Click Next" off: nothing at all
settings '"Index"="0"' '"IconClick"="false"'
start_program
before=$(rootpmap)
click_icon 1
sleep 2
[ "$(rootpmap)" = "$before" ] || fail "the root changed with Icon Click Next off"
[ -z "$(main_window)" ] || fail "the window was mapped by a left click"
stop_program
[ "$(value Index)" = 0 ] || fail "Index moved to $(value Index) with Icon Click Next off"

# -- left button with it on: the next picture, stretched over the root; the window stays hidden
settings '"Index"="0"' '"IconClick"="true"'
start_program
click_icon 1
wait_for '[ "$(pixel 500 400)" = 1e64c8 ]' 10 || fail "root shows $(pixel 500 400), not the blue picture"
[ "$(pixel 5 700)" = 1e64c8 ] || fail "the picture is not stretched: $(pixel 5 700) at the edge"
[ "$(rootpmap)" != none ] || fail "no _XROOTPMAP_ID"
[ -z "$(main_window)" ] || fail "the window was mapped by a left click"
sleep 1 # past the double-click time
click_icon 1
wait_for '[ "$(pixel 500 400)" = c81e1e ]' 10 || fail "a second click did not wrap to the first picture"
sleep 1
# A double click: the first press moves on, the second (a double-click press) does not.
icon=$(icon_window)
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 60 1
wait_for '[ "$(pixel 500 400)" = 1e64c8 ]' 10 || fail "a double click did not move on"
sleep 1.5
[ "$(pixel 500 400)" = 1e64c8 ] || fail "the double click's second press moved on again"
stop_program
[ "$(value Index)" = 1 ] || fail "Index $(value Index) after the clicks"
[ "$(value WallpaperStyle)" = 2 ] || fail "WallpaperStyle $(value WallpaperStyle)"

# -- right button: the window at its stored place, the automatic exit cancelled, help
mkdir -p "$work/fake"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/help-args"\n' "$work" >"$work/fake/xdg-open"
chmod +x "$work/fake/xdg-open"
settings '"AutoQuit"="true"' '"FLeft"="210"' '"FTop"="150"'
started=$(date +%s)
PATH="$work/fake:$PATH" start_program
click_icon 3
wait_for '[ -n "$(main_window)" ]' 10 || fail "the window was not mapped by a right click"
window=$(main_window)
# The caption exactly as the layout gives it, with nothing appended.
for property in WM_NAME _NET_WM_NAME; do
    title=$(xprop -id "$window" "$property" | sed -n 's/^[^=]*= "\(.*\)"$/\1/p')
    [ "$title" = "Murelin V1.0" ] || fail "$property is '$title'"
done
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*,[0-9]*\).*/\1/p')
[ "$geometry" = 210,150 ] || fail "window at $geometry, not at 210,150"
# The Help button, at the bottom right of the window.
xdotool mousemove --window "$window" 369 315 click 1
wait_for '[ -s "$work/help-args" ]' 10 || fail "Help opened nothing"
[ "$(cat "$work/help-args")" = "file://$work/bin/Murelin.html#Contents" ] ||
    fail "Help opened $(cat "$work/help-args")"
grep -q 'id="Contents"' "$work/bin/Murelin.html" || fail "the help page has no Contents"
# Well past the automatic exit's ten seconds, the program is still there.
while [ $(($(date +%s) - started)) -lt 13 ]; do sleep 0.5; done
kill -0 $pid 2>/dev/null || fail "the program ended although its window was shown"
stop_program
[ "$(value AutoQuit)" = true ] || fail "AutoQuit $(value AutoQuit)"
[ "$(value FLeft)" = 210 ] && [ "$(value FTop)" = 150 ] || fail "position $(value FLeft),$(value FTop)"
# -- the desktop's platform theme: none under GNOME's name (the toolkit's GTK theme would load
#    GTK with it), the one the user names when they name one
themes() { sed -n 's|.*/platformthemes/\(.*\)|\1|p' "/proc/$pid/maps" | sort -u | tr '\n' ' '; }
settings '"Index"="0"'
export XDG_CURRENT_DESKTOP=GNOME
start_program
[ -z "$(themes)" ] || fail "a platform theme was loaded under GNOME: $(themes)"
stop_program
gtk=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)/platformthemes/libqgtk3.so
if [ -e "$gtk" ]; then
    export QT_QPA_PLATFORMTHEME=gtk3
    start_program
    [ "$(themes)" = "libqgtk3.so " ] || fail "the named theme was not loaded: '$(themes)'"
    stop_program
    unset QT_QPA_PLATFORMTHEME
fi
unset XDG_CURRENT_DESKTOP
echo "tray_e2e: ok"
