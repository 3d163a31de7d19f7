#!/usr/bin/env bash
# Builds the Linux program and its benchmarks, then measures them inside a private virtual
# desktop (a bare X server of 1920 x 1080) and prints the figures, then a table of the ratios
# to the references, with the machine's name, to paste into the README. Takes about twelve
# minutes, four of them the idle measurement (IDLE_SECONDS a run, two runs).
#   bench/run.sh [--runs N] [SECTION...]   only these: apply monitors start preview idle scale;
#                                          N whole runs, each ratio then given with its spread
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=1
if [[ ${1:-} == --runs ]]; then
  runs=$2
  shift 2
fi
tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" >/dev/null
results=$PWD/build/linux/bench-runs
rm -rf "$results" && mkdir -p "$results"
for ((run = 1; run <= runs; run++)); do
  ((runs == 1)) || echo "=== Run $run of $runs ==="
  RATIOS=$results/run-$run.tsv tools/with-desktop.sh --screen 1920x1080x24 bench/measure.sh "$@"
done
compgen -G "$results/run-*.tsv" >/dev/null || exit 0

# Each ratio: its median over the runs, and the lowest and highest.
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
echo
echo "Machine: $cpu, $(nproc) cores, Debian $(cat /etc/debian_version 2>/dev/null || echo '?');" \
  "$runs run(s) of bench/run.sh, each figure the median of 7"
echo
awk -F'\t' -v runs="$runs" '
  function middle(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    low = a[1]; high = a[n]
    return a[int((n + 1) / 2)]
  }
  {
    key = $1 "|" $4
    if (!(key in seen)) { seen[key] = 1; order[++count] = key; name[key] = $1; unit[key] = $3; reference[key] = $4; goal[key] = $7 }
    ours[key] = ours[key] " " $2; theirs[key] = theirs[key] " " $5; ratio[key] = ratio[key] " " $6
    if ($6 > $7 + 0) missed[key]++
  }
  END {
    print "| figure | ours | reference | ratio | spread over " runs " run(s) | goal |"
    print "|---|---|---|---|---|---|"
    for (i = 1; i <= count; i++) {
      k = order[i]
      r = middle(ratio[k]); spread = sprintf("%.2fx-%.2fx", low, high)
      printf "| %s | %s %s | %s %s %s | %.2fx | %s | at most %.2gx: %s |\n", name[k], middle(ours[k]), unit[k],
             reference[k], middle(theirs[k]), unit[k], r, spread, goal[k],
             missed[k] ? "MISSED in " missed[k] " of " runs : "met"
    }
  }' "$results"/run-*.tsv
