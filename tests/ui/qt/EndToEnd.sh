#!/usr/bin/env bash
# The real program inside tools/with-desktop.sh (X, icewm and its tray, a private home):
# a tray that comes late, hiding in it and coming back, one program per user, and the index
# saved by every kind of end.
#   EndToEnd.sh path/to/scenewright
set -euo pipefail
program=$1 pid=
trap '[[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Polls a condition every 5 ms for at most $1 ms.
within() {
  local end=$(( $(date +%s%3N) + $1 ))
  shift
  until "$@"; do
    (( $(date +%s%3N) <= end )) || return 1
    sleep 0.005
  done
}
clients() { xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*' || true; }
managed() { clients | grep -qx "$(printf '0x%x' "$window")"; }
viewable() { xwininfo -id "$window" | grep -q IsViewable; }
# Minimises the window and waits up to $1 ms for it to leave the task list, into the tray.
hide() { xdotool windowminimize "$window" && within "$1" eval '! managed' || fail "still listed $1 ms after minimising"; }
start() {
  (cd "$app" && exec "$app/scenewright") &
  pid=$!
  within 10000 eval '[[ -n $(clients) ]]' || fail "no window appeared"
  window=$(( $(clients | head -n1) ))
}
wait_for_end() {
  within 15000 eval '! kill -0 "$pid" 2>/dev/null' || fail "the program did not end"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}
setting() { tr -d '\r' <"$app/scenewright.ini" | sed -n "s/^$1=//p"; }
tray_icon() {
  tray=$(xdotool search --onlyvisible --classname scenewright | grep -vx "$window" | tail -n1)
  [[ -n $tray ]]
}
# The task bar with its tray taken away (0) or brought back (1), as by a panel started late.
set_tray() {
  sed -i "s/^ShowTaskBar=.*/ShowTaskBar=$1/" "$ICEWM_PRIVCFG/preferences"
  icewm --restart 2>/dev/null
  within 10000 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null || fail "icewm did not come back"
}

export XDG_CONFIG_DIRS="$HOME/xdg"
app="$HOME/app folder"
mkdir -p "$XDG_CONFIG_DIRS" "$app"
cp "$program" "$app/scenewright"
mkdir -p "$HOME/drop/folder" && echo note >"$HOME/drop/folder/notes.txt"
entries=(zero.jpg one.gif two.bmp) colours=(red lime blue)
for name in drop/one.png drop/folder/b.jpg drop/folder/a.gif; do convert -size 64x48 xc:red "$HOME/$name"; done
for i in 0 1 2; do convert -size 64x48 "xc:${colours[i]}" "$HOME/${entries[i]}"; done
printf "$HOME/%s\r\n" "${entries[@]}" >"$app/wallpaper.dat"
colour() { convert "$1[0]" -format '%[hex:p{0,0}]' info:; }

set_tray 0
start
[[ $(xprop -id "$window" WM_NAME) == 'WM_NAME(STRING) = "Scenewright"' ]] ||
  fail "the first window is $(xprop -id "$window" WM_NAME), not Form1"
within 15000 test -s "$XDG_CACHE_HOME/scenewright.bmp" || fail "no start-up change without a tray"
within 15000 eval 'xprop -root _XROOTPMAP_ID | grep -q "pixmap id"' || fail "the X root did not get the bitmap"
# "Start With Windows" is on at the first start; cleared and saved below, the entry goes.
entry=$XDG_CONFIG_DIRS/autostart/scenewright.desktop
[[ -f $entry ]] || fail "no autostart entry at the first start"

xdotool mousemove --window "$window" 424 272 click 1 sleep 0.3
[[ $(grep -c . "$app/wallpaper.dat") == 3 ]] || fail "Remove took an entry nobody selected"
xdotool mousemove --window "$window" 56 105 click 1 key Home Delete 2 3 ctrl+a 4 a minus \
  mousemove --window "$window" 52 32 click 1 mousemove --window "$window" 52 128 click 1 sleep 0.3
[[ $(setting interval) == 14400 ]] || fail "interval is $(setting interval), not 4 hours"
[[ ! -e $entry ]] || fail "Start With Windows cleared and saved, its autostart entry stays"
# Timed changes off and saved: Next Wallpaper still changes the wallpaper, to entry 1.
bitmap=$XDG_CACHE_HOME/scenewright.bmp && stamp=$(stat -c %y "$bitmap")
xdotool mousemove --window "$window" 52 88 click 1 mousemove --window "$window" 52 128 click 1 sleep 0.3 \
  mousemove --window "$window" 284 272 click 1
[[ $(setting interval) == -1 ]] || fail "interval is $(setting interval), not off"
within 3000 eval '[[ $(stat -c %y "$bitmap") != "$stamp" ]]' || fail "Next Wallpaper with timed changes off changed nothing"
xdotool windowminimize "$window"
within 5000 eval 'xprop -id "$window" WM_STATE | grep -q Iconic' && sleep 0.5 || fail "the window was not minimised"  # then five ticks
managed || fail "minimised without a tray, the window left the window list"
xdotool windowactivate --sync "$window"

set_tray 1
within 10000 tray_icon || fail "no tray icon after the tray came"
hide 200
viewable && fail "a hidden window is still viewable"
xdotool mousemove --window "$tray" 8 8 click 1
within 5000 viewable || fail "a click on the tray icon did not restore the window"
managed || fail "the restored window is not back in the task list"
xprop -id "$window" WM_STATE | grep -q 'Normal' || fail "restored, but not in the normal state"
# A second start while the window hides in the tray brings that window back, in front, and
# ends at once, the files untouched.
hide 2000
files=$(stat -c '%n %s %y' "$app"/*)
(cd "$app" && timeout 10 "$app/scenewright") || fail "the second start ended with $?"
within 2000 viewable || fail "the second start did not bring the window back"
within 2000 eval 'xprop -root _NET_ACTIVE_WINDOW | grep -q "$(printf "0x%x" "$window")"' || fail "the window is not in front"
[[ $(stat -c '%n %s %y' "$app"/*) == "$files" && $(clients | wc -l) == 1 ]] || fail "the second start touched the files or stayed"
# A tray that goes away while the window is hidden gives the window back.
hide 5000
set_tray 0
within 15000 viewable || fail "the window stayed hidden after the tray went away"

# The window manager takes Alt+F4; on a busy machine its focus can lag behind the activation.
for _ in 1 2 3; do
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
  within 5000 eval '! kill -0 "$pid" 2>/dev/null' && break
done
wait_for_end
[[ $(setting currentindex) == 1 ]] || fail "currentindex is $(setting currentindex)"
expected=1
# A killed program's lock and socket do not block the next start.
start
kill -KILL "$pid"
wait "$pid" || pid=
within 5000 eval '[[ -z $(clients) ]]' || fail "the killed program's window stayed"
for signal in TERM HUP INT; do
  start  # the start-up change moves on to the next entry, decoded while the window is made
  expected=$(( (expected + 1) % 3 ))
  within 5000 eval '[[ $(colour "$bitmap") == $(colour "$HOME/${entries[expected]}") ]]' ||
    fail "the start-up change did not show ${entries[expected]}"
  kill -"$signal" "$pid"
  wait_for_end
  [[ $(setting currentindex) == "$expected" ]] || fail "after SIG$signal currentindex is $(setting currentindex)"
done

# Everything in a file manager's folder dragged onto the list: the folder's pictures in name
# order, not its note, then the picture beside it, as the file manager lists them.
start
eval "$(xdotool getwindowgeometry --shell "$window")"
"$(dirname "$0")/../drag-from-file-manager.sh" "$HOME/drop" $((X + 230)) $((Y + 215)) "$app/wallpaper.dat"
dropped=$(tail -n3 "$app/wallpaper.dat" | tr -d '\r')
[[ $dropped == "$(printf "$HOME/drop/%s\n" folder/a.gif folder/b.jpg one.png)" ]] || fail "after the drop the list ends:" $dropped
