# The end-to-end scripts' helpers, with no set-up of their own: sourced by lib.sh and by the
# package's test. settings and value work on the file named by $registry.

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
# $bus_pid is the daemon, which lib.sh's exit trap ends.
session_bus() {
    bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 \
        --address="unix:path=$work/bus") || fail "no session bus"
    bus_pid=$(echo "$bus" | sed -n 2p)
    DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
    export DBUS_SESSION_BUS_ADDRESS
}
