# What the whole-process scripts of bench/ share; sourced with `root` set to the checkout.
#   NationalGrid             prints the national AGD66 grid's path (TARVO_SHARED_DATA, else
#                            ../shared beside the checkout), or fails saying where it looked
#   BuildConverter DIR ARGS  builds tarvo-convert in DIR (Release, no GUI, tests or
#                            benchmarks; ARGS added to the configuration) unless it is there
#   ScratchFolder            makes a folder of its own (`work`), removed on exit, and changes
#                            into it: tarvo-convert reads no saved settings there
#   Zone56Points N FILE      writes N random AGD/AMG zone 56 points, "East North" in
#                            millimetres, over 26 to 36 degrees south, all inside the grid

NationalGrid() {
  local shared=${TARVO_SHARED_DATA:-}
  if [ -z "$shared" ] && [ -d "$root/../shared" ]; then shared=$(cd "$root/../shared" && pwd); fi
  local grid=$shared/grids/A66_National_13_09_01.gsb
  if [ ! -f "$grid" ]; then
    echo "The national grid is needed: set TARVO_SHARED_DATA (looked for $grid)" >&2
    return 1
  fi
  echo "$grid"
}

BuildConverter() {
  local build=$1
  shift
  [ -x "$build/tarvo-convert" ] && return 0
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARVO_GUI=OFF -DTARVO_TESTS=OFF \
    -DTARVO_BENCH=OFF "$@" >/dev/null
  cmake --build "$build" -j "$(nproc)" --target tarvo-convert >/dev/null
}

ScratchFolder() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cd "$work"
}

Zone56Points() {
  awk -v n="$1" 'BEGIN { srand(20020301);
    for (i = 0; i < n; i++) printf "%.3f %.3f\n", 250000 + rand() * 500000, 6000000 + rand() * 1400000 }' \
    > "$2"
}
