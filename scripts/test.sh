#!/usr/bin/env bash
# Installs what the tests need (Debian 12), builds the project twice (plain,
# and with AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test
# in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

# cups-daemon and cups-client run the spooler tests against a private CUPS
# server; dpkg-dev builds and checks the Debian package; groff-base and man-db
# check the manual pages; libpng-dev writes the preview's pictures and GNU
# time measures its memory.
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libzint-dev
          libzxing-dev libdmtx-dev libzbar-dev libpng-dev clang libclang-rt-14-dev time
          cups-daemon cups-client dpkg-dev groff-base man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The include graph keeps its layers; the self-test first proves the check
# still catches a planted violation.
./scripts/check_layers.sh --self-test
./scripts/check_layers.sh

jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The sanitized build is optimised lightly (-O1, line tables only): it compiles
# in half the time and its stack traces still name files and lines.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DKEVRA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
