# Shared by the end-to-end scripts: a private home for one run of the program.
set -eu
program=$1
work=$(mktemp -d)
# Background jobs still running are ended, and waited for, before the folder goes. They are
# listed to a file: sh runs a $(...) in a subshell, which has no jobs.
# A session bus of the script's own (session_bus) is no job and is ended by its pid.
trap 'jobs -p >"$work/jobs"; kill $(cat "$work/jobs") ${bus_pid:-} 2>/dev/null || true; wait; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset GSETTINGS_BACKEND DBUS_SESSION_BUS_ADDRESS || true
# A copy of the program in a folder of its own, so its list file is private too.
mkdir -p "$work/bin"
cp "$program" "$work/bin/murelin"
murelin="$work/bin/murelin"
registry="$XDG_CONFIG_HOME/murelin/HKEY_CURRENT_USER.reg"
listfile="$work/bin/MurelinAll.txt"

# Scripts outside tests/e2e/ name the folder in e2e_dir before sourcing this file.
. "${e2e_dir:-$(dirname "$0")/../e2e}/helpers.sh"
