#!/usr/bin/env bash
# The window's layout and captions at each system scale: the prefix's LogPixels set in turn,
# then put back.   every-dpi.sh WINE_RUN STATE_DIR WINDOW_TESTS_EXE
set -euo pipefail
dpi() { "$1" --state "$2" --timeout 60 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null; }
trap 'dpi "$1" "$2" 96' EXIT
for d in 96 120 144 192; do
  dpi "$1" "$2" "$d"
  "$1" --state "$2" --timeout 120 "$3" --gtest_filter='*Caption*:*TableRectangles*' --gtest_brief=1 || { echo "FAIL: at $d dpi" >&2; exit 1; }
done
