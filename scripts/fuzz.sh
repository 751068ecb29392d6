#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from its seed corpus,
# for the time fuzz/budget.txt gives it or else the default (first argument,
# 20 seconds when not given).
set -euo pipefail
cd "$(dirname "$0")/.."
default=${1:-20}

targets=$(ls fuzz/*_fuzz.cpp 2>/dev/null || true)
if [ -z "$targets" ]; then
  echo "no fuzz targets"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DKEVRA_FUZZ=ON -DKEVRA_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
# Every target runs even when an earlier one finds a fault; the script fails
# at the end, naming the targets that did.
failed=""
for src in $targets; do
  name=$(basename "$src" .cpp)
  seconds=$(awk -v n="$name" '$1 == n { print $2 }' fuzz/budget.txt)
  seconds=${seconds:-$default}
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "== $name: ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 "build-fuzz/fuzz/$name" -max_total_time="$seconds" \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="build-fuzz/$name-" \
    "$work" "${seeds[@]}" || failed="$failed $name"
done
if [ -n "$failed" ]; then
  echo "fuzz targets that found a fault:$failed (inputs in build-fuzz/)"
  exit 1
fi
