#!/usr/bin/env bash
# Builds the Linux program and its benchmarks, then measures them inside a private virtual
# desktop and prints the table. Takes about two minutes, one of them the idle measurement.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" >/dev/null
exec tools/with-desktop.sh bench/measure.sh
