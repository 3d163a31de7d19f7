#!/usr/bin/env bash
# The last commit built twice, here and in a fresh clone at another path and a later time,
# gives the same bytes: the given files of the two build folders are compared.
#   reproducible.sh BUILD_DIR PRESET TARGETS FILE...   (TARGETS: comma-separated)
set -euo pipefail
build=$(cd "$1" && pwd) preset=$2 targets=${3//,/ } && shift 3
src=$(git -C "$build" rev-parse --show-toplevel)
[[ -z $(git -C "$src" status --porcelain --untracked-files=no) ]] || { echo "uncommitted changes: skipped"; exit 77; }
export SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct)
clone=$(mktemp -d /tmp/scenewright-twice.XXXXXX)
trap 'rm -rf "$clone"' EXIT
git clone -q "$src" "$clone" && git -C "$clone" checkout -q "$(git -C "$src" rev-parse HEAD)"
(cd "$clone" && cmake --preset "$preset" >/dev/null)
for dir in "$build" "$clone/build/$preset"; do
  nice cmake --build "$dir" -j "$(nproc)" --target $targets >/dev/null && (cd "$dir" && cpack >/dev/null)
done
for file in "$@"; do cmp "$build"/$file "$clone/build/$preset"/$file; done
