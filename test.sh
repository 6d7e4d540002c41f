#!/usr/bin/env bash
# Builds Tarvo in Debug with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test, then each fuzz target briefly. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}" \
  "${PYTHON_PACKAGES[@]}"
ensure_locale de_DE.UTF-8

# Real NTv2 grids and PROJ-made tables live in the shared folder beside the checkout; the
# tests that need them are skipped where it is absent.
if [ -z "${TARVO_SHARED_DATA:-}" ] && [ -d ../shared ]; then
  TARVO_SHARED_DATA=$(cd ../shared && pwd)
  export TARVO_SHARED_DATA
fi

# The Python module is built into the same sanitized tree and its pytest run is one of the
# CTest tests, under a preloaded sanitizer runtime (python/CMakeLists.txt): no second build.
build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON -DTARVO_PYTHON=ON
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# A few seconds of each fuzz target (fuzz/), so they keep building and a fault that a short
# run finds fails the tests.
fuzz/run.sh 5
