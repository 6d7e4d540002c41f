#!/usr/bin/env bash
# Records the golden outputs (tests/golden/expected) afresh from the code as it is now: builds
# the golden test program as ./test.sh builds it and runs it in record mode. Only for a
# deliberate change of output; commit the new files in a commit that says why they changed.
# See tests/golden/README.md.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
# The cases with the real national grid need the shared data beside the checkout; without
# it their golden files stay as they are.
if [ -z "${TARVO_SHARED_DATA:-}" ] && [ -d ../shared ]; then
  TARVO_SHARED_DATA=$(cd ../shared && pwd)
  export TARVO_SHARED_DATA
fi
[ -n "${TARVO_SHARED_DATA:-}" ] || echo "TARVO_SHARED_DATA is not set: the national grid cases are kept"

build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_golden
TARVO_GOLDEN_RECORD=1 "$build/test_golden" --gtest_brief=1
git status --short tests/golden/expected
