# Sourced by run.sh and test.sh: installs the Debian/Ubuntu packages that are missing, and
# nothing else, so a prepared machine starts at once.

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages NAME...: installs every NAME that dpkg does not report as installed.
ensure_packages() {
  local missing=()
  local name
  for name in "$@"; do
    dpkg -s "$name" >/dev/null 2>&1 || missing+=("$name")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}"
  fi
}

# The packages every build needs: compiler, CMake, Qt 6 Widgets and a font for its labels.
BUILD_PACKAGES=(g++ make cmake qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
  fonts-liberation2)
# Added for the tests: GoogleTest, Google Benchmark, PROJ as the oracle, locales for the
# comma-decimal test, desktop-file-validate for the menu entry.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev proj-bin locales desktop-file-utils)
# The fuzz targets (fuzz/): clang with its sanitizer and libFuzzer runtimes.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The Python module (python/) and its tests, for Debian's own Python: pybind11 and numpy to
# build it, pytest to test it; pyproj, pandas and Dask for the examples and comparisons that
# build on it. Debian 12 has no pyarrow package: Parquet output is optional there.
PYTHON_PACKAGES=(python3-dev pybind11-dev python3-numpy python3-pytest python3-pyproj
  python3-pandas python3-dask python3-distributed)

# ensure_locale NAME: generates a locale such as de_DE.UTF-8 when it is not available yet.
ensure_locale() {
  local want=$1
  local normal
  normal=$(echo "$want" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
  if locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -qx "$normal"; then
    return 0
  fi
  if [ -f /etc/locale.gen ]; then
    if ! grep -q "^$want UTF-8" /etc/locale.gen; then
      echo "$want UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
  elif command -v locale-gen >/dev/null; then
    as_root locale-gen "$want" >/dev/null
  fi
}
