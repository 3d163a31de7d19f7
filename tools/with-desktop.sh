#!/usr/bin/env bash
# Runs a command inside a private virtual desktop: Xvfb on a free display, the icewm window
# manager (its task bar has a tray) and a private D-Bus session bus, with a private, empty
# home folder (so services the bus starts, such as dconf or xfconfd, keep their data there)
# and a private first system configuration folder.
# No desktop environment is named to the command. Everything started here is stopped when the command ends, and the
# command's exit status is returned.
#   tools/with-desktop.sh [--screen WxHxD] command [arguments...]
set -euo pipefail

screen=1024x768x24
if [[ ${1:-} == --screen ]]; then
  screen=$2
  shift 2
fi
[[ $# -gt 0 ]] || { echo "usage: $0 [--screen WxHxD] command..." >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-desktop.XXXXXX")
pids=()
stop_all() {
  local pid i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill -TERM "$pid" 2>/dev/null || continue
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap stop_all EXIT
trap 'exit 130' INT TERM HUP

# Waits up to five seconds for a file to be written.
wait_for_file() {
  for _ in $(seq 50); do [[ -s $1 ]] && return 0; sleep 0.1; done
  echo "with-desktop: $2 did not start" >&2
  return 1
}

Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for_file "$work/display" Xvfb
export DISPLAY=":$(head -n1 "$work/display")"

mkdir -m 0700 "$work/home" "$work/runtime" "$work/icewm" "$work/xdg"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime"
# System-wide entries written from inside (such as the start-at-logon entry) land here too.
export XDG_CONFIG_DIRS="$work/xdg:${XDG_CONFIG_DIRS:-/etc/xdg}"

dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>/dev/null &
pids+=($!)
wait_for_file "$work/bus" dbus-daemon
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

printf 'ShowTaskBar=1\nTaskBarShowTray=1\nTaskBarShowClock=0\nTaskBarShowWorkspaces=0\n' >"$work/icewm/preferences"
# A test may rewrite these preferences and run `icewm --restart` (say, to take the tray away).
export ICEWM_PRIVCFG="$work/icewm"
icewm 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

export SCENEWRIGHT_PRIVATE_DESKTOP=1
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION SESSION_MANAGER WAYLAND_DISPLAY
set +e
"$@"
status=$?
set -e
exit "$status"
