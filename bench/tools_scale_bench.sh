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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure NAME COMMAND...: RUNS runs, standard input from the items file; prints
# "wall-seconds cpu-seconds peak-KB" (medians of wall and CPU, largest peak).
measure() {
  : >"$work/times"
  for r in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/one" "$@" <"$work/items.tsv" >/dev/null 2>&1
    cat "$work/one" >>"$work/times"
  done
  wall=$(cut -d' ' -f1 "$work/times" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  cpu=$(awk '{ print $2 + $3 }' "$work/times" | sort -n |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  peak=$(cut -d' ' -f4 "$work/times" | sort -n | tail -n 1)
  echo "$wall $cpu $peak"
}

printf '%-34s %9s %9s %9s %9s %10s %8s\n' program items "wall ms" "cpu ms" "peak MB" \
  "bytes/item" "vs fzf"
for size in $sizes; do
  "$gen" --count "$size" --seed 20240611 --out "$work/items.tsv"
  fzf=$(measure fzf --filter "$query")
  fzfWall=${fzf%% *}
  for program in "fzf --filter" "hotkey-search --no-full-pinyin" "hotkey-search" \
    "smart-keyboard --no-full-pinyin" "smart-keyboard"; do
    case $program in
      fzf*) figures=$fzf ;;
      "hotkey-search --no-full-pinyin")
        figures=$(measure "$search" --items "$work/items.tsv" --no-full-pinyin "$query") ;;
      hotkey-search) figures=$(measure "$search" --items "$work/items.tsv" "$query") ;;
      "smart-keyboard --no-full-pinyin")
        figures=$(measure "$keyboard" --items "$work/items.tsv" --no-full-pinyin "$query") ;;
      smart-keyboard) figures=$(measure "$keyboard" --items "$work/items.tsv" "$query") ;;
    esac
    echo "$program|$size|$figures|$fzfWall" | awk -F'|' '{
      split($3, f, " ")
      printf "%-34s %9d %9.0f %9.0f %9.1f %10.0f %8.2f\n", $1, $2, f[1] * 1000, f[2] * 1000,
        f[3] / 1024, f[3] * 1024 / $2, ($4 > 0 ? f[1] / $4 : 0)
    }'
  done
done

echo
echo "hotkey-search's loading steps (one run each), seconds of wall time:"
for size in $sizes; do
  "$gen" --count "$size" --seed 20240611 --out "$work/items.tsv"
  for pinyin in --no-full-pinyin ""; do
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
