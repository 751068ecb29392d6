#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs each; every one prints our figure
# beside its reference from the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKEVRA_BENCH=ON -DKEVRA_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)"
for b in build-bench/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$@"
done
