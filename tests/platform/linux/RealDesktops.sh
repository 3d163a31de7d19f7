#!/usr/bin/env bash
# The real program against a desktop's own background drawer: one screen pixel's colour after the
# start-up change and the next two, through the same bitmap path. X desktops run inside
# tools/with-desktop.sh; sway, wayland (no XWayland) and wlroots start a headless sway as an
# ordinary user.   RealDesktops.sh path/to/scenewright DESKTOP
set -euo pipefail
program=$1 desktop=$2

# desktop  XDG_CURRENT_DESKTOP  background drawer (- : none of its own)
table='
lxde     LXDE   pcmanfm --desktop --profile scenewright
lxqt     LXQt   pcmanfm-qt --desktop --profile scenewright
xfce     XFCE   xfdesktop --disable-wm-check
mate     MATE   caja --no-default-window --force-desktop
gnome    GNOME  gnome-shell --x11 --replace
plasma   KDE    plasmashell
sway     -      -
wayland  -      -
wlroots  -      -
'
read -r _ current drawer < <(grep "^$desktop " <<<"$table") || { echo "unknown desktop $desktop" >&2; exit 2; }

if [[ $current == - && $EUID == 0 ]]; then
  # The checkout may sit in a folder nobody else can enter: run copies from a shared one.
  shared=$(mktemp -d /tmp/scenewright-nobody.XXXXXX)
  trap 'rm -rf "$shared"' EXIT
  chmod 755 "$shared" && cp "$0" "$program" "$shared/"
  setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env -- \
    env PATH="$PATH" "$shared/${0##*/}" "$shared/${program##*/}" "$desktop"
  exit
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-real.XXXXXX")
cleanup() {  # everything started here: the drawer or sway, and the program
  jobs -p | xargs -r kill 2>/dev/null || true
  sleep 1 && jobs -p | xargs -r kill -KILL 2>/dev/null || true
  wait 2>/dev/null; rm -rf "$work"
}
trap cleanup EXIT
gone() { ! ps -o stat= -p "$1" | grep -qv '^Z'; }  # ended, if not yet waited for
fail() { echo "FAIL ($desktop): $*" >&2; tail -n5 "$work"/*.log >&2; exit 1; }
within() {  # SECONDS COMMAND...: polls the command every 100 ms until it succeeds
  local end=$((SECONDS + $1))
  until "${@:2}"; do (( SECONDS < end )) || return 1; sleep 0.1; done
}

width=1024 height=768
if [[ $current == - ]]; then
  export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_CACHE_HOME="$work/cache \$HOME's"
  mkdir -m 0700 "$XDG_RUNTIME_DIR"
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK XDG_CURRENT_DESKTOP DESKTOP_SESSION
  convert -size ${width}x$height xc:lime "$work/own.png"
  cat >"$work/sway.conf" <<EOF
xwayland $([[ $desktop == wayland ]] && echo disable || echo force)
output HEADLESS-1 resolution ${width}x$height
$([[ $desktop == sway ]] && echo "output * bg $work/own.png center")
set \$cache /nowhere
for_window [class="Scenewright"] floating enable, move position 0 0
for_window [app_id="scenewright"] floating enable, move position 0 0
exec printf '%s %s\n' "\$WAYLAND_DISPLAY" "\$DISPLAY" >$work/display
EOF
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/sway.conf" \
    >"$work/sway.log" 2>&1 &
  within 30 test -s "$work/display" || fail "sway did not start: $(tail -n5 "$work/sway.log")"
  read -r WAYLAND_DISPLAY DISPLAY <"$work/display"
  export WAYLAND_DISPLAY=$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY  # whatever runtime folder a client has
  if [[ $desktop == wayland ]]; then  # and a DISPLAY left over, where no X server answers
    for ((n = 100; ; n++)); do [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break; done
    export DISPLAY=:$n
  else
    export DISPLAY
    within 30 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || fail "XWayland did not start"
  fi
  [[ $desktop != wlroots ]] && export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
  pixel() { grim -g "800,400 1x1" - | convert - -depth 8 txt:-; }
else
  [[ -n ${SCENEWRIGHT_PRIVATE_DESKTOP:-} ]] || fail "run inside tools/with-desktop.sh"
  # Software rendering for the desktops that draw with OpenGL or Qt Quick.
  export XDG_CURRENT_DESKTOP=$current LIBGL_ALWAYS_SOFTWARE=1 QT_QUICK_BACKEND=software
  # A user of LXQt with a wallpaper shown: a new profile of pcmanfm-qt shows none.
  mkdir -p "$HOME/.config/pcmanfm-qt/scenewright"
  printf '[Desktop]\nWallpaperMode=stretch\n' >"$HOME/.config/pcmanfm-qt/scenewright/settings.conf"
  # shellcheck disable=SC2086  # the drawer's command line is split on purpose
  $drawer >"$work/drawer.log" 2>&1 &
  pixel() { import -window root -crop 1x1+800+400 -depth 8 txt:-; }
fi

colour() {  # dominant, not exact: a shell may dim its background
  local -A c
  IFS=, read -r "c[red]" "c[green]" "c[blue]" < <(pixel 2>/dev/null | grep -o '([0-9, ]*)' | head -n1 | tr -d '( )')
  (( ${c[$1]:-0} > 80 && c[$1] > 3 * (c[red] + c[green] + c[blue] - c[$1]) ))
}

mkdir "$work/app" && cp "$program" "$work/app/scenewright"
# Red only in the quadrant the pixel is read from: a bitmap upside down or mirrored shows another.
half=(-size "$((width / 2))x$((height / 2))")
convert \( "${half[@]}" xc:white xc:lime +append \) \( "${half[@]}" xc:blue xc:red +append \) -append "$work/red.jpg"
convert -size ${width}x$height xc:blue "$work/blue.gif"
printf '%s\r\n' "$work/red.jpg" "$work/blue.gif" >"$work/app/wallpaper.dat"
printf '[General]\r\nautostart=0\r\nnewonstart=1\r\nrandom=0\r\ninterval=3\r\ncurrentindex=-1\r\n' \
  >"$work/app/scenewright.ini"
"$work/app/scenewright" >"$work/program.log" 2>&1 &
pid=$!

for expected in red blue red; do
  within 30 colour $expected || fail "the screen did not turn $expected ($(pixel 2>&1 | tail -n1))"
done

case $desktop in
  sway)
    pgrep -a swaybg | grep -q -- '-m center' || fail "the user's placement went: $(pgrep -a swaybg)"
    # sway minimises nothing and has no tray here: the window must stay on screen.
    window=$(xdotool search --classname scenewright | head -n1)
    xdotool windowminimize "$window"
    sleep 0.5  # five ticks
    xwininfo -id "$window" | grep -q IsViewable || fail "a minimise request hid the window" ;;
  wayland)
    swaymsg -t get_tree | grep -q '"app_id": "scenewright"' || fail "no window in sway's tree"
    # Cache folders whose names sway's parser or wordexp would take apart (the last one with a
    # runtime folder of that kind too): each shows its own bitmap and none runs a command.
    rows=('a"b' 'a\"b' 'two  spaces' $'new\nline' '$cache' "\\\"\$(touch $work/ran)" 'plain;,[x]*{y} é'
      'z"\"$cache')
    for i in "${!rows[@]}"; do
      kill "$pid" && wait "$pid" || true
      XDG_CACHE_HOME=$work/${rows[i]} runtime=$work/runtime expected=(red blue)
      (( i == ${#rows[@]} - 1 )) && runtime=$work/${rows[i]}/run
      mkdir -p -m 0700 "$runtime"
      sed -i "s/^currentindex=.*/currentindex=$((i % 2 - 1))\r/" "$work/app/scenewright.ini"
      swaymsg 'output * bg #000000 solid_color' >/dev/null
      TMPDIR=$work XDG_RUNTIME_DIR=$runtime "$work/app/scenewright" >"$work/program.log" 2>&1 &
      pid=$!
      within 30 colour "${expected[i % 2]}" || fail "cache folder ${rows[i]@Q}: $(pgrep -a swaybg)"
      [[ ${rows[i]} != plain* ]] || pgrep -a swaybg | grep -qF -- "-i ${XDG_CACHE_HOME% *} " ||
        fail "a plain path not passed as it stands: $(pgrep -a swaybg)"
    done
    [[ ! -e $work/ran ]] || fail "a folder's name ran a command" ;;
  wlroots)
    child=$(pgrep -P "$pid" swaybg) && (( $(wc -w <<<"$child") == 1 )) || fail "not one swaybg: $(pgrep -a -P "$pid")"
    kill "$pid"
    within 10 eval "gone $pid && gone $child" || fail "the program or its swaybg did not end" ;;
esac
