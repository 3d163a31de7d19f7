#!/usr/bin/env bash
# The last commit exported with `git archive` to another path (no .git, as a release is
# downloaded) and built there later, without SOURCE_DATE_EPOCH, gives the same bytes as this
# build folder dated as such a build is (by the release date): the given files are compared.
#   reproducible.sh SOURCE_DIR BUILD_DIR PRESET GENERATOR -DCMAKE_BUILD_TYPE=... RELEASE_EPOCH TARGETS FILE...
#   (TARGETS: comma-separated)
set -euo pipefail
src=$1 build=$(cd "$2" && pwd) preset=$3 generator=$4 build_type=$5 released=$6 targets=${7//,/ } && shift 7
[[ $(git -C "$src" rev-parse --show-toplevel 2>/dev/null) -ef $src ]] || { echo "sources without git: skipped"; exit 77; }
[[ -z $(git -C "$src" status --porcelain --untracked-files=no) ]] || { echo "uncommitted changes: skipped"; exit 77; }
export_dir=$(mktemp -d /tmp/scenewright-export.XXXXXX)
pack() { nice cmake --build "$1" -j "$(nproc)" --target $targets >/dev/null && (cd "$1" && cpack >/dev/null); }
# The build folder's MSI made again at the end, dated as its own builds are.
trap 'rm -rf "$export_dir" "$build"/package/*.msi; (unset SOURCE_DATE_EPOCH && pack "$build")' EXIT
git -C "$src" archive HEAD | tar -x -C "$export_dir"
(cd "$export_dir" && cmake --preset "$preset" -G "$generator" "$build_type" >/dev/null)
rm -f "$build"/package/*.msi  # made when built, so dated by the build that made it
(export SOURCE_DATE_EPOCH=$released && pack "$build")
(unset SOURCE_DATE_EPOCH && pack "$export_dir/build/$preset")
for file in "$@"; do cmp "$build"/$file "$export_dir/build/$preset"/$file; done
