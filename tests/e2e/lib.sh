# What the end-to-end scripts share, sourced by every one of them (tests/e2e/), by the
# package's test, the rotation benchmark and scripts/screenshot. Sourcing defines helpers and
# sets nothing up; private_home makes the private home of one run. settings and value work on
# the file named by $registry.
set -eu

# private_home PROGRAM: a private home for one run of PROGRAM: $work (removed at the end, with
# every background job ended and waited for), the XDG folders below it, and a copy of the
# program with its help page in a folder of its own, so its list file is private too. Sets
# program, work, murelin (the copy), registry and listfile.
private_home() {
    program=$1
    work=$(mktemp -d)
    # The jobs are listed to a file: sh runs a $(...) in a subshell, which has no jobs. A
    # session bus of the script's own (session_bus) is no job and is ended by its pid.
    trap 'jobs -p >"$work/jobs"; kill $(cat "$work/jobs") ${bus_pid:-} 2>/dev/null || true; wait; rm -rf "$work"' EXIT
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
    export XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset GSETTINGS_BACKEND DBUS_SESSION_BUS_ADDRESS || true
    mkdir -p "$work/bin"
    cp "$program" "$work/bin/murelin"
    cp "$(dirname "$program")/Murelin.html" "$work/bin/" 2>/dev/null || true
    murelin="$work/bin/murelin"
    registry="$XDG_CONFIG_HOME/murelin/HKEY_CURRENT_USER.reg"
    listfile="$work/bin/MurelinAll.txt"
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_for CONDITION-COMMAND SECONDS
wait_for() {
    i=0
    while ! eval "$1"; do
        i=$((i + 1))
        [ $i -gt $(($2 * 20)) ] && return 1
        sleep 0.05
    done
}

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

# stop_program: ends the program started as $pid with SIGTERM; it must exit with code 0.
stop_program() {
    kill -TERM $pid
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || fail "exit code $status after SIGTERM"
}

# The notification icon's window: the one named like the program, without the version.
icon_window() {
    for id in $(xdotool search --onlyvisible --classname murelin 2>/dev/null); do
        case $(xdotool getwindowname "$id" 2>/dev/null) in [Mm]urelin) echo "$id"; return ;; esac
    done
}
main_window() { xdotool search --onlyvisible --name '^Murelin V1.0$' 2>/dev/null | head -n1; }

# session_bus: a session bus of this run's own (its socket in $work), its address exported;
# $bus_pid is the daemon, which private_home's exit trap ends.
session_bus() {
    bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 \
        --address="unix:path=$work/bus") || fail "no session bus"
    bus_pid=$(echo "$bus" | sed -n 2p)
    DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
    export DBUS_SESSION_BUS_ADDRESS
}

# The rotation's helpers below use $tool, the test tool that makes bitmaps and reads the root
# (rotation_e2e_tool).

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
