#!/usr/bin/env bash
# The demo terminal under Wine in one command: installs the Debian packages that are missing,
# builds demo-terminal.exe in the Windows tree, starts the tree's Wine session, runs the terminal
# and stops the session again.
#
#   bash scripts/demo-terminal.sh                 with DISPLAY set: the terminal on your display
#                                                 without: a scripted tour, screenshots saved
#   bash scripts/demo-terminal.sh ARGS...         demo-terminal.exe with these arguments, e.g.
#       --step "type 600000" --step "key Enter" --step "screenshot pick.png frame"
#       --script tools/demo-terminal/scripts/pick.demo --log pick.log
#
# HKM_DEMO_BUILD_DIR chooses the Windows build tree (default build/windows). A session that was
# already running for that tree is left running.
set -uo pipefail

demo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

DEMO_PACKAGES=(
  cmake make g++-mingw-w64-x86-64-posix libgtest-dev googletest python3
  wine wine64 xvfb xauth x11-utils fonts-wqy-microhei imagemagick
)

demo_say() { echo "== $*" >&2; }

demo_install_missing_packages() {
  local missing=() package
  for package in "${DEMO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  demo_say "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages need root: apt-get install ${missing[*]}" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q "${missing[@]}"
}

# Configures the tree once (windows preset) and builds the terminal with the component.
demo_build() {
  local tree=$1
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    demo_say "configure $tree"
    (cd "$demo_root" && cmake --preset windows -B "$tree") >&2 || return 1
  fi
  demo_say "build demo-terminal in $tree"
  cmake --build "$tree" -j2 --target demo-terminal >&2
}

demo_session_was_running=no

demo_session_start() {
  local tree=$1
  if [ -f "$tree/wine/xvfb.pid" ] && kill -0 "$(cat "$tree/wine/xvfb.pid")" 2>/dev/null &&
    [ -z "${HKM_WINE_DISPLAY:-}" ]; then
    demo_session_was_running=yes
  fi
  bash "$demo_root/scripts/wine-session.sh" start "$tree"
}

demo_session_stop() {
  local tree=$1
  [ "$demo_session_was_running" = yes ] && return 0
  bash "$demo_root/scripts/wine-session.sh" stop "$tree"
}

# Everything up to a running session: packages, build, Wine. Sets DEMO_TREE to the tree's
# absolute path. Runs in the calling shell, which later stops the session it started.
demo_prepare() {
  local tree=${HKM_DEMO_BUILD_DIR:-build/windows}
  case $tree in /*) ;; *) tree=$demo_root/$tree ;; esac
  DEMO_TREE=$tree
  if [ -z "${HOME:-}" ]; then
    HOME=$(getent passwd "$(id -u)" | cut -d: -f6)
    export HOME
  fi
  demo_install_missing_packages || return 1
  demo_build "$tree" || return 1
  demo_session_start "$tree" >&2 || return 1
}

# The demo terminal's program folder in the tree (its history is kept there, in Data/); the
# screenshots run a copy of their own (DEMO_PROGRAM).
demo_run() {
  local tree=$1
  shift
  bash "$demo_root/scripts/wine-run.sh" "$tree" "${DEMO_PROGRAM:-$tree/demo-terminal/demo-terminal.exe}" "$@"
}

demo_main() {
  local tree status
  if [ $# -eq 0 ] && [ -n "${DISPLAY:-}" ]; then
    export HKM_WINE_DISPLAY=$DISPLAY
  fi
  demo_prepare || exit 1
  tree=$DEMO_TREE
  trap 'demo_session_stop "$tree" >/dev/null 2>&1' EXIT
  cd "$demo_root" || exit 1
  if [ $# -gt 0 ]; then
    demo_run "$tree" "$@"
    status=$?
  elif [ -n "${DISPLAY:-}" ]; then
    demo_say "the demo terminal is on $DISPLAY: type anywhere in it; F2 view type, F5 and F6" \
      "pick for a receiver, F9 switches the skin"
    demo_run "$tree"
    status=$?
  else
    local out=$tree/demo-tour
    mkdir -p "$out"
    demo_say "no DISPLAY: a scripted tour; screenshots in $out"
    demo_run "$tree" --log "$out/received.log" \
      --step "type 600" --step "screenshot $out/1-results.png frame" \
      --step "key Down" --step "key Down" --step "screenshot $out/2-selection.png frame" \
      --step "key Enter" --step "screenshot $out/3-opened.png frame" \
      --step "skin dark" --step "type PAYH" --step "screenshot $out/4-dark.png frame" \
      --step "key Enter" --step "expect-received the view opens"
    status=$?
    [ $status -eq 0 ] && sed -n '/^received/p' "$out/received.log" >&2
  fi
  exit $status
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  demo_main "$@"
fi
