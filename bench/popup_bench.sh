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
# shellcheck source=popup_common.sh
. bench/popup_common.sh
popup_prepare "$count"
popup_session_start
status=0
bash scripts/wine-run.sh build/windows build/windows/bin/popup-bench.exe \
  --items "Z:${items//\//\\}" --keystrokes "$keystrokes" --calls "$calls" | grep -v '^KeyboardInputMappingTable' || status=$?
popup_session_stop
exit $status
