#!/usr/bin/env bash
# Installs the build in BUILD-FOLDER into a temporary prefix and checks that everything a
# user's installation needs is in its standard place, and that the menu entry is valid.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

missing=0
for file in bin/tarvo bin/tarvo-convert bin/fwdmre bin/revmre \
            share/applications/tarvo.desktop \
            share/icons/hicolor/scalable/apps/tarvo.svg \
            share/man/man1/tarvo-convert.1; do
  [ -e "$prefix/$file" ] || { echo "missing: $file"; missing=1; }
done
for size in 16 24 32 48 64 128 256; do
  file=share/icons/hicolor/${size}x${size}/apps/tarvo.png
  [ -e "$prefix/$file" ] || { echo "missing: $file"; missing=1; }
done
for program in tarvo tarvo-convert fwdmre revmre; do
  [ -x "$prefix/bin/$program" ] || { echo "not executable: bin/$program"; missing=1; }
done
desktop-file-validate "$prefix/share/applications/tarvo.desktop"
"$prefix/bin/tarvo-convert" --version >/dev/null
[ "$missing" -eq 0 ]
echo "install tree complete"
