#!/usr/bin/env bash
# The measurements themselves; bench/run.sh runs this inside a virtual desktop.
set -euo pipefail
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
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

echo "== Apply: a 6000 x 4000 JPEG to the wallpaper bitmap, against djpeg -bmp (median of 7) =="
picture=$out/photo.jpg
convert -size 600x400 plasma:fractal -resize 6000x4000! -attenuate 0.3 +noise Gaussian -quality 90 "$picture"
: >"$out/ours" && : >"$out/djpeg"
for _ in 1 2 3 4 5 6 7; do
  "$bin/scenewright_run_measured" "$bin/scenewright_apply_once" "$picture" >>"$out/ours"
  "$bin/scenewright_run_measured" --stdout "$out/djpeg.bmp" djpeg -bmp "$picture" >>"$out/djpeg"
done
cmp -s -i 54 "$out/djpeg.bmp" "$XDG_CACHE_HOME/scenewright.bmp" && echo "(the bitmap's pixels equal djpeg's byte for byte)"
ours_ms=$(cut -d' ' -f1 "$out/ours" | median); djpeg_ms=$(cut -d' ' -f1 "$out/djpeg" | median)
ours_kib=$(cut -d' ' -f2 "$out/ours" | median); djpeg_kib=$(cut -d' ' -f2 "$out/djpeg" | median)
row "Apply, wall time" "$ours_ms" ms "$djpeg_ms" "$djpeg_ms" "djpeg -bmp"
row "Apply, peak memory" "$(awk -v k="$ours_kib" 'BEGIN{print k/1024}')" MiB \
  "$(awk -v k="$djpeg_kib" 'BEGIN{print 1.2*k/1024}')" "$(awk -v k="$djpeg_kib" 'BEGIN{print k/1024}')" "djpeg -bmp"

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

echo
echo "== Idle: 60 s minimised in the tray, 100 pictures, timed changes on =="
mkdir -p "$out/pictures"
convert -size 64x48 xc:steelblue "$out/pictures/picture-00000.jpg"
for i in $(seq 1 99); do cp "$out/pictures/picture-00000.jpg" "$(printf '%s/pictures/picture-%05d.jpg' "$out" "$i")"; done
make_program "$out/idle" 100 3600
"$out/idle/scenewright" & ours=$!
"$bin/scenewright_idle_reference" & reference=$!
xdotool windowminimize "$(window_of Scenewright)"
sleep 2  # hidden at the next tick; the reference hides itself
ours_cpu=$(cpu_ns $ours); reference_cpu=$(cpu_ns $reference)
sleep 60
ours_cpu=$(( $(cpu_ns $ours) - ours_cpu )); reference_cpu=$(( $(cpu_ns $reference) - reference_cpu ))
ours_rss=$(rss_kib $ours); reference_rss=$(rss_kib $reference)
hidden=$(xdotool search --onlyvisible --name '^Scenewright$' 2>/dev/null | wc -l || true)
kill -TERM $ours $reference; wait $ours $reference 2>/dev/null || true
[[ $hidden -eq 0 ]] && echo "(the window stayed hidden throughout)"
percent() { awk -v n="$1" 'BEGIN { print 100 * n / 60e9 }'; }
row "Idle, CPU of one core" "$(percent $ours_cpu)" % 0.05 "$(percent $reference_cpu)" "idle Qt, 100 ms timer"
row "Idle, resident memory" "$(awk -v k="$ours_rss" 'BEGIN{print k/1024}')" MiB 40 \
  "$(awk -v k="$reference_rss" 'BEGIN{print k/1024}')" "idle Qt, 100 ms timer"

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
