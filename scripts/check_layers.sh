#!/usr/bin/env bash
# Include-graph check: reads the #include lines of core/, drivers/,
# programs/ and preview/, groups the files into units and fails when a unit includes a
# unit of a higher layer or when units include each other in a circle.
#
#   scripts/check_layers.sh [ROOT]      check the tree at ROOT (default: this checkout)
#   scripts/check_layers.sh --self-test the check itself must pass a clean tree and
#                                       fail a tree with a planted violation
#
# A unit is a header and the sources that implement it: X.hpp, X.cpp,
# X_internal.hpp and the X_<stage>.cpp files that have no header of their own
# (the longest such X in the same folder wins).
set -euo pipefail

# Layers, lowest first. The first pattern (a shell glob on the path) that
# matches a file gives its layer; a unit may include units of its own layer or
# below. The README's "units at a glance" table follows these rows.
LAYERS='
core/run/*                7  run driver: the pass over the job, ties everything together
core/command/*            6  command interpreter: sequences, delimiters, parameters
core/fields/fieldclass.*  5  field engine: the registry of field types
core/fields/fieldmake.*   5  field engine: field construction
core/fields/fieldrender.* 5  field engine: band rendering
core/fields/chkcat.*      5  field engine: check characters
core/fields/textmap.*     4  symbologies: the scaled-text mapper
core/linear/*             4  symbologies: linear mappers
core/matrix/*_field.*     4  symbologies: two-dimensional field hooks
core/fields/*             3  field primitives: field record, queue, element primitives, bitmap scaler, font
core/matrix/*             2  two-dimensional encoders: data in, module bitmap out
core/driver/*             1  base: translator state, status, byte layer, qstr, printer output
drivers/*                 8  printer drivers
programs/*                9  programs
preview/*                 9  preview: page renderers and readers (written from the printer languages, never including drivers)
'

layer_of() { # path -> layer number (empty if no pattern matches)
  local path=$1 pattern layer rest
  while read -r pattern layer rest; do
    [ -n "$pattern" ] || continue
    # shellcheck disable=SC2053
    if [[ $path == $pattern ]]; then
      echo "$layer"
      return
    fi
  done <<<"$LAYERS"
}

check() { # root -> prints violations, returns 1 when there are any
  local root=$1
  (
    cd "$root"
    local files
    files=$(find core drivers programs preview -type f \( -name '*.hpp' -o -name '*.cpp' \) 2>/dev/null | sort)
    {
      for f in $files; do echo "F $f $(layer_of "$f")"; done
      for f in $files; do
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f" |
          while read -r inc; do
            [ -f "$inc" ] && echo "I $f $inc"
          done
      done
    } | awk '
      function dirof(p) { sub(/\/[^\/]*$/, "", p); return p }
      function stemof(p) { sub(/^.*\//, "", p); sub(/\.[^.]*$/, "", p); return p }
      $1 == "F" { n++; path[n] = $2; layer[$2] = $3
                  if ($2 ~ /\.hpp$/) header[dirof($2) "/" stemof($2)] = 1; next }
      $1 == "I" { m++; from[m] = $2; to[m] = $3; next }
      # X.hpp, X.cpp, X_internal.hpp, X_stage.cpp: the longest X in the folder
      # with a header of its own.
      function unitof(p,   d, s, best, k) {
        d = dirof(p); s = stemof(p)
        if ((d "/" s) in header && s !~ /_internal$/) return d "/" s
        best = ""
        for (k in header)
          if (k != d "/" s && index(d "/" s "_", k "_") == 1 && length(k) > length(best))
            best = k
        return best != "" ? best : d "/" s
      }
      END {
        bad = 0
        for (i = 1; i <= n; i++) {
          u = unitof(path[i]); unit[path[i]] = u
          if (!(u in ulayer) || layer[path[i]] > ulayer[u]) ulayer[u] = layer[path[i]]
          if (layer[path[i]] == "") { print "no layer for " path[i]; bad = 1 }
        }
        for (i = 1; i <= m; i++) {
          a = unit[from[i]]; b = unit[to[i]]
          # The preview draws what the printer languages say, not what the
          # drivers meant: it may sit above them but never use them.
          if (from[i] ~ /^preview\// && to[i] ~ /^drivers\//) {
            printf "preview: %s includes driver code %s\n", from[i], to[i]
            bad = 1
          }
          if (a == b) continue
          if (ulayer[b] + 0 > ulayer[a] + 0) {
            printf "layer: %s (unit %s, layer %d) includes %s (unit %s, layer %d)\n",
                   from[i], a, ulayer[a], to[i], b, ulayer[b]
            bad = 1
          }
          if (!((a, b) in edge)) { edge[a, b] = from[i]; out[a] = out[a] " " b }
        }
        # Depth-first search; a unit met again while still on the path closes a circle.
        for (u in ulayer) if (!(u in state)) bad = visit(u, 0) || bad
        exit bad
      }
      function visit(u, depth,   k, vs, v, j, d, bad, ring) {
        state[u] = 1; stack[depth] = u; bad = 0
        k = split(out[u], vs, " ")
        for (j = 1; j <= k; j++) {
          v = vs[j]
          if ((v in state) && state[v] == 1) {
            ring = v
            for (d = depth; d >= 0 && stack[d] != v; d--) ring = stack[d] " -> " ring
            print "cycle: " v " -> " ring " (" edge[u, v] " includes a header of " v ")"
            bad = 1
          } else if (!(v in state)) {
            bad = visit(v, depth + 1) || bad
          }
        }
        state[u] = 2
        return bad
      }'
  )
}

self_test() {
  local tmp
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  mkdir -p "$tmp/core/driver" "$tmp/core/fields" "$tmp/core/matrix"
  printf '#pragma once\n' >"$tmp/core/driver/jerr.hpp"
  printf '#include "core/driver/jerr.hpp"\n' >"$tmp/core/fields/fieldqueue.hpp"
  printf '#include "core/fields/fieldqueue.hpp"\n' >"$tmp/core/fields/fieldqueue.cpp"
  printf '#pragma once\n' >"$tmp/core/matrix/aztec.hpp"
  printf '#include "core/matrix/aztec_internal.hpp"\n' >"$tmp/core/matrix/aztec_draw.cpp"
  printf '#include "core/matrix/aztec.hpp"\n' >"$tmp/core/matrix/aztec_internal.hpp"
  if ! check "$tmp" >/dev/null; then
    echo "self-test: a clean tree was refused" >&2
    check "$tmp" >&2 || true
    return 1
  fi
  # A lower layer including a higher one, and two units including each other.
  printf '#include "core/fields/fieldqueue.hpp"\n' >"$tmp/core/driver/jerr.cpp"
  printf '#include "core/matrix/galois.hpp"\n' >"$tmp/core/matrix/modbitmap.hpp"
  printf '#include "core/matrix/modbitmap.hpp"\n' >"$tmp/core/matrix/galois.hpp"
  local report
  if report=$(check "$tmp"); then
    echo "self-test: planted violations were not found" >&2
    return 1
  fi
  if ! grep -q '^layer: core/driver/jerr.cpp ' <<<"$report" || ! grep -q '^cycle: ' <<<"$report"; then
    echo "self-test: the report misses a planted violation:" >&2
    echo "$report" >&2
    return 1
  fi
  echo "check_layers self-test: clean tree passes, planted layer and cycle violations fail"
}

if [ "${1:-}" = "--self-test" ]; then
  self_test
  exit
fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
if ! report=$(check "$root"); then
  echo "$report" >&2
  echo "check_layers: the include graph breaks the layering (scripts/check_layers.sh)" >&2
  exit 1
fi
echo "check_layers: include graph follows the layers, no cycles between units"
