#!/bin/sh
# installed_e2e.sh PACKAGE.deb, on a display with a notification area (scripts/with-xvfb --tray).
# Unpacks the package into a scratch root and runs that copy as an ordinary user, the way a
# desktop starts log-in programs: a copy of the installed menu entry in ~/.config/autostart/,
# turned into a command by systemd's autostart generator (what GNOME and KDE sessions under
# systemd run). The copy starts in the tray, lays the next picture of a list it keeps in
# ${XDG_DATA_HOME}/murelin/ (its own folder, /usr/bin, is not the user's), and ends by itself;
# started again, its Help button opens the help page from the installed data folder.
set -eu
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'jobs -p >"$work/jobs"; kill $(cat "$work/jobs") 2>/dev/null || true; wait; rm -rf "$work"' EXIT
chmod 755 "$work"
. "$(dirname "$0")/../e2e/lib.sh"

# -- the scratch root, owned by root as an installed system is
root="$work/root"
dpkg-deb -x "$deb" "$root"
chmod 755 "$root"
id=org.tovrane.Murelin
desktop="$root/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the AppStream data is not valid: $(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml")"
for f in usr/bin/murelin usr/share/murelin/Murelin.html usr/share/man/man1/murelin.1.gz \
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/48x48/apps/$id.png \
    usr/share/dbus-1/interfaces/${id}1.xml; do
    [ -s "$root/$f" ] || fail "the package lacks /$f"
done
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -s "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon named $icon"

# -- an ordinary user's home; as root (CI), the program runs under another user id
if [ "$(id -u)" -eq 0 ]; then
    uid=65534 gid=65534
    as_user="setpriv --reuid=$uid --regid=$gid --clear-groups"
else
    uid=$(id -u) gid=$(id -g)
    as_user=""
fi
home="$work/home"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_DIRS=/nonexistent
mkdir -p "$XDG_CONFIG_HOME/autostart" "$XDG_CONFIG_HOME/murelin" "$XDG_DATA_HOME/murelin" \
    "$XDG_RUNTIME_DIR" "$home/Pictures"
unset GSETTINGS_BACKEND DBUS_SESSION_BUS_ADDRESS || true
registry="$XDG_CONFIG_HOME/murelin/HKEY_CURRENT_USER.reg"
listfile="$XDG_DATA_HOME/murelin/MurelinAll.txt"
pixel() {
    xwd -root -silent | convert xwd:- -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr A-F a-f
}
convert -size 64x48 xc:'#c81e1e' "BMP3:$home/Pictures/red.bmp"
convert -size 64x48 xc:'#1e64c8' "BMP3:$home/Pictures/blue.bmp"
printf '%s\r\n00|0\r\n%s\r\n00|0\r\n' "$home/Pictures/red.bmp" "$home/Pictures/blue.bmp" >"$listfile"
settings '"Index"="0"' '"LoadStart"="true"' '"AutoQuit"="true"'

# -- the autostart entry: a plain copy of the installed one
cp "$desktop" "$XDG_CONFIG_HOME/autostart/"
desktop-file-validate "$XDG_CONFIG_HOME/autostart/$id.desktop" || fail "not a valid autostart entry"
chown -R "$uid:$gid" "$home" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
mkdir "$work/units"
PATH="$root/usr/bin:$PATH" /usr/lib/systemd/user-generators/systemd-xdg-autostart-generator \
    "$work/units" "$work/units" "$work/units" 2>"$work/generator.err" ||
    fail "the autostart generator failed: $(cat "$work/generator.err")"
unit="$work/units/app-$id@autostart.service"
[ -s "$unit" ] || fail "no autostart unit made: $(cat "$work/generator.err")"
command=$(sed -n 's/^ExecStart=[-:@+!]*//p' "$unit")
[ "$command" = "$root/usr/bin/murelin" ] || fail "the autostart unit runs '$command'"

# -- the log-in use, started as the autostart unit says
inode_before=$(stat -c %i "$listfile")
started=$(date +%s%N)
$as_user $command 2>"$work/err" &
pid=$!
wait_for '[ -n "$(icon_window)" ]' 10 || fail "no notification icon: $(cat "$work/err")"
wait_for '[ "$(pixel 500 400)" = 1e64c8 ]' 10 || fail "root shows $(pixel 500 400), not the blue picture"
[ -z "$(main_window)" ] || fail "the window was shown at log-in"
wait_for '! kill -0 $pid 2>/dev/null' 20 || fail "still running 20 s after start"
status=0
wait $pid || status=$?
elapsed=$((($(date +%s%N) - started) / 1000000))
[ $status -eq 0 ] || fail "exit code $status: $(cat "$work/err")"
[ "$(value Index)" = 1 ] || fail "Index $(value Index) after the log-in use"
[ "$(stat -c %i "$listfile")" != "$inode_before" ] || fail "the list was not saved in $listfile"
[ "$(stat -c %u "$listfile")" = "$uid" ] || fail "the list file is not the user's"
[ ! -e "$root/usr/bin/MurelinAll.txt" ] || fail "a list file appeared in /usr/bin"

# -- Help from the installed data folder
mkdir "$work/fake"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/help-args"\n' "$home" >"$work/fake/xdg-open"
chmod 755 "$work/fake/xdg-open"
settings '"FLeft"="100"' '"FTop"="100"'
chown "$uid:$gid" "$registry"
PATH="$work/fake:$PATH" $as_user "$root/usr/bin/murelin" 2>"$work/err" &
pid=$!
wait_for '[ -n "$(icon_window)" ]' 10 || fail "no notification icon: $(cat "$work/err")"
xdotool mousemove --window "$(icon_window)" 8 8 click 3
wait_for '[ -n "$(main_window)" ]' 10 || fail "a right click did not show the window"
xdotool mousemove --window "$(main_window)" 369 315 click 1
wait_for '[ -s "$home/help-args" ]' 10 || fail "Help opened nothing"
[ "$(cat "$home/help-args")" = "file://$root/usr/share/murelin/Murelin.html#Contents" ] ||
    fail "Help opened $(cat "$home/help-args")"
stop_program
echo "installed_e2e: ok (log-in use ended after $elapsed ms)"
