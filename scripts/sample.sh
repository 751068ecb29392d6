#!/usr/bin/env bash
# Builds the programs and runs kevra_epsonlq on the bundled sample invoice,
# writing the printer stream to out/invoice-epsonlq.prn (and the same job for
# the other printer programs next to it: kevra_epsonfx, kevra_ibm,
# kevra_hplaser, kevra_prntrnx).
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for p in cmake g++ make; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build-sample -DCMAKE_BUILD_TYPE=Release -DKEVRA_TESTS=OFF >/dev/null
cmake --build build-sample -j"$(nproc)" >/dev/null
mkdir -p out
for prog in build-sample/bin/kevra_*; do
  name=$(basename "$prog")
  # A completed translation exits with status 1 (odd = success).
  status=0
  KEVRA_VERBOSE=N "$prog" < examples/invoice.txt > "out/invoice-${name#kevra_}.prn" || status=$?
  if [ "$status" -ne 1 ]; then
    echo "$name: translation failed (exit status $status)" >&2
    exit 1
  fi
  echo "out/invoice-${name#kevra_}.prn: $(wc -c < "out/invoice-${name#kevra_}.prn") bytes"
done
echo "Send one to its printer raw, for example: lp -d <queue> -o raw out/invoice-epsonlq.prn"
