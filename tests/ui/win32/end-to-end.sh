#!/usr/bin/env bash
# scenewright.exe under Wine and Xvfb with three pictures listed: the mouse on the list, the
# index written when the window closes, one program per session.
#   end-to-end.sh WINE_RUN STATE_DIR EXE PROBE_EXE PICTURES_DIR OUT_DIR
set -euo pipefail
wine_run=$1 state=$2 exe=$3 probe_exe=$4 pictures=$5 out=$6

run() { "$wine_run" --state "$state" "$@"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR  # a step that failed without a word
probe() { run --timeout 60 "$(winpath "$probe_exe")" "$@" | tr -d '\r'; }
start() { run --timeout 120 "$(winpath "$out/app/scenewright.exe")" >>"$out/program.log" 2>&1 & app_pid=$!; }
stop() { probe close && wait "$app_pid" || fail "$1"; app_pid=; }
descendants() { local p; for p in $(pgrep -P "$1"); do echo "$p"; descendants "$p"; done; }
app_pid= locked=
# The program itself too, at once: left running, it would hold the test open until its time-out.
trap '[[ -z $app_pid ]] || kill -KILL $(descendants "$app_pid") "$app_pid" 2>/dev/null || true; [[ -z $locked ]] || chattr -i "$locked"' EXIT

rm -rf "$out"
mkdir -p "$out/app"
cp "$pictures/lime.gif" "$pictures/red.jpg" "$pictures/blue.bmp" "$out/"
printf '%s\r\n' "$(winpath "$out/lime.gif")" "$(winpath "$out/red.jpg")" "$(winpath "$out/blue.bmp")" \
  >"$out/app/wallpaper.dat"
cp "$exe" "$out/app/scenewright.exe"
bitmap=$state/prefix/drive_c/scenewright.bmp
rm -f "$bitmap"
# The user's own folder, once it holds files, is used from then on: another test's are cleared.
appdata=$(run --timeout 60 cmd /c echo %APPDATA% | tr -d '\r')
own=$(run --timeout 60 winepath -u "$appdata\Scenewright" | tr -d '\r')
rm -rf "$own"
# A copy another test left running in this prefix would take the hand-over.
for p in $(pgrep -f 'scenewright\.exe$'); do
  ! grep -qzx "WINEPREFIX=$state/prefix" "/proc/$p/environ" || fail "already running: $(tr '\0' ' ' <"/proc/$p/cmdline")"
done
start
probe || fail "the window did not appear"
export DISPLAY=:$(head -n1 "$state/display")

# A double-click on row $1 applies it: the bitmap becomes $2 pixels.
apply() {
  read -r x y < <(probe row "$1")
  timeout 30 xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
  for _ in $(seq 50); do size=$(identify -format '%wx%h' "$bitmap" 2>/dev/null) && [[ $size == "$2" ]] && break; sleep 0.1; done
  [[ $size == "$2" ]] || fail "after the double-click on row $1 the bitmap is $size, not $2"
}
apply 1 37x23
unix() { run --timeout 60 winepath -u "$1" | tr -d '\r'; }

# A Japanese name on a Western code page is picked by its short form, which loads: it is
# previewed and becomes the wallpaper. A name without one (a file never made) is left out
# with one box, the list file untouched.
mkdir -p "$out/写真" && cp "$pictures/lime.gif" "$out/写真/若葉.gif"
[[ -z $(probe open "$(winpath "$out/写真/若葉.gif")") ]] || fail "a box for a name that has a short form"
short=$(tail -n1 "$out/app/wallpaper.dat" | tr -d '\r') list=$(cat "$out/app/wallpaper.dat")
[[ $short == *'~'* ]] && cmp "$(unix "$short")" "$pictures/lime.gif" || fail "the picked name is listed as $short"
[[ $(probe open "$(winpath "$out/写真/無い.gif")") == "box: These files were not added"* ]] || fail "no box for a name without a short form"
[[ $(cat "$out/app/wallpaper.dat") == "$list" ]] || fail "a name without a short form was listed"
apply 3 19x41
read -r x y < <(probe middle 1010)
import -window root -crop "1x1+$x+$y" -depth 8 txt:- | grep -q '#00FF00' || fail "the picked short name is not previewed"

# Everything in a Linux file manager's folder dragged onto the list: Wine hands the list the
# DOS paths as Explorer would, the folder's pictures in name order, not its note, then the
# file; a Japanese name by its short form (which begins with "_").
mkdir -p "$out/drop/folder" && echo note >"$out/drop/folder/notes.txt"
cp "$pictures/lime.gif" "$out/drop/若葉.gif" && cp "$pictures/red.jpg" "$out/drop/folder/b.jpg" && cp "$pictures/blue.bmp" "$out/drop/folder/青.bmp"
read -r x y < <(probe row 2)
"$(dirname "$0")/../drag-from-file-manager.sh" "$out/drop" "$x" "$y" "$out/app/wallpaper.dat"
read -r blue red lime < <(tail -n3 "$out/app/wallpaper.dat" | tr -d '\r' | paste -sd' ')
[[ $red == "$(winpath "$out/drop/folder/b.jpg")" ]] && cmp "$(unix "$blue")" "$pictures/blue.bmp" &&
  cmp "$(unix "$lime")" "$pictures/lime.gif" || fail "after the drop the list ends: $blue $red $lime"

# "Start With Windows" (1001) is on at the first start; cleared and saved (1009), the Run value goes.
run_value() { run --timeout 60 reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Scenewright >/dev/null 2>&1; }
run_value || fail "no Run value at the first start"
probe click 1001 1009 && ! run_value || fail "Start With Windows cleared and saved, the Run value stays"
# Timed changes off (1004) and saved: Next Wallpaper (1015) still moves on, to row 4 (the
# dropped copy of blue.bmp).
probe click 1004 1009 1015 && grep -qx $'interval=-1\r' "$out/app/scenewright.ini" || fail "timed changes not saved off"
for _ in $(seq 50); do size=$(identify -format '%wx%h' "$bitmap" 2>/dev/null) && [[ $size == 29x31 ]] && break; sleep 0.1; done
[[ $size == 29x31 ]] || fail "after Next Wallpaper with timed changes off the bitmap is $size, not 29x31"

stop "the window did not close, or scenewright.exe failed"
grep -qx $'currentindex=4' "$out/app/scenewright.ini" || fail "closing did not write currentindex 4"

# A second start while the window hides in the tray brings that window back and ends at once,
# the files untouched; a killed program does not block the next start.
start
probe && probe hide || fail "minimised, the window did not hide in the tray"
files=$(stat -c '%n %s %y' "$out/app"/*)
run --timeout 20 "$(winpath "$out/app/scenewright.exe")" || fail "the second start ended with $?"
probe || fail "the second start did not bring the window back"
[[ $(stat -c '%n %s %y' "$out/app"/*) == "$files" ]] || fail "the second start touched the files"
kill -0 "$app_pid" || fail "the first program ended"
for p in $(descendants "$app_pid"); do [[ $(cat "/proc/$p/comm") != scenewright.exe ]] || kill -KILL "$p"; done
wait "$app_pid" || true
start
stop "after a kill the next start did not come and go"

# A program folder nobody may write (immutable, even for root): the files go to
# %APPDATA%\Scenewright, the presets beside the program copied there.
rm -rf "$own" && printf '[General]\r\ninterval=45\r\n' >"$out/app/scenewright.ini"
[[ $(id -u) == 0 ]] && chattr +i "$out/app" 2>/dev/null && locked=$out/app || exit 0
start
stop "the window in the locked folder did not come and go"
grep -qx $'interval=45\r' "$own/scenewright.ini" && [[ -f $own/wallpaper.dat ]] || fail "no presets in $own"

# Writable again (a portable copy, or an administrator's run): the files beside the program are
# used, whatever the user's folder holds.
chattr -i "$out/app" && locked=
printf '[General]\r\ninterval=45\r\n' | tee "$own/scenewright.ini" >"$out/app/scenewright.ini"
start
stop "the window in the writable folder did not come and go"
grep -q currentindex "$out/app/scenewright.ini" && ! grep -q currentindex "$own/scenewright.ini" ||
  fail "a copy with its own files used the user's folder"
