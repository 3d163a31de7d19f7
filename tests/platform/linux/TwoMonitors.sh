#!/usr/bin/env bash
# The real program on a bare X server (Xorg's dummy driver) with two monitors of different shapes
# side by side and a third like the first (one cover drawn on both): each must show the whole
# picture, scaled to cover it, centred and cropped; a picture larger than the monitors (shrunk
# while decoded) and a smaller one (scaled up after); and, on one, a second turned on and off.
#   TwoMonitors.sh path/to/scenewright
set -euo pipefail
program=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-monitors.XXXXXX")
trap 'jobs -p | xargs -r kill 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; tail -n5 "$work/xorg.log" >&2 || true; exit 1; }
within() {  # SECONDS COMMAND...: polls the command every 100 ms until it succeeds
  local end=$((${EPOCHREALTIME/./} + $1 * 1000000))
  until "${@:2}"; do (( ${EPOCHREALTIME/./} < end )) || return 1; sleep 0.1; done
}

printf '%s\n' 'Section "Device"' ' Identifier "d"' ' Driver "dummy"' ' VideoRam 65536' 'EndSection' \
  'Section "Screen"' ' Identifier "s"' ' Device "d"' ' DefaultDepth 24' ' SubSection "Display"' \
  '  Virtual 2624 768' ' EndSubSection' 'EndSection' >"$work/xorg.conf"
mkdir "$work/xorg.conf.d"
Xorg -config "$work/xorg.conf" -configdir "$work/xorg.conf.d" -logfile "$work/xorg.log" -displayfd 3 \
  -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
within 30 test -s "$work/display" || fail "Xorg did not start"
export DISPLAY=:$(head -n1 "$work/display")
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY SWAYSOCK
export HOME=$work XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config
xrandr --addmode DUMMY1 1024x576 && xrandr --addmode DUMMY2 800x600
xrandr --output DUMMY0 --mode 800x600 --output DUMMY1 --mode 1024x576 --right-of DUMMY0 \
  --output DUMMY2 --mode 800x600 --right-of DUMMY1

# Red, lime, blue, yellow from the top left, a white strip down the left tenth; each monitor is
# probed at a fifth of its width and height from every corner, and in the strip's uncropped part
# (a picture zoomed past its cover would hide it): x y expected (1 = channel full), for r, g, b.
first='160 120 100  640 120 010  160 480 001  640 480 110  15 300 111'
second='1004 115 100 1619 115 010 1004 460 001 1619 460 110 815 288 111'
third='1984 120 100 2464 120 010 1984 480 001 2464 480 110 1839 300 111'
root() { xprop -root _XROOTPMAP_ID 2>/dev/null | grep -o '0x[0-9a-f]*' || true; }
changes() { before=$(root) && "$@" && within "$wait" eval '[[ -n $(root) && $(root) != "$before" ]]'; }
shows() {  # WHAT PROBES...: the screen as the probes expect it, else a failure
  local x y w format='' want=''
  while read -r x y w; do format+="%[fx:p{$x,$y}.r>0.7]%[fx:p{$x,$y}.g>0.7]%[fx:p{$x,$y}.b>0.7] " want+="$w "; done < <(xargs -n3 <<<"${*:2}")
  got=$(import -window root "$work/root.png" && convert "$work/root.png" -format "$format" info:)
  [[ $got == "$want" ]] || fail "$1: probes ${*:2} show $got, expected $want"
}
mkdir "$work/app" && cp "$program" "$work/app/scenewright"
printf '[General]\r\nautostart=0\r\nnewonstart=1\r\nrandom=0\r\ninterval=60\r\ncurrentindex=-1\r\n' \
  >"$work/app/scenewright.ini"
start() { "$work/app/scenewright" >"$work/program.log" 2>&1 & pid=$!; }
wait=30
for picture in large.png:2400x1600 small.webp:600x400; do
  name=${picture%:*} size=${picture#*:} && half=$((${size%x*} / 2))x$((${size#*x} / 2))
  convert -size "$half" xc:red xc:lime +append \( -size "$half" xc:blue xc:yellow +append \) -append \
    -fill white -draw "rectangle 0,0 $((${size%x*} / 10)),${size#*x}" "$work/$name"
  printf '%s\r\n' "$work/$name" >"$work/app/wallpaper.dat"
  changes start || fail "$name: the root was not set"
  kill "$pid" && wait "$pid" || true
  shows "$name" "$first" "$second" "$third"
done
# While the program runs on one monitor (its window out of the way), each change shows within 1 s.
xrandr --output DUMMY1 --off --output DUMMY2 --off && printf '%s\r\n' "$work/large.png" >"$work/app/wallpaper.dat"
changes start && xdotool search --sync --classname scenewright windowunmap %@ >/dev/null || fail "one monitor: no root"
wait=1
changes xrandr --output DUMMY1 --mode 1024x576 --right-of DUMMY0 || fail "a monitor turned on: no new root"
shows "a monitor turned on" "$first" "$second"
changes xrandr --output DUMMY1 --off || fail "a monitor turned off: no new root"
shows "a monitor turned off" "$first"
echo "each monitor shows the whole picture, also when they come and go"
