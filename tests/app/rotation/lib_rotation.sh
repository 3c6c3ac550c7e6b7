# Shared by the rotation's end-to-end scripts, on top of the program's own private home
# (tests/e2e/lib.sh): $1 is the program, $2 the helper that makes bitmaps and reads the root.
# Scripts outside this folder name tests/e2e/ in e2e_dir before sourcing this file.
e2e_dir=${e2e_dir:-$(dirname "$0")/../../e2e}
. "$e2e_dir/lib.sh"
tool=$2
cp "$(dirname "$program")/Murelin.html" "$work/bin/" 2>/dev/null || true

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

# wait_for_end: waits (until 30 s after $started) for the program started as $pid to end by
# itself with exit code 0, noting in $mapped whether its window was ever mapped; $elapsed
# is then the time since $started in ms.
wait_for_end() {
    mapped=""
    while kill -0 $pid 2>/dev/null; do
        [ -n "$(main_window)" ] && mapped=1
        [ $((($(date +%s%N) - started) / 1000000000)) -gt 30 ] && fail "still running after 30 s"
        sleep 0.2
    done
    status=0
    wait $pid || status=$?
    elapsed=$((($(date +%s%N) - started) / 1000000))
    [ $status -eq 0 ] || fail "exit code $status"
}
