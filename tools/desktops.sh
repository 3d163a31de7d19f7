#!/usr/bin/env bash
# The same check as the test command's real-desktop tests, against the two large desktops:
# GNOME Shell (on X, software OpenGL) and KDE Plasma's plasmashell (software Qt Quick). Installs
# them first (several hundred packages), builds the Linux program, and runs each on a private
# virtual desktop. Not part of tools/test.sh.
#   tools/desktops.sh [gnome] [plasma]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
desktops=("$@")
[[ ${#desktops[@]} -gt 0 ]] || desktops=(gnome plasma)

declare -A packages=(
  [gnome]="gnome-shell gnome-settings-daemon mutter libgl1-mesa-dri"
  [plasma]="plasma-workspace plasma-desktop plasma-framework qml-module-org-kde-kirigami2 libgl1-mesa-dri"
)
wanted=()
for desktop in "${desktops[@]}"; do
  [[ -n ${packages[$desktop]:-} ]] || { echo "unknown desktop $desktop" >&2; exit 2; }
  read -ra list <<<"${packages[$desktop]}"
  wanted+=("${list[@]}")
done

tools/setup.sh
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${wanted[@]}"

cmake --preset linux >/dev/null
cmake --build --preset linux --target scenewright
# GNOME Shell looks for logind on the system bus and stops where there is none (a
# container): a private bus of its own stands in for it.
bus=$(mktemp "${TMPDIR:-/tmp}/scenewright-bus.XXXXXX")
dbus-daemon --session --nofork --print-address=3 3>"$bus" 2>/dev/null &
bus_pid=$!
trap 'kill "$bus_pid" 2>/dev/null; rm -f "$bus"' EXIT
for _ in $(seq 50); do [[ -s $bus ]] && break; sleep 0.1; done
DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$bus")
export DBUS_SYSTEM_BUS_ADDRESS

failed=()
for desktop in "${desktops[@]}"; do
  tools/with-desktop.sh tests/platform/linux/RealDesktops.sh "$PWD/build/linux/src/ui/qt/scenewright" "$desktop" ||
    failed+=("$desktop")
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "every change shown on: ${desktops[*]}"
