#!/usr/bin/env bash
# Instructions per record of tarvo-convert, split by function, counted by valgrind's callgrind.
#
# Instruction counts, unlike times, repeat to the instruction on a shared, noisy machine, so
# they are what a change to the per-record cost is judged by. The script makes N AGD/AMG zone
# 56 points (N from the first argument, 1000000 by default; the points of
# bench/convert_vs_proj.sh), the same points as packed latitudes and longitudes and as
# Cartesian X, Y, Z, and converts them (SSV, results only) to GDA/MGA zone 56 in six cases:
#   ntv2-grid  7p-grid   grid to grid, by the national AGD66 grid or the National AGD84 set
#   ntv2-geo   7p-geo    packed latitude and longitude to packed
#   7p-dms               packed to "DDD MM SS.ssss"
#   7p-xyz               Cartesian to Cartesian (the NTv2 method takes no Cartesian values)
# For each case it prints the instructions per record (those of a one-record run taken off,
# which is the start-up: reading the grid, the settings) and the functions that spend most of
# them, each with its own instructions per record (inlined code counts in the function it was
# inlined into). CASES="ntv2-grid 7p-xyz" runs some only; KEEP=DIR keeps the callgrind files.
#
# Usage: bench/profile_convert.sh [POINTS]
# Needs valgrind and a Release build with debug information (made here, in build/profile,
# when missing; TARVO_PROFILE_BUILD names another).
set -euo pipefail

points=${1:-1000000}
cases=${CASES:-ntv2-grid 7p-grid ntv2-geo 7p-geo 7p-dms 7p-xyz}
shown=${FUNCTIONS:-12}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${TARVO_PROFILE_BUILD:-$root/build/profile}")

source "$root/bench/convert_setup.sh"
grid=$(NationalGrid)
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }
BuildConverter "$build" -DCMAKE_CXX_FLAGS=-g
tarvo=$build/tarvo-convert

ScratchFolder

Zone56Points "$points" grid.txt
# The same points as latitude and longitude and as X, Y, Z (after the header block).
"$tarvo" -q -f -T ssv -F 1,2 --from AMG:56 --to AMG:56 --output-units geo --output-format packed \
  --method medium --params national -i grid.txt -o geo_header.txt
tail -n +7 geo_header.txt > geo.txt
"$tarvo" -q -f -T ssv -F 1,2,ignore --from AMG:56 --to AMG:56 --output-units xyz \
  --method medium --params national -i grid.txt -o xyz_header.txt
tail -n +7 xyz_header.txt > xyz.txt
rm geo_header.txt xyz_header.txt

arguments() {
  local common=(-q -f -T ssv --from AMG:56 --to MGA:56 --contents results-only)
  local ntv2=(--method ntv2 --grid "$grid") p7=(--method medium --params national)
  local geo=(--input-units geo --input-format packed --output-units geo -F 1,2 -i "$2"geo.txt)
  case $1 in
    ntv2-grid) echo "${common[@]} -F 1,2 -i $2grid.txt ${ntv2[*]}" ;;
    7p-grid) echo "${common[@]} -F 1,2 -i $2grid.txt ${p7[*]}" ;;
    ntv2-geo) echo "${common[@]} ${geo[*]} --output-format packed ${ntv2[*]}" ;;
    7p-geo) echo "${common[@]} ${geo[*]} --output-format packed ${p7[*]}" ;;
    7p-dms) echo "${common[@]} ${geo[*]} --output-format dms ${p7[*]}" ;;
    7p-xyz) echo "${common[@]} --input-units xyz --output-units xyz -F 1,2,3 -i $2xyz.txt ${p7[*]}" ;;
    *) echo "unknown case $1" >&2; exit 2 ;;
  esac
}
for input in grid geo xyz; do head -1 $input.txt > one_$input.txt; done

# Instructions of one callgrind run; the profile goes to $1.cg.
profile() {
  local name=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$name.cg" "$@" >/dev/null 2>&1
  awk '/^summary:|^totals:/ { print $2; exit }' "$name.cg"
}

printf 'tarvo-convert, %d points: instructions per record by callgrind\n' "$points"
for case in $cases; do
  # shellcheck disable=SC2046
  startup=$(profile one "$tarvo" $(arguments "$case" one_) -o one_out.txt)
  # shellcheck disable=SC2046
  total=$(profile "$case" "$tarvo" $(arguments "$case" "") -o out.txt)
  printf '\n%-10s %8.0f per record\n' "$case" "$(awk -v t="$total" -v s="$startup" -v n="$points" \
    'BEGIN { print (t - s) / (n - 1) }')"
  # Self instructions by function, inlined code added to the function it sits in.
  callgrind_annotate --auto=no --threshold=100 "$case.cg" 2>/dev/null |
    awk -v n="$points" '
      /^ *[0-9,]+ \(/ && /:/ {
        count = $1; gsub(",", "", count)
        line = $0; sub(/^ *[0-9,]+ \([^)]*\) +/, "", line)
        sub(/ \[[^]]*\]$/, "", line)          # the binary
        sub(/^[^:]*:/, "", line)              # the source file
        gsub(/\(anonymous namespace\)::/, "", line)
        gsub(/tarvo::[a-z0-9]+::/, "", line)
        sub(/\(.*$/, "", line)                # the parameters
        if (line == "PROGRAM TOTALS") next
        self[line] += count
      }
      END {
        for (f in self) printf "%12.1f  %s\n", self[f] / n, f
      }' | sort -rn | awk -v shown="$shown" 'NR <= shown'
  if [ -n "${KEEP:-}" ]; then mkdir -p "$KEEP" && cp "$case.cg" "$KEEP/"; fi
done
