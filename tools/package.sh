#!/usr/bin/env bash
# Builds both programs and packs them: build/linux/package/scenewright_<version>_<arch>.deb,
# build/windows/package/scenewright-<version>-windows-x64.zip and
# build/windows/package/scenewright-<version>-x64.msi. Every file carries the time of the last
# commit (or, for sources without git, the release date; cmake/SourceDate.cmake), so that the
# same sources always give the same bytes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
for preset in linux windows; do
  cmake --preset "$preset" >/dev/null
  targets=(scenewright scenewright_icons)
  [[ $preset == windows ]] && targets=(scenewright scenewright_msi)
  cmake --build --preset "$preset" -j "$(nproc)" --target "${targets[@]}"
  (cd "build/$preset" && cpack)
done
ls build/linux/package/*.deb build/windows/package/*.zip build/windows/package/*.msi
