#!/usr/bin/env bash
# Keystroke to painted list under Wine: generates a synthetic market of COUNT items (default
# 30000), builds popup-bench.exe in the Windows tree and runs it in that tree's Wine session: the
# start-up to the first pop-up, memory per item, and KEYSTROKES keystrokes (default 1000) split
# between our code and the system. With --calls as the third argument, our time is broken down
# further by the system calls inside our handlers (a slower run: read it for the shares).
#
#   bash bench/popup_bench.sh [COUNT] [KEYSTROKES] [--calls]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
count=${1:-30000}
keystrokes=${2:-1000}
calls=0
[ "${3:-}" = "--calls" ] && calls=1
cmake --preset native >/dev/null
cmake --build build/native --target gen-market -j2 >/dev/null
cmake --preset windows >/dev/null
cmake --build build/windows --target popup-bench -j2 >/dev/null
items=$(pwd)/build/windows/bench-items-$count.tsv
build/native/tools/synth/gen-market --count "$count" --seed 1 --out "$items"
started=0
if [ ! -f build/windows/wine/session.env ]; then
  bash scripts/wine-session.sh start build/windows
  started=1
fi
status=0
bash scripts/wine-run.sh build/windows build/windows/bin/popup-bench.exe \
  --items "Z:${items//\//\\}" --keystrokes "$keystrokes" --calls "$calls" | grep -v '^KeyboardInputMappingTable' || status=$?
[ $started -eq 1 ] && bash scripts/wine-session.sh stop build/windows
exit $status
