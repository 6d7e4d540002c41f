#!/usr/bin/env bash
# Whole-process speed of tarvo-convert against PROJ's cs2cs on the same points.
#
# Makes N random zone 56 points (East North, space separated, millimetres; N from the first
# argument, 1000000 by default) and converts them with each tool:
#   ntv2     AGD/AMG to GDA/MGA by the national AGD66 grid
#            ($TARVO_SHARED_DATA/grids/A66_National_13_09_01.gsb)
#            cs2cs +proj=utm +zone=56 +south +ellps=aust_SA +nadgrids=GRID
#              +to +proj=utm +zone=56 +south +ellps=GRS80 +towgs84=0,0,0
#   7p       AGD/AMG to GDA/MGA by the National AGD84 set; PROJ's +towgs84 takes
#            position-vector rotations, so the set's coordinate-frame rotations enter with
#            their signs changed
#   mga2020  MGA94 to MGA2020 by the similarity EPSG:8048: on the GDA94 side as +towgs84
#            (position vector), so that "WGS 84" stands for GDA2020
#   amg2020  AMG66 to MGA2020: the national grid to GDA94, then the similarity; the GDA2020
#            side's +towgs84 is EPSG:8048 reversed (every value negated, which differs from
#            the exact inverse by far less than a micrometre here)
# tarvo-convert runs on every core (its default; JOBS=N sets --jobs N) and, as "tarvo1", on
# one thread (--jobs 1). Each runs RUNS times (5 by default), alternating with cs2cs; the
# script prints the median elapsed and CPU (user + system) seconds, their spread, the ratio
# of cs2cs's median to tarvo-convert's (a throughput ratio) for both, the peak resident
# memory of each, the load average before each method, and the largest difference between
# the two tools' results.
#
# The two tools agree to the millimetre of their output but for the rare point within a few
# decimetres of a sub-grid's limit, where PROJ and Tarvo choose or extrapolate differently
# (a centimetre or two at 154.1 degrees east).
#
# Usage: bench/convert_vs_proj.sh [POINTS]    (RUNS=9 bench/convert_vs_proj.sh 4000000;
#        METHODS="mga2020 amg2020" for some of the four)
# Needs a Release build (made here when missing), PROJ's cs2cs and GNU time (/usr/bin/time,
# Debian package "time").
set -euo pipefail

points=${1:-1000000}
runs=${RUNS:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_RELEASE_BUILD:-$root/build/release}

source "$root/bench/convert_setup.sh"
grid=$(NationalGrid)
if [ ! -x /usr/bin/time ]; then
  echo "Installing GNU time (/usr/bin/time) ..." >&2
  apt-get install -y --no-install-recommends time >/dev/null
fi
command -v cs2cs >/dev/null || { echo "PROJ's cs2cs is not installed (Debian proj-bin)" >&2; exit 1; }

BuildConverter "$build"
tarvo=$build/tarvo-convert

ScratchFolder

Zone56Points "$points" points.txt

common=(-q -f -T ssv -F 1,2 --contents results-only -i points.txt)
agd=(--from AMG:56 --to MGA:56)
jobs=()
[ -n "${JOBS:-}" ] && jobs=(--jobs "$JOBS")
tarvo_ntv2=("$tarvo" "${common[@]}" "${agd[@]}" --method ntv2 --grid "$grid")
tarvo_7p=("$tarvo" "${common[@]}" "${agd[@]}" --method medium --params national)
tarvo_mga2020=("$tarvo" "${common[@]}" --from MGA:56 --to MGA2020:56 --method medium)
tarvo_amg2020=("$tarvo" "${common[@]}" --from AMG:56 --to MGA2020:56 --method ntv2 --grid "$grid")
gda2020=0.06155,-0.01087,-0.04019,0.0394924,0.0327221,0.0328979,-0.009994
gda2020_reversed=-0.06155,0.01087,0.04019,-0.0394924,-0.0327221,-0.0328979,0.009994
proj_ntv2=(cs2cs -f %.3f +proj=utm +zone=56 +south +ellps=aust_SA "+nadgrids=$grid"
  +to +proj=utm +zone=56 +south +ellps=GRS80 +towgs84=0,0,0)
proj_7p=(cs2cs -f %.3f +proj=utm +zone=56 +south +ellps=aust_SA
  +towgs84=-117.763,-51.510,139.061,0.292,0.443,0.277,-0.191
  +to +proj=utm +zone=56 +south +ellps=GRS80 +towgs84=0,0,0)
proj_mga2020=(cs2cs -f %.3f +proj=utm +zone=56 +south +ellps=GRS80 "+towgs84=$gda2020"
  +to +proj=utm +zone=56 +south +ellps=GRS80 +towgs84=0,0,0)
proj_amg2020=(cs2cs -f %.3f +proj=utm +zone=56 +south +ellps=aust_SA "+nadgrids=$grid"
  +to +proj=utm +zone=56 +south +ellps=GRS80 "+towgs84=$gda2020_reversed")

# One timed run: appends "elapsed cpu peak_kB" to the file $1.
timed() {
  local log=$1 output=$2
  shift 2
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" < points.txt > "$output"
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time.txt" >> "$log"
}

# Median, lowest and highest of column $2 of file $1.
stats() {
  sort -g -k"$2","$2" "$1" | awk -v c="$2" '{ v[NR] = $c }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
          printf "%.2f %.2f %.2f\n", m, v[1], v[NR] }'
}

# Largest distance in metres between tarvo's records (after its header block, which ends with
# the "Transformation of" line) and cs2cs's.
difference() {
  paste -d' ' <(sed '1,/^Transformation of/d' "$1") <(tr '\t' ' ' < "$2") |
    awk '{ d = ($1 - $3) ^ 2 + ($2 - $4) ^ 2; if (d > m) m = d } END { printf "%.4f", sqrt(m) }'
}

printf 'tarvo-convert against cs2cs, %d points, %d runs each (medians; min-max)\n' "$points" "$runs"
printf '%-12s %-6s %22s %22s %10s\n' method tool "elapsed s" "cpu s" "peak MB"
for method in ${METHODS:-ntv2 7p mga2020 amg2020}; do
  rm -f tarvo.log tarvo1.log proj.log
  printf '%-12s load average before: %s\n' "$method" "$(cut -d' ' -f1-3 /proc/loadavg)"
  unset -n tarvo_run proj_run
  declare -n tarvo_run="tarvo_$method" proj_run="proj_$method"
  for ((run = 0; run < runs; run++)); do
    timed tarvo.log /dev/null "${tarvo_run[@]}" "${jobs[@]}" -o "tarvo_$method.txt"
    timed tarvo1.log /dev/null "${tarvo_run[@]}" --jobs 1 -o "tarvo1_$method.txt"
    timed proj.log proj_out.txt "${proj_run[@]}"
  done
  cmp -s "tarvo_$method.txt" "tarvo1_$method.txt" ||
    echo "$method: the outputs of all threads and of one thread differ" >&2
  for tool in tarvo tarvo1 proj; do
    read -r e emin emax < <(stats $tool.log 1)
    read -r c cmin cmax < <(stats $tool.log 2)
    read -r m _ mmax < <(stats $tool.log 3)
    printf '%-12s %-6s %8s (%5s-%5s) %8s (%5s-%5s) %10.1f\n' "$method" "$tool" \
      "$e" "$emin" "$emax" "$c" "$cmin" "$cmax" "$(awk -v k="$mmax" 'BEGIN { print k / 1024 }')"
    eval "${tool}_elapsed=$e ${tool}_cpu=$c"
  done
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
  printf '%-12s ratio cs2cs/tarvo-convert: elapsed %s, cpu %s; one thread: elapsed %s, cpu %s\n' \
    "$method" "$(ratio "$proj_elapsed" "$tarvo_elapsed")" "$(ratio "$proj_cpu" "$tarvo_cpu")" \
    "$(ratio "$proj_elapsed" "$tarvo1_elapsed")" "$(ratio "$proj_cpu" "$tarvo1_cpu")"
  printf '%-12s largest difference %s m\n' "$method" "$(difference "tarvo_$method.txt" proj_out.txt)"
done
