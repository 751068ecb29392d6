#!/usr/bin/env bash
# A long print job through the programs: text with a Code 39 symbol every
# 100 lines, generated on the fly (never stored), piped through each program.
# Prints input and output size, time, throughput and peak resident size of
# each program beside an empty job's and beside cat over the same stream, so
# memory that grows with the job shows as the difference to the empty job.
#
#   bench/bigjob.sh [megabytes of input, default 1024] [directory of the programs]
set -euo pipefail
cd "$(dirname "$0")/.."
megabytes=${1:-1024}
bindir=${2:-build/bin}
programs=(kevra_epsonlq kevra_hplaser)

for p in "${programs[@]}"; do
  [ -x "$bindir/$p" ] || { echo "$bindir/$p not built" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }

# Writes the job: blocks of 100 lines, the first of each carrying a symbol
# whose data counts the blocks, until the size is reached (0: an empty job).
generate() {
  python3 - "$1" <<'EOF'
import sys
limit = int(sys.argv[1]) * 1024 * 1024
out = sys.stdout.buffer
if limit == 0:
    sys.exit(0)  # the empty job
head = b"|BCODE39 H40|\n"
out.write(head)
written = len(head)
filler = b"".join(b"Line %02d of a long print job, with some ordinary text to fill it.\n" % i
                  for i in range(1, 100))
block = 0
while written < limit:
    chunk = b"Item %08d ~%08d~ and the rest of the line\n" % (block, block) + filler
    chunk = chunk[: limit - written]
    out.write(chunk)
    written += len(chunk)
    block += 1
out.write(b"\f")
EOF
}

# Runs "$@" on the generated job; prints elapsed and CPU seconds, peak RSS
# (kB), output bytes and exit status, separated by spaces.
measure() {
  local mb=$1
  shift
  local tfile
  tfile=$(mktemp)
  local outbytes
  # The programs exit 1 when the translation completed: the status is reported.
  outbytes=$(generate "$mb" | /usr/bin/time -f "%e %U %S %M %x" -o "$tfile" "$@" | wc -c || true)
  read -r secs user sys rss status < <(tail -n 1 "$tfile")
  rm -f "$tfile"
  echo "$secs $user $sys $rss $outbytes $status"
}

# Elapsed time includes waiting for the generator (the cat row shows its
# pace); CPU time is the program's own work, the figure that compares.
printf '%-14s %8s %8s %8s %9s %8s %9s %12s %6s\n' program "in MB" "out MB" seconds "MB/s" "CPU s" \
  "CPU MB/s" "peak RSS kB" status
row() {
  local name=$1 mb=$2
  shift 2
  read -r secs user sys rss outbytes status < <(measure "$mb" "$@")
  awk -v n="$name" -v i="$mb" -v o="$outbytes" -v s="$secs" -v u="$user" -v y="$sys" \
    -v r="$rss" -v x="$status" 'BEGIN {
    c = u + y
    wall = s > 0 ? i / s : 0
    cpu = c > 0 ? i / c : 0
    printf "%-14s %8d %8.1f %8.2f %9.1f %8.2f %9.1f %12d %6s\n", n, i, o / 1048576, s, wall, c,
      cpu, r, x }'
}

row cat "$megabytes" cat
for p in "${programs[@]}"; do
  row "$p" 0 env KEVRA_VERBOSE=Q "$bindir/$p"
  row "$p" "$megabytes" env KEVRA_VERBOSE=Q "$bindir/$p"
done
