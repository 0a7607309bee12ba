#!/bin/sh
# The tools at scale: hotkey-search and smart-keyboard read a synthetic market of N items and
# answer one query, side by side in one run with fzf --filter over the same lines. For each
# program: median wall and CPU time of RUNS runs, the largest peak resident memory and what it
# comes to per item of the file, and the wall time against fzf's. Then hotkey-search's own
# account of its loading steps (--load-times), which tells the table's share (grow, store, sort)
# from the tool's (read, survey).
#
# usage: bench/tools_scale_bench.sh [BUILD_DIR] [SIZES] [RUNS] [QUERY]
#   BUILD_DIR  a Release native build (default build/bench, configured and built when missing)
#   SIZES      item counts, quoted and space-separated (default "30000 300000 1000000")
#   RUNS       runs per measurement (default 5)
#   QUERY      the one query (default 600)
# HKM_BENCH_BEFORE=DIR also measures the programs of another build (before a change), each run of
# one build followed by a run of the other, and prints its rows and loading steps beside these,
# marked "before": the comparison of one run on this noisy machine.
# HKM_BENCH_SINGLE=1 also times hotkey-search --load single (one add at a time) at each size,
# once, stopped after HKM_BENCH_SINGLE_LIMIT seconds (default 600).
# Installs fzf and GNU time from Debian when they are missing. This machine is noisy: compare
# figures from one run only.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
sizes=${2:-"30000 300000 1000000"}
runs=${3:-5}
query=${4:-600}

missing=""
command -v fzf >/dev/null 2>&1 || missing="$missing fzf"
[ -x /usr/bin/time ] || missing="$missing time"
if [ -n "$missing" ]; then
  echo "Installing$missing ..." >&2
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq >&2
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq $missing >&2
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DHKM_BUILD_TESTS=OFF \
    -DHKM_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target hotkey-search smart-keyboard gen-market >/dev/null
search=$build/tools/hotkey-search/hotkey-search
keyboard=$build/tools/smart-keyboard/smart-keyboard
gen=$build/tools/synth/gen-market
before=${HKM_BENCH_BEFORE:-}
if [ -n "$before" ]; then
  for program in hotkey-search/hotkey-search smart-keyboard/smart-keyboard; do
    [ -x "$before/tools/$program" ] || { echo "missing $before/tools/$program" >&2; exit 2; }
  done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure alone|paired COMMAND...: RUNS runs, standard input from the items file; prints
# "wall-seconds cpu-seconds peak-KB" (medians of wall and CPU, largest peak). Paired, with a build
# before, the same command of that build runs before each run, and its figures follow on a second
# line.
measure() {
  : >"$work/times"
  : >"$work/times-before"
  paired=""
  [ "$1" = alone ] || paired=$before
  program=$2
  shift 2
  for _ in $(seq "$runs"); do
    if [ -n "$paired" ]; then
      /usr/bin/time -f "%e %U %S %M" -o "$work/one" "$before/${program#"$build"/}" "$@" \
        <"$work/items.tsv" >/dev/null 2>&1
      cat "$work/one" >>"$work/times-before"
    fi
    /usr/bin/time -f "%e %U %S %M" -o "$work/one" "$program" "$@" <"$work/items.tsv" \
      >/dev/null 2>&1
    cat "$work/one" >>"$work/times"
  done
  summarize "$work/times"
  [ -z "$paired" ] || summarize "$work/times-before"
}

# summarize FILE: the medians of wall and CPU time and the largest peak of FILE's runs.
summarize() {
  wall=$(cut -d' ' -f1 "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  cpu=$(awk '{ print $2 + $3 }' "$1" | sort -n |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  peak=$(cut -d' ' -f4 "$1" | sort -n | tail -n 1)
  echo "$wall $cpu $peak"
}

# row PROGRAM SIZE FIGURES FZF-WALL
row() {
  echo "$1|$2|$3|$4" | awk -F'|' '{
    split($3, f, " ")
    printf "%-34s %9d %9.0f %9.0f %9.1f %10.0f %8.2f\n", $1, $2, f[1] * 1000, f[2] * 1000,
      f[3] / 1024, f[3] * 1024 / $2, ($4 > 0 ? f[1] / $4 : 0)
  }'
}

printf '%-34s %9s %9s %9s %9s %10s %8s\n' program items "wall ms" "cpu ms" "peak MB" \
  "bytes/item" "vs fzf"
for size in $sizes; do
  "$gen" --count "$size" --seed 20240611 --out "$work/items.tsv"
  fzf=$(measure alone fzf --filter "$query")
  fzfWall=${fzf%% *}
  row "fzf --filter" "$size" "$fzf" "$fzfWall"
  for program in "hotkey-search --no-full-pinyin" "hotkey-search" \
    "smart-keyboard --no-full-pinyin" "smart-keyboard"; do
    case $program in
      "hotkey-search --no-full-pinyin")
        figures=$(measure paired "$search" --items "$work/items.tsv" --no-full-pinyin "$query") ;;
      hotkey-search) figures=$(measure paired "$search" --items "$work/items.tsv" "$query") ;;
      "smart-keyboard --no-full-pinyin")
        figures=$(measure paired "$keyboard" --items "$work/items.tsv" --no-full-pinyin "$query") ;;
      smart-keyboard) figures=$(measure paired "$keyboard" --items "$work/items.tsv" "$query") ;;
    esac
    [ -z "$before" ] || row "$program (before)" "$size" "$(echo "$figures" | sed -n 2p)" "$fzfWall"
    row "$program" "$size" "$(echo "$figures" | sed -n 1p)" "$fzfWall"
  done
done

echo
echo "hotkey-search's loading steps (one run each), seconds of wall time:"
for size in $sizes; do
  "$gen" --count "$size" --seed 20240611 --out "$work/items.tsv"
  for pinyin in --no-full-pinyin ""; do
    if [ -n "$before" ]; then
      # shellcheck disable=SC2086
      "$before/tools/hotkey-search/hotkey-search" --items "$work/items.tsv" $pinyin --load-times \
        "$query" 2>&1 >/dev/null |
        sed "s/^hotkey-search: /  $size ${pinyin:-(full pinyin)} (before): /"
    fi
    # shellcheck disable=SC2086
    "$search" --items "$work/items.tsv" $pinyin --load-times "$query" 2>&1 >/dev/null |
      sed "s/^hotkey-search: /  $size ${pinyin:-(full pinyin)}: /"
  done
  if [ "${HKM_BENCH_SINGLE:-0}" = 1 ]; then
    limit=${HKM_BENCH_SINGLE_LIMIT:-600}
    start=$(date +%s.%N)
    if timeout "$limit" "$search" --items "$work/items.tsv" --no-full-pinyin --load single \
      "$query" >/dev/null; then
      echo "  $size --load single: $(echo "$(date +%s.%N) - $start" | bc -l | cut -c1-6) s"
    else
      echo "  $size --load single: not finished after $limit s"
    fi
  fi
done
