#!/usr/bin/env bash
# The measurements themselves; bench/run.sh runs this inside a virtual desktop.
#   measure.sh [SECTION...]   apply monitors start preview idle scale; all when none is named
set -euo pipefail
sections=" ${*:-apply monitors start preview idle scale} "
want() { [[ $sections == *" $1 "* ]]; }
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=$PWD/build/linux
bin=$build/bench
out=$build/bench-work
rm -rf "$out"
mkdir -p "$out"
export XDG_CACHE_HOME=$out/cache

row() {  # name value unit goal reference reference-name
  awk -v n="$1" -v v="$2" -v u="$3" -v g="$4" -v r="$5" -v rn="$6" 'BEGIN {
    printf "%-34s %10.2f %-5s goal %8.2f %-5s %-6s | %-26s %10.2f %-5s ratio %6.2fx\n",
           n, v, u, g, u, (v <= g ? "met" : "MISSED"), rn, r, u, (r > 0 ? v / r : 0) }'
}
# A figure whose goal is a share of a reference's: printed as a row, and kept for the table
# (name, ours, unit, reference, its value, ratio, goal ratio) in $RATIOS when that is set.
ratio_row() {  # name value unit reference reference-name goal-ratio
  row "$1" "$2" "$3" "$(awk -v r="$4" -v g="$6" 'BEGIN { print r * g }')" "$4" "$5"
  [[ -z ${RATIOS:-} ]] || awk -v n="$1" -v v="$2" -v u="$3" -v r="$4" -v rn="$5" -v g="$6" 'BEGIN {
    printf "%s\t%.1f\t%s\t%s\t%.1f\t%.3f\t%s\n", n, v, u, rn, r, (r > 0 ? v / r : 0), g }' >>"$RATIOS"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
picture=$out/photo.jpg
convert -size 600x400 plasma:fractal -resize 6000x4000! -attenuate 0.3 +noise Gaussian -quality 90 "$picture"
kinds="jpg gif bmp png webp tif"
if want apply || want start; then
  convert "$picture" "$out/photo.gif"
  convert "$picture" -type truecolor "$out/photo.bmp"
  convert "$picture" "$out/photo.png"
  convert "$picture" -quality 90 "$out/photo.webp"
  convert "$picture" -compress lzw "$out/photo.tif"
fi
kib_mib() { awk -v k="$1" 'BEGIN { print k / 1024 }'; }
times() { cut -d' ' -f1 "$out/$1" | median; }
peak() { kib_mib "$(cut -d' ' -f2 "$out/$1" | median)"; }
cpu() { cut -d' ' -f3 "$out/$1" | median; }
measured() { "$bin/scenewright_run_measured" "$@"; }
# Every kind against feh --bg-fill (time at most 0.9x, peak memory at most 0.5x), the JPEG also
# against xwallpaper --zoom (time at most 0.9x); CPU time (user and system, every thread) beside.
goals() {  # label ours-prefix feh-prefix
  local kind what
  for kind in $kinds; do
    what=${kind^^} && what="$1 ${what/%JPG/JPEG}" && what=${what/%TIF/TIFF} && what=${what/%WEBP/WebP}
    ratio_row "$what, wall time" "$(times $2.$kind)" ms "$(times $3.$kind)" "feh --bg-fill" 0.9
    [[ $kind != jpg ]] || ratio_row "$what, wall time" "$(times $2.$kind)" ms "$(times xwallpaper.jpg)" "xwallpaper --zoom" 0.9
    ratio_row "$what, peak memory" "$(peak $2.$kind)" MiB "$(peak $3.$kind)" "feh --bg-fill" 0.5
    awk -v v="$(cpu $2.$kind)" -v r="$(cpu $3.$kind)" 'BEGIN {
      printf "  %-32s %10.2f ms    (no goal)          | %-26s %10.2f ms    ratio %6.2fx\n", "CPU time", v, "feh --bg-fill", r, v / r }'
  done
}

if want apply; then
echo "== Apply on a bare X server ($screen): a 6000 x 4000 picture to the wallpaper bitmap and the root =="
echo "   (median of 7; every program runs once a round, in turn, so shared-machine noise hits all alike)"
for kind in $kinds; do
  for name in ours feh hsetroot; do : >"$out/$name.$kind"; done
done
: >"$out/xwallpaper.jpg" && : >"$out/djpeg.jpg"
for _ in 1 2 3 4 5 6 7; do
  for kind in $kinds; do
    measured "$bin/scenewright_apply_once" "$out/photo.$kind" >>"$out/ours.$kind"
    measured feh --no-fehbg --bg-fill "$out/photo.$kind" >>"$out/feh.$kind"
    measured --stdout /dev/null hsetroot -fill "$out/photo.$kind" >>"$out/hsetroot.$kind"
  done
  measured xwallpaper --zoom "$picture" >>"$out/xwallpaper.jpg"
  measured --stdout "$out/djpeg.bmp" djpeg -bmp "$picture" >>"$out/djpeg.jpg"
done
goals Apply ours feh
for kind in $kinds; do
  row "  beside, $kind" "$(times ours.$kind)" ms "$(times feh.$kind)" "$(times hsetroot.$kind)" "hsetroot -fill"
done
row "  beside, jpg" "$(times ours.jpg)" ms "$(times feh.jpg)" "$(times djpeg.jpg)" "djpeg -bmp (no root)"
cmp -s -i 54 "$out/djpeg.bmp" "$XDG_CACHE_HOME/scenewright.bmp" && echo "(the bitmap's pixels equal djpeg's byte for byte)"
fi

if want monitors; then
echo
echo "== The same JPEG on two monitors (RandR monitors, the screen's two halves), beside one (median of 7) =="
width=${screen%x*} height=${screen#*x}
: >"$out/one.jpg" && : >"$out/two.jpg"
for _ in 1 2 3 4 5 6 7; do
  measured "$bin/scenewright_apply_once" "$picture" >>"$out/one.jpg"
  xrandr --setmonitor left $((width / 2))/1x"$height"/1+0+0 screen >/dev/null
  xrandr --setmonitor right $((width / 2))/1x"$height"/1+$((width / 2))+0 none >/dev/null
  measured "$bin/scenewright_apply_once" "$picture" >>"$out/two.jpg"
  xrandr --delmonitor left && xrandr --delmonitor right
done
row "Apply JPEG, two monitors" "$(times two.jpg)" ms "$(times one.jpg)" "$(times one.jpg)" "one monitor"
fi

# A program folder of its own: the settings and the list live beside the executable.
make_program() {  # folder entries interval
  mkdir -p "$1"
  cp "$build/src/ui/qt/scenewright" "$1/"
  printf '[General]\r\nautostart=0\r\nnewonstart=0\r\nrandom=0\r\ninterval=%s\r\ncurrentindex=-1\r\n' "$3" >"$1/scenewright.ini"
  : >"$1/wallpaper.dat"
  for ((i = 0; i < $2; i++)); do printf '%s/pictures/picture-%05d.jpg\r\n' "$out" "$i"; done >"$1/wallpaper.dat"
}
# CPU nanoseconds of every thread of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { print s }'; }
rss_kib() { awk '/^VmRSS/ { print $2 }' /proc/"$1"/status; }
window_of() {
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [[ -n $w ]] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

if want start; then
echo
echo "== Seen by the user: start with a one-entry list and change on start, until the root shows it =="
echo "   (median of 7, beside each reference's whole run)"
[[ -s $out/xwallpaper.jpg ]] || : >"$out/xwallpaper.jpg"
for kind in $kinds; do
  make_program "$out/once-$kind" 0 0
  printf '%s\r\n' "$out/photo.$kind" >"$out/once-$kind/wallpaper.dat"
  sed -i 's/newonstart=0/newonstart=1/' "$out/once-$kind/scenewright.ini"
  : >"$out/start.$kind" && : >"$out/feh-run.$kind"
done
for _ in 1 2 3 4 5 6 7; do
  for kind in $kinds; do
    "$bin/scenewright_time_to_window" --root 20000 "$out/once-$kind/scenewright" >>"$out/start.$kind"
    measured feh --no-fehbg --bg-fill "$out/photo.$kind" >>"$out/feh-run.$kind"
  done
  want apply || measured xwallpaper --zoom "$picture" >>"$out/xwallpaper.jpg"
done
goals "Start to root shown," start feh-run
fi

if want preview; then
echo
echo "== Preview of the 6000 x 4000 JPEG in its 213 x 160 box (median of 7) =="
for mode in box full none; do : >"$out/preview-$mode"; : >"$out/preview-$mode.ms"; done
: >"$out/djpeg-eighth"
for _ in 1 2 3 4 5 6 7; do
  for mode in box full none; do
    measured --stdout "$out/ms" "$bin/scenewright_preview_once" $mode "$picture" >>"$out/preview-$mode"
    cat "$out/ms" >>"$out/preview-$mode.ms"
  done
  measured --stdout /dev/null djpeg -scale 1/8 "$picture" >>"$out/djpeg-eighth"
done
full_ms=$(median <"$out/preview-full.ms")
row "Preview decode, time" "$(median <"$out/preview-box.ms")" ms "$(awk -v f="$full_ms" 'BEGIN { print 0.15 * f }')" \
  "$full_ms" "the full decode"
row "  beside" "$(median <"$out/preview-box.ms")" ms "$(awk -v f="$full_ms" 'BEGIN { print 0.15 * f }')" \
  "$(times djpeg-eighth)" "djpeg -scale 1/8, whole run"
row "Preview, memory added" "$(awk -v b="$(peak preview-box)" -v n="$(peak preview-none)" 'BEGIN { print b - n }')" MiB 2 \
  "$(awk -v b="$(peak preview-full)" -v n="$(peak preview-none)" 'BEGIN { print b - n }')" "the full decode"
fi

if want idle; then
echo
idle_seconds=${IDLE_SECONDS:-120}
echo "== Idle: minimised in the tray, 100 pictures, timed changes on; two runs of $idle_seconds s =="
echo "   (beside a do-nothing Qt program with a 100 ms timer and a hidden window, run at the same time)"
mkdir -p "$out/pictures"
convert -size 64x48 xc:steelblue "$out/pictures/picture-00000.jpg"
for i in $(seq 1 99); do cp "$out/pictures/picture-00000.jpg" "$(printf '%s/pictures/picture-%05d.jpg' "$out" "$i")"; done
make_program "$out/idle" 100 3600
for run in 1 2; do
  "$out/idle/scenewright" & ours=$!
  "$bin/scenewright_idle_reference" & reference=$!
  xdotool windowminimize "$(window_of Scenewright)"
  sleep 2  # hidden at the next tick; the reference hides itself
  ours_cpu=$(cpu_ns $ours); reference_cpu=$(cpu_ns $reference)
  sleep "$idle_seconds"
  ours_cpu=$(( $(cpu_ns $ours) - ours_cpu )); reference_cpu=$(( $(cpu_ns $reference) - reference_cpu ))
  ours_rss=$(rss_kib $ours); reference_rss=$(rss_kib $reference)
  hidden=$(xdotool search --onlyvisible --name '^Scenewright$' 2>/dev/null | wc -l || true)
  kill -TERM $ours $reference; wait $ours $reference 2>/dev/null || true
  [[ $hidden -eq 0 ]] || echo "(the window did not stay hidden)"
  percent() { awk -v n="$1" -v s="$idle_seconds" 'BEGIN { print 100 * n / (s * 1e9) }'; }
  row "Idle run $run, CPU of one core" "$(percent $ours_cpu)" % "$(percent $(( reference_cpu * 115 / 100 )))" \
    "$(percent $reference_cpu)" "idle Qt, 100 ms timer"
  row "Idle run $run, resident memory" "$(kib_mib $ours_rss)" MiB "$(kib_mib $(( reference_rss * 12 / 10 )))" \
    "$(kib_mib $reference_rss)" "idle Qt, 100 ms timer"
done
fi

want scale || exit 0
echo
echo "== Scale: the largest list =="
make_program "$out/large" 32767 3600
make_program "$out/empty" 0 3600
: >"$out/large.ms" && : >"$out/empty.ms"
for _ in 1 2 3 4 5; do
  "$bin/scenewright_time_to_window" Scenewright 10000 "$out/large/scenewright" >>"$out/large.ms"
  "$bin/scenewright_time_to_window" Scenewright 10000 "$out/empty/scenewright" >>"$out/empty.ms"
done
row "Start-up to window, 32767 entries" "$(median <"$out/large.ms")" ms 250 "$(median <"$out/empty.ms")" "the same, empty list"
"$bin/scenewright_bench_scale"
