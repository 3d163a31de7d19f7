#!/usr/bin/env bash
# Peak memory of the Windows build's picture path under Wine, one picture a process: a real
# 20000 x 20000 baseline JPEG, a legitimate 10000 x 8000 photo, and small files declaring
# pictures too large for the memory budget. Run from the source tree after
# `cmake --build --preset windows --target scenewright_apply_once_win32`.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build=build/windows
work=$build/bench-pictures
mkdir -p "$work"

# The test's own pictures declaring their sizes, with the legitimate photo; and a real
# 20000 x 20000 baseline JPEG, a gradient encoded row by row.
python3 tests/platform/win32/pictures.py "$work" --photo
[[ -s $work/real-20000.jpg ]] || python3 - <<'PY' | cjpeg -quality 80 >"$work/real-20000.jpg"
import sys
out = sys.stdout.buffer
out.write(b"P6\n20000 20000\n255\n")
row = bytes(v for x in range(20000) for v in (x * 255 // 20000, 128, 255 - x * 255 // 20000))
for y in range(20000):
    out.write(row)
PY

for picture in real-20000.jpg baseline-20000.jpg photo-10000x8000.jpg progressive-8000.jpg progressive-10000x17800.jpg \
               wrap-40000.bmp rgba16-12000x14800.png screen-60000.gif; do
  printf '%-28s %8s  ' "$picture" "$(du -h "$work/$picture" | cut -f1)"
  tools/wine-run.sh --state "$build/wine-bench" --timeout 600 "$build/bench/win32/scenewright_apply_once_win32.exe" \
    "Z:$PWD/$work/$picture" "Z:$PWD/$work/out.bmp" || true
  rm -f "$work/out.bmp"
done
tools/wine-run.sh --state "$build/wine-bench" --teardown >/dev/null 2>&1 || true
