# The end-to-end run's helpers, sourced by murelin_e2e.sh after it has set work, bin, pics,
# listfile, key, desk, exe and tests_exe: how a check passes or fails, the settings and the
# list file as another program writes them, and the window and its controls driven by X input.
# shellcheck shell=sh
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
        # A click on the window's bare edge first makes it the active window again (after a
        # box of its own has closed, wine leaves no window of the program active).
        xdotool windowfocus --sync "$(main_window)" 2>/dev/null || fail "the window cannot take the focus"
        xdotool mousemove --window "$(main_window)" 3 330 click 1
        sleep 0.3
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

# helper ACTION: the tests' executable acting on the program's window from outside, as Windows
# or another program would (tests/win32/program_window.cpp).
helper() { wine "$tests_exe" --child=window "$@" 2>/dev/null | tr -d '\r'; }
# show_program: starts the program and shows its window with the icon's right button.
show_program() {
    start_program
    wait_for '[ -n "$(icon_window)" ]' 30 || fail "no icon docked: $(cat "$work/out")"
    click_icon 3
    wait_for '[ -n "$(main_window)" ]' 10 || fail "a right click did not show the window"
    window=$(main_window)
}
# click X Y [MODIFIER]: a left click at X, Y of the window's client area.
click() {
    if [ -n "${3:-}" ]; then
        xdotool mousemove --window "$window" "$1" "$2" keydown "$3" click 1 keyup "$3"
    else
        xdotool mousemove --window "$window" "$1" "$2" click 1
    fi
    sleep 0.3
}
keys() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] ||
        xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --delay 80 "$@"
    sleep 0.3
}
row() { click 60 $((16 + 13 * $1)) "${2:-}"; } # row N of the picture list
# listed: the list file's lines, the pictures' folder left out, on one line.
listed() {
    prefix="$(winpath "$pics")\\" awk '{ sub(/\r$/, "") }
        index($0, ENVIRON["prefix"]) == 1 { $0 = substr($0, length(ENVIRON["prefix"]) + 1) } 1' \
        "$listfile" | paste -sd ' ' -
}
# The window's client area on the screen, and a pixel of it.
client_pixel() {
    at=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
    pixel $((${at% *} + $1)) $((${at#* } + $2))
}
