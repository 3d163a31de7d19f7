#!/usr/bin/env bash
# Builds both programs and packs them: build/linux/package/scenewright_<version>_<arch>.deb,
# build/windows/package/scenewright-<version>-windows-x64.zip and
# build/windows/package/scenewright-<version>-x64.msi. Every file carries the time of the last
# commit, so that the same commit always gives the same bytes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
for preset in linux windows; do
  cmake --preset "$preset" >/dev/null
  targets=(scenewright scenewright_icons)
  [[ $preset == windows ]] && targets=(scenewright scenewright_msi)
  cmake --build --preset "$preset" -j "$(nproc)" --target "${targets[@]}"
  (cd "build/$preset" && cpack)
done
ls build/linux/package/*.deb build/windows/package/*.zip build/windows/package/*.msi
