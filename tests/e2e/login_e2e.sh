#!/bin/sh
# The log-in use: "Load on Start" with "Automatic Exit" and a list of three bitmaps. The next
# picture appears on the X11 root with its own placement, no window is ever mapped, and the
# program saves and ends by itself ten seconds after its start.
. "$(dirname "$0")/lib.sh"
private_home "$1"
tool=$2

"$tool" bmp "$work/red.bmp" 64 48 c81e1e
"$tool" bmp "$work/green.bmp" 64 48 1ec81e
"$tool" bmp "$work/blue.bmp" 64 48 1e64c8
# Row 1 sits at X 100, Y 50; the stored current picture is row 0.
printf '%s\r\n00|0\r\n%s\r\n3100|50\r\n%s\r\n22|0\r\n' "$work/red.bmp" "$work/green.bmp" \
    "$work/blue.bmp" >"$listfile"
cp "$listfile" "$work/list.before"
settings '"Index"="0"' '"LoadStart"="true"' '"AutoQuit"="true"' '"Timer"="360"'

started=$(date +%s%N)
"$murelin" 2>"$work/err" &
pid=$!
# Location is laid stretched first, then at its origin: wait for the second. The root goes from
# black to all green to the origin picture, and each pixel is read at its own moment, so green
# inside the picture is read first: black at 20,20 after it can only be the origin picture.
wait_for '[ "$(pixel 110 60)" = 1ec81e ] && [ "$(pixel 20 20)" = 000000 ]' 10 ||
    fail "root: $(pixel 20 20) at 20,20 and $(pixel 110 60) at 110,60: $(cat "$work/err")"
[ "$(pixel 99 60)" = 000000 ] && [ "$(pixel 100 50)" = 1ec81e ] && [ "$(pixel 163 97)" = 1ec81e ] &&
    [ "$(pixel 164 98)" = 000000 ] || fail "the picture is not at 100,50 with its own size"
wait_for_end
[ -z "$mapped" ] || fail "the window was mapped"
[ $elapsed -ge 9500 ] && [ $elapsed -le 16000 ] || fail "ended after $elapsed ms"
[ "$(value Index)" = 1 ] || fail "Index $(value Index)"
[ "$(value LoadStart)" = true ] && [ "$(value AutoQuit)" = true ] || fail "options not kept"
[ "$(value Timer)" = 360 ] || fail "Timer $(value Timer)"
[ "$(value Option)" = 3 ] && [ "$(value X1)" = 100 ] && [ "$(value Y1)" = 50 ] ||
    fail "placement controls $(value Option) $(value X1) $(value Y1)"
[ "$(value TileWallpaper)" = 0 ] && [ "$(value WallpaperStyle)" = 0 ] &&
    [ "$(value WallpaperOriginX)" = 100 ] && [ "$(value WallpaperOriginY)" = 50 ] ||
    fail "desktop values $(value TileWallpaper) $(value WallpaperStyle) $(value WallpaperOriginX) $(value WallpaperOriginY)"
cmp -s "$listfile" "$work/list.before" || fail "the list file changed: $(od -c "$listfile" | head)"
echo "login_e2e: ok (ended after $elapsed ms)"
