#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build/fuzz and runs each of them for SECONDS (default 60), as many at once as there are
# cores. Exits non-zero when a target finds a fault; its log and the input that caused it
# are kept in build/fuzz/logs and build/fuzz/artifacts.
#
#   fuzz/run.sh 600          # ten minutes per target
#   fuzz/run.sh 5 angle_text # only the targets whose names contain "angle_text"
#
# New inputs the fuzzer finds go to build/fuzz/corpus/<target>; the committed seeds in
# fuzz/corpus/<target> are only read. A crash replays with
#   build/fuzz/fuzz/<target> build/fuzz/artifacts/<target>-crash-...
set -euo pipefail
seconds=${1:-60}
only=${2:-}
cd "$(dirname "$0")/.."
root=$PWD
source scripts/ensure-packages.sh

ensure_packages cmake make "${FUZZ_PACKAGES[@]}"

build=$root/build/fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVO_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

mkdir -p "$build/logs" "$build/artifacts"
# The targets work in a scratch folder of their own under TMPDIR; in memory, the settings
# files the program syncs to disk cost nothing.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
targets=()
for source in fuzz/*_fuzzer.cpp; do
  name=$(basename "$source" .cpp)
  [[ -z "$only" || "$name" == *"$only"* ]] && targets+=("$name")
done

# The longest input each target is given: a grid needs room for its node records.
max_len() {
  case $1 in
    grid_file_fuzzer) echo 8192 ;;
    angle_text_fuzzer) echo 256 ;;
    *) echo 4096 ;;
  esac
}

run_target() {
  local name=$1
  local corpus=$build/corpus/$name
  local options=(-max_total_time="$seconds" -max_len="$(max_len "$name")" -timeout=30
    -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$build/artifacts/$name-")
  [ -f "$root/fuzz/dict/$name.dict" ] && options+=(-dict="$root/fuzz/dict/$name.dict")
  mkdir -p "$corpus"
  "$build/fuzz/$name" "${options[@]}" "$corpus" "$root/fuzz/corpus/$name" \
    >"$build/logs/$name.log" 2>&1
}

failed=0
pids=()
names=()
jobs=$(nproc)
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  run_target "$name" &
  pids+=($!)
  names+=("$name")
done
for i in "${!pids[@]}"; do
  name=${names[$i]}
  if wait "${pids[$i]}"; then
    summary=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$build/logs/$name.log" | tail -1 || true)
    echo "$name: ok  ${summary}"
  else
    failed=1
    echo "$name: FAILED, see $build/logs/$name.log"
    grep -E 'ERROR|SUMMARY|broken promise|Test unit written' "$build/logs/$name.log" | head -5 || true
  fi
done
exit "$failed"
