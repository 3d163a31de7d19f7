#!/usr/bin/env bash
# Drags everything in a folder from a real file manager (pcmanfm-qt, with a private home and
# session bus) onto a point of the screen with the mouse, as a user does: XDND between two
# programs on the X server of $DISPLAY, with or without a window manager. Up to three tries
# until FILE changes: the file manager may still be listing the folder at the first.
#   drag-from-file-manager.sh FOLDER X Y FILE
set -euo pipefail
folder=$1 x=$2 y=$3 watched=$4 before=$(cat "$4")
export HOME=$(mktemp -d) XDG_CONFIG_HOME= && trap 'pkill -P "$fm"; wait; rm -rf "$HOME"' EXIT
dbus-run-session -- pcmanfm-qt "$folder" >/dev/null 2>&1 & fm=$!
for _ in $(seq 100); do window=$(xdotool search --onlyvisible --class pcmanfm-qt | head -n1) && break; sleep 0.1; done
# Low on the right, out of the program's way; its items sit in a row from the view's top left,
# a rubber band over that row selects them all, and the drag starts on the first item.
xdotool windowmove --sync "$window" 600 400 windowsize --sync "$window" 400 300
for _ in 1 2 3; do
  xdotool sleep 0.5 mousemove --window "$window" 390 200 mousedown 1 mousemove --window "$window" 160 110 mouseup 1 \
    mousemove --window "$window" 205 160 mousedown 1
  for step in $(seq 10); do xdotool mousemove $((805 + (x - 805) * step / 10)) $((560 + (y - 560) * step / 10)) sleep 0.05; done
  xdotool mousemove_relative 2 2 sleep 0.1 mouseup 1
  for _ in $(seq 50); do [[ $(cat "$watched") != "$before" ]] && exit 0; sleep 0.1; done
done
echo "FAIL: three drops did not change $watched" >&2 && exit 1
