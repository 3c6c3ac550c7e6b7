# Shared by the rotation's end-to-end scripts, on top of the program's own private home
# (tests/e2e/lib.sh): $1 is the program, $2 the helper that makes bitmaps and reads the root.
. "$(dirname "$0")/../e2e/lib.sh"
tool=$2
cp "$(dirname "$program")/Murelin.html" "$work/bin/" 2>/dev/null || true

# settings LINE...: the program's registry file with the given "Name"="value" lines.
settings() {
    mkdir -p "$(dirname "$registry")"
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tovrane\\Murelin]\n'
        for line in "$@"; do printf '%s\n' "$line"; done
        printf '\n'
    } >"$registry"
}

# value NAME: a stored text (the names of ours and the desktop's are all different).
value() { sed -n "s/^\"$1\"=\"\\(.*\\)\"\$/\\1/p" "$registry"; }

# The notification icon's window: the one named like the program, without the version.
icon_window() {
    for id in $(xdotool search --onlyvisible --classname murelin 2>/dev/null); do
        case $(xdotool getwindowname "$id" 2>/dev/null) in [Mm]urelin) echo "$id"; return ;; esac
    done
}
main_window() { xdotool search --onlyvisible --name '^Murelin V1.0$' 2>/dev/null | head -n1; }

# click_icon BUTTON: a press and release of BUTTON in the middle of the icon.
click_icon() {
    icon=$(icon_window)
    [ -n "$icon" ] || fail "no notification icon"
    xdotool mousemove --window "$icon" 8 8 click "$1"
}

pixel() { "$tool" pixel "$1" "$2"; }
rootpmap() { "$tool" rootpmap; }

start_program() {
    "$murelin" 2>"$work/err" &
    pid=$!
    wait_for '[ -n "$(icon_window)" ]' 10 || fail "the icon did not appear: $(cat "$work/err")"
}

stop_program() {
    kill -TERM $pid
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || fail "exit code $status after SIGTERM"
}
