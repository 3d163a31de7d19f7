#!/usr/bin/env bash
# Builds Scenewright for Linux and starts it on your desktop. Without a display (a fresh
# server), it starts it on a private virtual desktop instead, takes a screenshot of its
# window and says where the picture is.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(( $(nproc) < 2 ? 1 : 2 ))"
program=$PWD/build/linux/src/ui/qt/scenewright

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  echo "Starting $program"
  exec "$program"
fi

screenshot=$PWD/build/linux/scenewright-window.png
echo "No display here: starting Scenewright on a virtual desktop (Xvfb and icewm)."
tools/with-desktop.sh bash -c '
  set -euo pipefail
  "$1" & pid=$!
  for _ in $(seq 100); do
    window=$(xprop -root _NET_CLIENT_LIST | grep -o "0x[0-9a-f]*" | head -n1 || true)
    [[ -n $window ]] && break
    sleep 0.1
  done
  [[ -n $window ]] || { echo "the window did not appear" >&2; kill "$pid"; exit 1; }
  sleep 1  # let the first ticks draw the countdown
  import -window "$window" -frame "$2"
  kill -TERM "$pid"
  wait "$pid"
' run "$program" "$screenshot"
echo "Scenewright ran and closed again; its window is in $screenshot"
