#!/usr/bin/env bash
# scenewright.exe under Wine and Xvfb, each time in a folder of its own: the first run in an
# empty folder, then a first run with a list of three pictures.
#   end-to-end.sh WINE_RUN STATE_DIR EXE PROBE_EXE PICTURES_DIR OUT_DIR
set -euo pipefail
wine_run=$1 state=$2 exe=$3 probe=$4 pictures=$5 out=$6

run() { "$wine_run" --state "$state" "$@"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
crlf() { printf '%s\r\n' "$@"; }
reg_value() {  # KEY NAME: the value's text, empty when there is none
  run --timeout 60 reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/^.*REG_SZ[[:space:]]*//p'
}

app_pid=
start() {
  cp "$exe" "$1/scenewright.exe"
  run --timeout 120 "$(winpath "$1/scenewright.exe")" >"$1/program.log" 2>&1 &
  app_pid=$!
  run --timeout 60 "$(winpath "$probe")" wait || fail "the window did not appear"
}
close_window() {
  run --timeout 60 "$(winpath "$probe")" close || fail "the window did not close"
  wait "$app_pid" || fail "scenewright.exe ended with $?"
  app_pid=
}
locked=
trap '[[ -z $app_pid ]] || kill "$app_pid" 2>/dev/null || true; [[ -z $locked ]] || chattr -i "$locked"' EXIT

rm -rf "$out"
mkdir -p "$out/first" "$out/pictures"
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
run --timeout 60 reg delete "$run_key" /v Scenewright /f >/dev/null 2>&1 || true

echo "-- first run in an empty folder"
start "$out/first"
crlf "[General]" "autostart=1" "newonstart=1" "random=0" "interval=3600" "currentindex=-1" >"$out/expected.ini"
cmp "$out/expected.ini" "$out/first/scenewright.ini" || fail "the settings file is not the five defaults"
[[ -f $out/first/wallpaper.dat && ! -s $out/first/wallpaper.dat ]] || fail "no empty list file"
expected_run=$(winpath "$out/first/scenewright.exe")
[[ $expected_run == *" "* ]] && expected_run="\"$expected_run\""
[[ $(reg_value "$run_key" Scenewright) == "$expected_run" ]] || fail "Run value is not $expected_run"

# A picture of the window, for a person to look at.
rect=$(run --timeout 60 "$(winpath "$probe")" rect | tr -d '\r')
sleep 1
DISPLAY=:$(head -n1 "$state/display") timeout 60 import -window root -crop "$rect" +repage "$out/window.png" ||
  echo "(no screenshot)"

close_window
grep -qx $'currentindex=-1\r' "$out/first/scenewright.ini" || fail "closing did not keep currentindex -1"

echo "-- first run with three pictures listed"
mkdir -p "$out/second"
cp "$pictures/lime.gif" "$pictures/red.jpg" "$pictures/blue.bmp" "$out/pictures/"
crlf "$(winpath "$out/pictures/lime.gif")" "$(winpath "$out/pictures/red.jpg")" \
  "$(winpath "$out/pictures/blue.bmp")" >"$out/second/wallpaper.dat"
bitmap=$state/prefix/drive_c/scenewright.bmp
rm -f "$bitmap"
start "$out/second"
for _ in $(seq 100); do [[ -s $bitmap ]] && break; sleep 0.1; done
[[ -s $bitmap ]] || fail "no bitmap at C:\\scenewright.bmp"
size=$(identify -format '%wx%h' "$bitmap")
[[ $size == 19x41 ]] || fail "the bitmap is $size, not entry 0's 19x41"
[[ $(reg_value 'HKCU\Control Panel\Desktop' Wallpaper) == 'C:\scenewright.bmp' ]] ||
  fail "the desktop does not name C:\\scenewright.bmp"

# The mouse on the list: a click on row 0 previews it, a double-click on row 1 applies it.
probe() { run --timeout 60 "$(winpath "$probe")" "$@" | tr -d '\r'; }
export DISPLAY=:$(head -n1 "$state/display")
read -r x y < <(probe row 0)
timeout 30 xdotool mousemove "$x" "$y" click 1
sleep 1
timeout 60 import -window root -crop "$(probe rect)" +repage "$out/window-preview.png" || true
read -r x y < <(probe preview)
colour=$(timeout 60 import -window root -crop "1x1+$x+$y" +repage -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:)
IFS=, read -r red green blue <<<"$colour"
(( red < 60 && green > 200 && blue < 60 )) || fail "the preview shows $colour, not the lime picture of row 0"
read -r x y < <(probe row 1)
timeout 30 xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
for _ in $(seq 50); do [[ $(identify -format '%wx%h' "$bitmap" 2>/dev/null) == 37x23 ]] && break; sleep 0.1; done
size=$(identify -format '%wx%h' "$bitmap")
[[ $size == 37x23 ]] || fail "after the double-click on row 1 the bitmap is $size, not 37x23"
close_window
grep -qx $'currentindex=1\r' "$out/second/scenewright.ini" || fail "closing did not write currentindex 1"
echo "-- the root of C: refuses the bitmap: it goes to the local application data folder"
rm -f "$bitmap"
mkdir "$bitmap"  # a folder in the way fails the write as a standard user's access would
mkdir -p "$out/third"
cp "$out/second/wallpaper.dat" "$out/third/"
start "$out/third"
fallback=$(reg_value 'HKCU\Volatile Environment' LOCALAPPDATA)
[[ -n $fallback ]] || fail "no LOCALAPPDATA in the user's environment"
for _ in $(seq 100); do
  [[ $(reg_value 'HKCU\Control Panel\Desktop' Wallpaper) == "$fallback\scenewright.bmp" ]] && break
  sleep 0.1
done
[[ $(reg_value 'HKCU\Control Panel\Desktop' Wallpaper) == "$fallback\scenewright.bmp" ]] ||
  fail "the desktop does not name $fallback\\scenewright.bmp"
unix_fallback=$(run --timeout 60 winepath -u "$fallback\scenewright.bmp" | tr -d '\r')
[[ $(identify -format '%wx%h' "$unix_fallback") == 19x41 ]] || fail "no 19x41 bitmap at $unix_fallback"
close_window
rmdir "$bitmap"

echo "-- a program folder that cannot be written (immutable, as root): %APPDATA%\\Scenewright"
if [[ $(id -u) == 0 ]]; then
  own=$(run --timeout 60 winepath -u "$(reg_value 'HKCU\Volatile Environment' APPDATA)\Scenewright" | tr -d '\r')
  for presets in no yes; do
    rm -rf "$own"
    locked=$out/locked-$presets
    mkdir -p "$locked" && cp "$exe" "$locked/scenewright.exe"
    [[ $presets == no ]] || crlf "[General]" "autostart=0" "interval=45" >"$locked/scenewright.ini"
    before=$(ls -A "$locked")
    chattr +i "$locked" 2>/dev/null || { echo "(no immutable folders here: skipped)"; locked=; break; }
    run --timeout 120 "$(winpath "$locked/scenewright.exe")" >"$out/locked.log" 2>&1 &
    app_pid=$!
    run --timeout 60 "$(winpath "$probe")" wait || fail "the window did not appear"
    close_window
    chattr -i "$locked" && [[ $(ls -A "$locked") == "$before" ]] || fail "the locked folder changed: $(ls -A "$locked")"
    locked=
    [[ $presets == no ]] || crlf "[General]" "autostart=0" "interval=45" "currentindex=-1" >"$out/expected.ini"
    cmp "$out/expected.ini" "$own/scenewright.ini" || fail "the user's settings ($presets presets): $(cat "$own/scenewright.ini")"
    [[ -f $own/wallpaper.dat ]] || fail "no list file in the user's folder"
  done
fi
echo "end-to-end: passed"
