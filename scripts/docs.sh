#!/usr/bin/env bash
# Regenerates the images in docs/ with the real engine: the font sheet
# (docs/font-sheet.png), a sample label (docs/sample-label.png) and the
# Printronix driver's plot font as that driver prints it
# (docs/prntrnx-font-sheet.png). Needs the test dependencies (scripts/test.sh
# installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target test_fields test_drv_prntrnx -j2 >/dev/null
mkdir -p docs
KEVRA_WRITE_DOCS="$PWD/docs" ./build/tests/test_fields --gtest_filter='FontDocs.*' >/dev/null
KEVRA_WRITE_DOCS="$PWD/docs" ./build/tests/test_drv_prntrnx --gtest_filter='PrntrnxFontDocs.*' >/dev/null
ls -l docs/font-sheet.png docs/sample-label.png docs/prntrnx-font-sheet.png
