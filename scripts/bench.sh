#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them; every one prints our figure
# beside its reference from the same run.
#
# usage: scripts/bench.sh [--runs N] [--filter REGEX] [NAME...]
#
# NAME picks benchmarks by the part of the program's name before "_bench"
# (passthrough, labeljob, datamatrix, ...); all of them when none is named.
# --runs N      the process benchmarks (passthrough, labeljob) time each
#               program N times and keep the best (default 5)
# --filter RE   passed to the encoder benchmarks as --benchmark_filter=RE
set -euo pipefail
cd "$(dirname "$0")/.."

# The benchmarks that run programs as processes and take a run count; the
# others are encoder benchmarks on the benchmark library's own options.
process_benches=" passthrough labeljob "

usage() {
  sed -n '5,11s/^# \{0,1\}//p' "$0"
}
fail() {
  echo "bench.sh: $*" >&2
  usage >&2
  exit 2
}

runs=""
filter=""
names=()
while [ $# -gt 0 ]; do
  case $1 in
  --runs)
    [ $# -ge 2 ] || fail "--runs needs a number"
    runs=$2
    shift 2
    ;;
  --runs=*)
    runs=${1#--runs=}
    shift
    ;;
  --filter)
    [ $# -ge 2 ] || fail "--filter needs a regular expression"
    filter=$2
    shift 2
    ;;
  --filter=*)
    filter=${1#--filter=}
    shift
    ;;
  -h | --help)
    usage
    exit 0
    ;;
  -*) fail "unknown option '$1'" ;;
  *)
    names+=("$1")
    shift
    ;;
  esac
done
if [ -n "$runs" ] && ! [[ $runs =~ ^[1-9][0-9]*$ ]]; then
  fail "--runs takes a whole number of at least 1, not '$runs'"
fi

# Every benchmark source names one program; unknown names are refused before
# anything is built.
known=()
for src in bench/*_bench.cpp; do
  b=$(basename "$src" .cpp)
  known+=("${b%_bench}")
done
for n in "${names[@]}"; do
  [[ " ${known[*]} " == *" $n "* ]] || fail "no benchmark named '$n' (known: ${known[*]})"
done
[ ${#names[@]} -gt 0 ] || names=("${known[@]}")

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKEVRA_BENCH=ON -DKEVRA_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for n in "${names[@]}"; do
  b=build-bench/bench/${n}_bench
  echo "== ${n}_bench"
  args=()
  if [[ $process_benches == *" $n "* ]]; then
    [ -z "$runs" ] || args+=("$runs")
  elif [ -n "$filter" ]; then
    args+=("--benchmark_filter=$filter")
  fi
  "$b" "${args[@]}"
done
