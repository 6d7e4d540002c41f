#!/usr/bin/env bash
# Copies the screenshots the GUI tests leave in the test build into docs/screenshots, for the
# README. Run ./test.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=build/test/screenshots
for name in main_window_calculated main_window_outlines options_dialog parameters_dialog_opened \
            grid_file_dialog_header file_conversion_dialog_preview angle_conversion_dialog; do
  cp "$shots/$name.png" "docs/screenshots/$name.png"
done
