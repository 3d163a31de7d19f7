#!/usr/bin/env bash
# Peak memory of the Windows build's picture path under Wine, one picture a process: a real
# 20000 x 20000 baseline JPEG, a legitimate 10000 x 8000 photo, a progressive JPEG declaring
# 10000 x 17800 without chroma subsampling, a BMP whose 32-bit sizes would wrap past 4 GiB
# and a PNG declaring 12000 x 14800 at 16 bits a channel. Run from the source tree after
# `cmake --build --preset windows --target scenewright_apply_once_win32`.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build=build/windows
work=$build/bench-pictures
mkdir -p "$work"

# A gradient as a PPM stream, encoded row by row, so no tool holds the picture whole.
gradient() {  # width height
  python3 - "$1" "$2" <<'PY'
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
out = sys.stdout.buffer
out.write(b"P6\n%d %d\n255\n" % (w, h))
row = bytes(v for x in range(w) for v in (x * 255 // w, 128, 255 - x * 255 // w))
for y in range(h):
    out.write(row if y % 64 else bytes(len(row)))
PY
}
[[ -s $work/baseline-20000.jpg ]] || gradient 20000 20000 | cjpeg -quality 80 >"$work/baseline-20000.jpg"
[[ -s $work/photo-10000x8000.jpg ]] || gradient 10000 8000 | cjpeg -quality 90 >"$work/photo-10000x8000.jpg"
# Small files declaring large pictures: a real small picture with its size fields rewritten.
python3 - "$work" <<'PY'
import struct, subprocess, sys, zlib
work = sys.argv[1]
small = subprocess.run(["convert", "-size", "64x64", "plasma:", "-interlace", "JPEG", "-sampling-factor", "1x1",
                        "jpeg:-"], capture_output=True, check=True).stdout
at = small.index(b"\xff\xc2")  # the progressive frame header: height, then width
open(f"{work}/progressive-10000x17800.jpg", "wb").write(small[:at + 5] + struct.pack(">HH", 17800, 10000) + small[at + 9:])
bmp = bytearray(subprocess.run(["convert", "-size", "64x64", "xc:gray", "BMP3:-"], capture_output=True, check=True).stdout)
bmp[18:26] = struct.pack("<ii", 40000, 40000)  # 4.8 GB of rows: past 4 GiB
open(f"{work}/wrap-40000.bmp", "wb").write(bmp)
def chunk(kind, data): return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 12000, 14800, 16, 6, 0, 0, 0)) + \
      chunk(b"IDAT", zlib.compress(b"\0" * 20000)) + chunk(b"IEND", b"")
open(f"{work}/png-12000x14800.png", "wb").write(png)
PY

for picture in baseline-20000.jpg photo-10000x8000.jpg progressive-10000x17800.jpg wrap-40000.bmp png-12000x14800.png; do
  printf '%-28s %8s  ' "$picture" "$(du -h "$work/$picture" | cut -f1)"
  tools/wine-run.sh --state "$build/wine-bench" --timeout 600 "$build/bench/win32/scenewright_apply_once_win32.exe" \
    "Z:$PWD/$work/$picture" "Z:$PWD/$work/out.bmp" || true
  rm -f "$work/out.bmp"
done
tools/wine-run.sh --state "$build/wine-bench" --teardown >/dev/null 2>&1 || true
