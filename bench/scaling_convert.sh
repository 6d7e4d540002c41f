#!/usr/bin/env bash
# How tarvo-convert's batch run would scale with cores, from instruction counts per thread.
#
# The run's calling thread reads the input into blocks, writes the converted blocks in input
# order and converts again the first Cartesian records of each; the worker threads convert
# the blocks. valgrind's callgrind counts the instructions of each thread of a run with
# --jobs 2 on N points (N from the first argument, 200000 by default; the points of
# bench/convert_vs_proj.sh) by NTv2 and by the 7-parameter method: start-up (a one-record
# run), the calling thread's instructions per record and the workers' per record. On n cores
# the records' work spreads over all of them, but the calling thread's part is one thread's
# and bounds the rate, so the records go
#   (calling + workers) / max(calling, (calling + workers) / n)
# times as fast as on one core, before memory bandwidth, caches and the cores' clocks, which
# the model leaves out. The script prints that for 1, 2, 4, 8 and 16 cores, and the limit
# (calling + workers) / calling that no number of cores passes.
#
# Usage: bench/scaling_convert.sh [POINTS]
# Needs valgrind and a Release build (build/release, made when missing, as for
# bench/convert_vs_proj.sh).
set -euo pipefail

points=${1:-200000}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_RELEASE_BUILD:-$root/build/release}

source "$root/bench/convert_setup.sh"
grid=$(NationalGrid)
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }
BuildConverter "$build"
tarvo=$build/tarvo-convert

ScratchFolder
Zone56Points "$points" points.txt
head -n 1 points.txt > one.txt

# The instructions of each thread of one run, main thread first, one line each.
threads() {
  local input=$1
  shift
  rm -f callgrind.out.*
  valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file=callgrind.out.%p \
    "$tarvo" -q -f -T ssv -F 1,2 --from AMG:56 --to MGA:56 --contents results-only \
    -i "$input" -o out.txt --jobs 2 "$@" 2>/dev/null
  for file in $(ls callgrind.out.* | sort -t- -k2 -n); do
    awk '/^(summary|totals):/ { print $2; exit }' "$file"
  done
}

printf '%-6s %12s %12s %12s   speed-up on 1 2 4 8 16 cores, limit\n' method "start-up" \
  "calling/rec" "workers/rec"
for method in ntv2 7p; do
  if [ "$method" = ntv2 ]; then args=(--method ntv2 --grid "$grid"); else
    args=(--method medium --params national); fi
  start=$(threads one.txt "${args[@]}" | awk '{ s += $1 } END { print s }')
  read -r calling workers < <(threads points.txt "${args[@]}" |
    awk 'NR == 1 { c = $1 } NR > 1 { w += $1 } END { print c, w }')
  awk -v s="$start" -v c="$calling" -v w="$workers" -v n="$points" -v m="$method" 'BEGIN {
    c = (c - s) / n; w = w / n
    printf "%-6s %12.0f %12.0f %12.0f  ", m, s, c, w
    for (t = 1; t <= 16; t *= 2) { b = (c + w) / t; if (c > b) b = c; printf " %5.1f", (c + w) / b }
    printf "   %5.1f\n", (c + w) / c }'
done
