#!/usr/bin/env bash
# Builds the fuzz targets and runs each for the given number of seconds (default 20).
# Each run starts from the project's seed corpus and works in a copy under build/fuzz.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
passed=0 failed=0
for target in $(ls tests/fuzz/*Fuzzer.cpp | xargs -n1 basename | sed 's/\.cpp$//'); do
  seeds=tests/fuzz/corpus/$(echo "${target%Fuzzer}" | tr 'A-Z' 'a-z' | sed 's/file$//')
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  [[ -d $seeds ]] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  echo "== $target: ${seconds}s =="
  # Under the same 768 MiB as a machine that small: an allocation past it fails, as there,
  # rather than being counted a finding (libpng reserves a chunk's declared length before it
  # reads the chunk: an 800 MB text in a 400-byte file). The sanitizer's own hold on freed
  # memory is kept small, so that a long run's resident memory is the pictures', not its own.
  if ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=768:quarantine_size_mb=32 \
     build/fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=768 \
       -artifact_prefix=build/fuzz/ -print_final_stats=1 "$work" 2>build/fuzz/"$target".log; then
    grep -E 'stat::number_of_executed_units' build/fuzz/"$target".log || true
    passed=$((passed + 1))
  else
    tail -40 build/fuzz/"$target".log
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
