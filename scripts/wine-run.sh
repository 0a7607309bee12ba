#!/usr/bin/env bash
# The Windows build tree's test emulator: runs a program of BUILD_DIR under Wine in the session
# that scripts/wine-session.sh started for that tree.
#
#   scripts/wine-run.sh BUILD_DIR PROGRAM [ARGS...]
#
# The component DLLs sit beside the programs (one runtime output directory), so Windows' normal
# search finds them.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR PROGRAM [ARGS...]" >&2
  exit 2
fi
tree=$1
shift
envfile=$tree/wine/session.env
if [ ! -f "$envfile" ]; then
  echo "wine-run: no Wine session for $tree; run: scripts/wine-session.sh start $tree" >&2
  exit 125
fi
set -a
# shellcheck disable=SC1090
. "$envfile"
set +a
exec /usr/lib/wine/wine64 "$@"
