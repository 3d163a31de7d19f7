#!/usr/bin/env bash
# The real program on a real X server with a window manager and a tray (run inside
# tools/with-desktop.sh): first run, start-up change, hiding in the tray and coming back,
# and the index saved by every kind of end.
#   EndToEnd.sh path/to/scenewright
set -euo pipefail
program=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-e2e.XXXXXX")
pid=
cleanup() {
  [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Polls a condition every 5 ms for at most $1 ms; prints how long it took.
within() {
  local limit=$1 start
  shift
  start=$(now_ms)
  until "$@"; do
    (( $(now_ms) - start > limit )) && return 1
    sleep 0.005
  done
  echo $(( $(now_ms) - start ))
}

clients() { xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*' || true; }
managed() { clients | grep -qx "$(printf '0x%x' "$window")"; }
not_managed() { ! managed; }
viewable() { xwininfo -id "$window" | grep -q IsViewable; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
has_window() { [[ -n $(clients) ]]; }

start() {  # in the folder $1
  (cd "$1" && exec "$1/scenewright") &
  pid=$!
  within 10000 has_window >/dev/null || fail "no window appeared"
  window=$(( $(clients | head -n1) ))
}
wait_for_end() {
  within 5000 ended >/dev/null || fail "the program did not end"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}
close_window() {
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
  wait_for_end
}
setting() { tr -d '\r' <"$1/scenewright.ini" | sed -n "s/^$2=//p"; }

export XDG_CONFIG_DIRS="$work/xdg"
mkdir -p "$XDG_CONFIG_DIRS"

echo "first run in an empty folder (with a space in its path)"
first="$work/first run"
mkdir "$first"
cp "$program" "$first/scenewright"
start "$first"
close_window
[[ $(cat "$first/scenewright.ini") == $'[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1\r' ]] ||
  fail "defaults: $(od -c "$first/scenewright.ini")"
[[ -f $first/wallpaper.dat && ! -s $first/wallpaper.dat ]] || fail "the list file is not empty"
[[ $(cat "$XDG_CONFIG_DIRS/autostart/scenewright.desktop") == "[Desktop Entry]
Type=Application
Name=Scenewright
Exec=\"$first/scenewright\"" ]] || fail "autostart entry: $(cat "$XDG_CONFIG_DIRS/autostart/scenewright.desktop")"
[[ ! -e $XDG_CACHE_HOME/scenewright.bmp ]] || fail "a wallpaper was applied from an empty list"

echo "three pictures: entry 0 at start"
app="$work/app"
mkdir "$app"
cp "$program" "$app/scenewright"
convert -size 320x200 xc:red "$work/zero.jpg"
convert -size 200x100 xc:blue "$work/one.gif"
convert -size 64x64 xc:lime "$work/two.bmp"
printf '%s\r\n' "$work/zero.jpg" "$work/one.gif" "$work/two.bmp" >"$app/wallpaper.dat"
start "$app"
bitmap="$XDG_CACHE_HOME/scenewright.bmp"
[[ -f $bitmap ]] || fail "no bitmap was written"
[[ $(head -c2 "$bitmap") == BM && $(identify -format '%wx%h' "$bitmap") == 320x200 ]] ||
  fail "bitmap: $(identify "$bitmap")"
xprop -root _XROOTPMAP_ID | grep -q 'pixmap id' || fail "the root window has no background pixmap"
# Below the window, above the task bar: the root window shows the red picture.
rgb=$(import -window root -crop 1x1+900+600 -depth 8 txt:- | grep -o '([0-9, ]*)' | head -n1 | tr -d '( )')
IFS=, read -r r g b <<<"$rgb"
(( r > 200 && g < 60 && b < 60 )) || fail "root window shows ($rgb), not entry 0"

echo "Remove with nothing selected keeps the list; editing keys reach the amount"
xdotool mousemove --window "$window" 424 272 click 1 sleep 0.3
[[ $(grep -c . "$app/wallpaper.dat") == 3 ]] || fail "Remove took an entry nobody selected"
xdotool mousemove --window "$window" 56 105 click 1 key Home Delete 2 3 ctrl+a 4 \
  mousemove --window "$window" 52 128 click 1 sleep 0.3
[[ $(setting "$app" interval) == 14400 ]] || fail "interval is $(setting "$app" interval), not 4 hours"

echo "minimising hides the window; the tray icon brings it back"
tray=
for candidate in $(xdotool search --onlyvisible --classname scenewright); do
  (( candidate != window )) && tray=$candidate
done
[[ -n $tray ]] || fail "no tray icon"
xdotool windowminimize "$window"
took=$(within 200 not_managed) || fail "still in the task list 200 ms after minimising"
echo "  hidden after $took ms"
viewable && fail "a hidden window is still viewable"
xdotool mousemove --window "$tray" 8 8 click 1
took=$(within 1000 viewable) || fail "a click on the tray icon did not restore the window"
managed || fail "the restored window is not back in the task list"
echo "  restored after $took ms"
xprop -id "$window" WM_STATE | grep -q 'Normal' || fail "restored, but not in the normal state"

echo "closing writes the index"
close_window
[[ $(setting "$app" currentindex) == 0 ]] || fail "currentindex is $(setting "$app" currentindex)"

echo "SIGTERM, SIGHUP and SIGINT still write it"
expected=0
for signal in TERM HUP INT; do
  start "$app"  # the start-up change moves on to the next entry
  expected=$(( (expected + 1) % 3 ))
  kill -"$signal" "$pid"
  wait_for_end
  [[ $(setting "$app" currentindex) == "$expected" ]] ||
    fail "after SIG$signal currentindex is $(setting "$app" currentindex), not $expected"
done
[[ $(identify -format '%wx%h' "$bitmap") == "320x200" ]] || fail "entry 0 was not applied again"
echo "all end-to-end checks passed"
