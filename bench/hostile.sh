#!/usr/bin/env bash
# Peak memory of the picture path for files whose headers declare huge pictures: a progressive
# JPEG of 10000 x 17800 without chroma subsampling (libjpeg keeps every coefficient), a
# lossless WebP of 12000 x 14800 (libwebp keeps every pixel), and, beside them, a legitimate
# 10000 x 8000 photograph. Each is applied once to the bitmap alone and previewed once, each a
# process of its own. The pictures are made once (cjpeg and libwebp need a few GiB for it) and
# kept in build/linux/hostile.
#   bench/hostile.sh     after `cmake --build --preset linux --target scenewright_apply_once
#                        scenewright_preview_once scenewright_run_measured`
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bin=$PWD/build/linux/bench
out=$PWD/build/linux/hostile
mkdir -p "$out/cache"
export XDG_CACHE_HOME=$out/cache
cd "$out"
# A picture of the given size as PPM on stdout (noise over a gradient, or one grey), or a
# lossless WebP of one grey; ImageMagick's limits keep it from pictures this large.
[[ -x make-picture ]] || g++ -O2 -x c++ -o make-picture - -lwebp <<'CPP'
#include <webp/encode.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
int main(int argc, char** argv) {
  const int w = std::atoi(argv[2]), h = std::atoi(argv[3]);
  std::vector<unsigned char> rgb(size_t(w) * 3, 128);
  if (std::strcmp(argv[1], "webp") == 0) {
    std::vector<unsigned char> all(size_t(w) * h * 3, 128);
    unsigned char* out = nullptr;
    const size_t size = WebPEncodeLosslessRGB(all.data(), w, h, w * 3, &out);
    return size == 0 || std::fwrite(out, 1, size, stdout) != size;
  }
  std::printf("P6\n%d %d\n255\n", w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; argv[1][0] == 'p' && x < w * 3; ++x) rgb[x] = (x / 3 * 255 / w + y * 255 / h + std::rand() % 32) / 2;
    std::fwrite(rgb.data(), 1, rgb.size(), stdout);
  }
}
CPP
[[ -s progressive.jpg ]] || ./make-picture grey 10000 17800 | cjpeg -progressive -sample 1x1 >progressive.jpg
[[ -s lossless.webp ]] || ./make-picture webp 12000 14800 >lossless.webp
[[ -s photo.jpg ]] || ./make-picture photo 10000 8000 | cjpeg -quality 90 >photo.jpg
for picture in progressive.jpg lossless.webp photo.jpg; do
  for what in apply preview; do
    if [[ $what == apply ]]; then
      run=("$bin/scenewright_apply_once" --no-desktop "$picture")
    else
      run=("$bin/scenewright_preview_once" box "$picture")
    fi
    result=ok
    measured=$("$bin/scenewright_run_measured" --stdout /dev/null "${run[@]}") || result=refused
    printf '%-16s %-8s %7s KiB file %8.1f MiB peak %8s ms  %s\n' "$picture" "$what" \
      "$(($(stat -c %s "$picture") / 1024))" "$(awk -v k="${measured#* }" 'BEGIN { print k / 1024 }')" \
      "${measured%% *}" "$result"
  done
done
