#!/usr/bin/env bash
# Builds the programs and runs kevra_epsonlq on the bundled sample invoice,
# writing the printer stream to out/invoice-epsonlq.prn (and the same job for
# the other printer programs next to it: kevra_epsonfx, kevra_ibm,
# kevra_hplaser, kevra_prntrnx, kevra_la75, kevra_ln03); kevra_preview draws
# each stream's page beside it (out/invoice-epsonlq-1.png) and reads every
# symbol back.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for p in cmake g++ make pkg-config libpng-dev libzxing-dev libdmtx-dev; do
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
  [ "$name" != kevra_preview ] || continue
  # A completed translation exits with status 1 (odd = success).
  status=0
  KEVRA_VERBOSE=N "$prog" < examples/invoice.txt \
    > "out/invoice-${name#kevra_}.prn" || status=$?
  if [ "$status" -ne 1 ]; then
    echo "$name: translation failed (exit status $status)" >&2
    exit 1
  fi
  echo "out/invoice-${name#kevra_}.prn: $(wc -c < "out/invoice-${name#kevra_}.prn") bytes"
  # The page as the printer prints it, and every symbol on it read back.
  build-sample/bin/kevra_preview --printer "${name#kevra_}" --read "out/invoice-${name#kevra_}.prn"
  echo "out/invoice-${name#kevra_}-1.png: the printed page"
done
echo "Send one to its printer raw, for example: lp -d <queue> -o raw out/invoice-epsonlq.prn"
