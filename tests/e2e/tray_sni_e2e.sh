#!/bin/sh
# tray_sni_e2e.sh PROGRAM SNI_WATCHER
# The notification icon as a StatusNotifierItem (Plasma, waybar, GNOME's AppIndicator
# extension): on a private session bus with a watcher and host of the test's own and no
# XEmbed notification area, the program registers its icon; the host's Activate (a left click)
# with "Icon Click Next" on runs Next, and lays the next picture on the X root without showing
# the window; ContextMenu (a right click) shows the window.
. "$(dirname "$0")/lib.sh"
private_home "$1"
watcher=$2

session_bus
watcher_pid=""
pid=""
trap 'kill $pid $watcher_pid $bus_pid 2>/dev/null; rm -rf "$work"' EXIT

convert -size 64x48 xc:'#d02010' "$work/one.bmp"
convert -size 64x48 xc:'#10c030' "$work/two.bmp"
mkdir -p "$(dirname "$registry")"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n"IconClick"="true"\n"Option"="0"\n"Index"="0"\n\n' >"$registry"
printf '%s\r\n00|0\r\n%s\r\n00|0\r\n' "$work/one.bmp" "$work/two.bmp" >"$listfile"

"$watcher" "$work/items" &
watcher_pid=$!
owned() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher 2>/dev/null |
        grep -q true
}
wait_for owned 10 || fail "the watcher did not take its name"

QT_QPA_PLATFORM=xcb "$murelin" 2>"$work/err" &
pid=$!
wait_for '[ -s "$work/items" ]' 15 || fail "the icon was not registered: $(cat "$work/err")"
item=$(head -n1 "$work/items")
service=${item%%/*}
path=/StatusNotifierItem
[ "$service" != "$item" ] && path=/${item#*/}
click() {
    gdbus call --session --dest "$service" --object-path "$path" \
        --method "org.kde.StatusNotifierItem.$1" 10 10 >/dev/null || fail "$1 was refused"
}
root_pixmap() { xprop -root _XROOTPMAP_ID 2>/dev/null | grep -q 'pixmap id'; }
shown() { xdotool search --onlyvisible --name "Murelin V1.0" >/dev/null 2>&1; }

root_pixmap && fail "the root had a picture before the click"
click Activate
wait_for root_pixmap 10 || fail "Activate did not lay the next picture on the desktop"
shown && fail "Activate showed the window"
# the picture laid is the second one, stretched over the screen
import -window root -crop 1x1+5+5 -depth 8 txt:- 2>/dev/null | grep -qi '#10C030' ||
    fail "the root does not show the second picture"

click ContextMenu
wait_for shown 10 || fail "ContextMenu did not show the window"

kill -TERM $pid
status=0
wait $pid || status=$?
pid=""
[ $status -eq 0 ] || fail "exit code $status"
grep -q '^"Index"="1"$' "$registry" || fail "Index after one Next: $(grep Index "$registry")"
echo "tray_sni_e2e: ok (item $item)"
