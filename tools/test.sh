#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test: the Linux build, the same unit
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, a short run of each fuzz target,
# and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/setup.sh
# File names in any script pass between the tests' programs as UTF-8, whatever the caller's locale.
export LC_ALL=C.UTF-8

jobs=$(nproc)
failed=()
run_preset() {
  local preset=$1
  echo "== $preset =="
  if cmake --preset "$preset" >/dev/null &&
     cmake --build --preset "$preset" -j "$jobs" &&
     ctest --preset "$preset" -j "$jobs"; then
    return 0
  fi
  failed+=("$preset")
}

run_preset linux
run_preset sanitize
echo "== fuzz =="
tools/fuzz.sh "${FUZZ_SECONDS:-20}" || failed+=(fuzz)
if [[ -f cmake/mingw-w64-x86_64.cmake ]]; then
  run_preset windows
fi

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all test runs passed"
