#!/bin/sh
# Whole-process timing of hotkey-search over synthetic markets: the same program run once with an
# empty query file (start, load and sort) and once with a query file, so that the difference per
# query is the search and the printing of its results.
#
# usage: bench/hotkey_search_bench.sh [BUILD_DIR] [SIZES] [QUERIES] [RUNS]
#   BUILD_DIR  a native build holding tools/hotkey-search and tools/synth/gen-market
#              (default /work/build-bench-search)
#   SIZES      item counts, quoted and space-separated (default "8000 30000 300000")
#   QUERIES    queries per file (default 2000)
#   RUNS       runs per measurement (default 5)
# hyperfine is used when installed; otherwise each run is timed with the shell's clock and the
# median is printed.
set -e
build=${1:-/work/build-bench-search}
sizes=${2:-"8000 30000 300000"}
count=${3:-2000}
runs=${4:-5}
tool=$build/tools/hotkey-search/hotkey-search
gen=$build/tools/synth/gen-market
for program in "$tool" "$gen"; do
  [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Queries from the items themselves: code prefixes of 1 to 6 digits, hot-key prefixes of 1 to 4
# letters, some in small letters, whole hot keys, whole names, and texts that match nothing.
# (Names are taken whole: awk may count bytes, and a cut could split a character.)
make_queries() {
  awk -F'\t' -v n="$2" 'BEGIN { srand(20240611) }
    /^#/ || NF != 7 { next }
    { code[++items] = $1; hot[items] = $2; name[items] = $3 }
    END {
      for (q = 0; q < n; ++q) {
        i = 1 + int(rand() * items); k = q % 8
        if (k == 0 || k == 1) print substr(code[i], 1, 1 + int(rand() * 6))
        else if (k == 2 || k == 3) print substr(hot[i], 1, 1 + int(rand() * 4))
        else if (k == 4) print tolower(substr(hot[i], 1, 2))
        else if (k == 5) print name[i]
        else if (k == 6) print hot[i]
        else print (q % 16 == 7 ? "98765432" : "QXZQXZ")
      }
    }' "$1"
}

now() { date +%s.%N; }

# Median wall time in seconds of RUNS runs of the command.
measure() {
  if command -v hyperfine >/dev/null 2>&1; then
    hyperfine --runs "$runs" --warmup 1 --export-json "$work/h.json" "$*" >/dev/null
    sed -n 's/.*"median": *\([0-9.e+-]*\).*/\1/p' "$work/h.json" | head -n 1
  else
    for r in $(seq "$runs"); do
      start=$(now)
      "$@" >/dev/null
      end=$(now)
      echo "$end - $start" | bc -l
    done | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
  fi
}

printf '%-8s %10s %12s %14s %14s\n' items queries "load (ms)" "with (ms)" "per query (us)"
for size in $sizes; do
  "$gen" --count "$size" --seed 20240611 --out "$work/items.tsv"
  make_queries "$work/items.tsv" "$count" >"$work/queries.txt"
  : >"$work/none.txt"
  load=$(measure "$tool" --items "$work/items.tsv" --queries "$work/none.txt")
  with=$(measure "$tool" --items "$work/items.tsv" --queries "$work/queries.txt")
  echo "$size $count $load $with" | awk '{ printf "%-8s %10s %12.1f %14.1f %14.2f\n",
      $1, $2, $3 * 1000, $4 * 1000, ($4 - $3) * 1e6 / $2 }'
done
