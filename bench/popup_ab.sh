#!/usr/bin/env bash
# Keystroke to painted list, two builds of the DLLs in one run: the keystroke benchmark
# (bench/popup_bench.sh) runs ROUNDS times with the DLLs of BEFORE_DIR and of AFTER_DIR in turn,
# on the same machine and the same synthetic market, so that the machine's noise falls on both
# alike. Prints, for each side, the median over the rounds of each figure of the benchmark's
# classes (all, opening, typed into an open pop-up).
#
# BEFORE_DIR and AFTER_DIR hold HotKeyManagerFactory.dll, WindowFramework.dll,
# TerminalServices.dll and skins/ (a copy of build/windows/bin made before a change, say); the
# benchmark program is the Windows tree's own, copied beside them.
#
#   bash bench/popup_ab.sh BEFORE_DIR AFTER_DIR [COUNT] [KEYSTROKES] [ROUNDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ $# -lt 2 ]; then
  echo "usage: $0 BEFORE_DIR AFTER_DIR [COUNT] [KEYSTROKES] [ROUNDS]" >&2
  exit 2
fi
before=$(cd "$1" && pwd)
after=$(cd "$2" && pwd)
count=${3:-300000}
keystrokes=${4:-1000}
rounds=${5:-4}
# shellcheck source=popup_common.sh
. bench/popup_common.sh
popup_prepare "$count"
for side in "$before" "$after"; do
  [ "$side" = "$(pwd)/build/windows/bin" ] || cp build/windows/bin/popup-bench.exe "$side/"
done
popup_session_start
log=$(mktemp)
status=0
for round in $(seq "$rounds"); do
  for side in before after; do
    dir=$before
    [ $side = after ] && dir=$after
    bash scripts/wine-run.sh build/windows "$dir/popup-bench.exe" --items "Z:${items//\//\\}" \
      --keystrokes "$keystrokes" | tr -d '\r' | sed -n '/^  each class/,/^  our time by/p' |
      sed "s/^/$side $round /" >>"$log" || status=$?
  done
done
popup_session_stop
# Lines: SIDE ROUND CLASS: or SIDE ROUND FIGURE n N median X ms p90 X ms p99 X ms max X ms.
awk -v rounds="$rounds" '
  function median(list, n,    values, i, j, t) {
    n = split(list, values, " ")
    for (i = 1; i <= n; i++)
      for (j = i + 1; j <= n; j++)
        if (values[j] + 0 < values[i] + 0) { t = values[i]; values[i] = values[j]; values[j] = t }
    return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
  }
  /(keystrokes|pop-up):$/ { kind = $3; for (i = 4; i <= NF; i++) kind = kind " " $i; next }
  $3 == "whole" || $3 == "ours" || $3 == "ours-wm" || $3 == "system" {
    key = kind SUBSEP $3 SUBSEP $1
    if (!(kind SUBSEP $3 in seen)) { order[++figures] = kind SUBSEP $3; seen[kind SUBSEP $3] = 1 }
    median_of[key] = median_of[key] " " $7; p90[key] = p90[key] " " $10
    p99[key] = p99[key] " " $13; max_of[key] = max_of[key] " " $16
  }
  END {
    printf "medians over %d rounds of each side, ms (median / p90 / p99 / max):\n", rounds
    for (f = 1; f <= figures; f++) {
      split(order[f], parts, SUBSEP)
      if (parts[1] != last) { printf "%s\n", parts[1]; last = parts[1] }
      line = sprintf("  %-8s", parts[2])
      for (s = 1; s <= 2; s++) {
        side = s == 1 ? "before" : "after"
        key = order[f] SUBSEP side
        line = line sprintf("  %s %6.3f / %6.3f / %6.3f / %6.3f", side, median(median_of[key]),
                            median(p90[key]), median(p99[key]), median(max_of[key]))
      }
      print line
    }
  }' "$log"
rm -f "$log"
exit $status
