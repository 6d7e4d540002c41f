#!/usr/bin/env bash
# Builds Tarvo in Release and starts it.
set -euo pipefail
# The program keeps its settings and report in the folder it starts in: the caller's.
start=$PWD
cd "$(dirname "$0")"
source scripts/ensure-packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARVO_TESTS=OFF -DTARVO_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
program=$PWD/$build/tarvo
cd "$start"
exec "$program" "$@"
