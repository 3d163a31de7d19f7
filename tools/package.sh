#!/usr/bin/env bash
# Builds both programs and packs them: build/linux/package/scenewright_<version>_<arch>.deb
# and build/windows/package/scenewright-<version>-windows-x64.zip.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
for preset in linux windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target scenewright $([[ $preset == linux ]] && echo scenewright_icons)
  (cd "build/$preset" && cpack)
done
ls build/linux/package/*.deb build/windows/package/*.zip
