#!/usr/bin/env bash
# Builds the Linux program and its benchmarks, then measures them inside a private virtual
# desktop (a bare X server of 1920 x 1080) and prints the table. Takes about eight minutes,
# four of them the idle measurement (IDLE_SECONDS a run, two runs).
#   bench/run.sh [SECTION...]   only these: apply monitors start preview idle scale
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" >/dev/null
exec tools/with-desktop.sh --screen 1920x1080x24 bench/measure.sh "$@"
