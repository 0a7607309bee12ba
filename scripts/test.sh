#!/usr/bin/env bash
# The project's test command, from a fresh Debian 12 or Ubuntu machine:
#   1. installs the Debian packages that are missing (needs root; nothing is done when all are
#      there),
#   2. configures, builds and tests the native tree (preset "native"),
#   3. builds the fuzz targets with clang (preset "fuzz") and runs each for 20 s,
#   4. configures and builds the Windows tree (preset "windows") and runs its tests under Wine in
#      an Xvfb display (scripts/wine-session.sh around ctest),
# and ends with CTest's summary of each tree. Exits non-zero if any step failed.
set -uo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
started=$(date +%s)

PACKAGES=(
  cmake g++ make libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-apps x11-utils imagemagick fonts-wqy-microhei
  locales unicode-data python3 clang-format clang libclang-rt-14-dev
)

say() { echo "== $*"; }

install_missing_packages() {
  local missing=() package
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages need root: apt-get install ${missing[*]}" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q "${missing[@]}"
}

failures=()
summaries=()

# Runs ctest for a preset, keeps its output, and collects its closing summary lines.
run_ctest() {
  local preset=$1 log=$root/build/$1-ctest.log status
  ctest --preset "$preset" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  summaries+=("$preset:" "$(sed -n '/tests passed, /,$p' "$log")")
  return "$status"
}

# Configure, build and test one tree; the Windows tests run inside the tree's Wine session.
run_tree() {
  local preset=$1
  say "configure $preset"
  if ! cmake --preset "$preset"; then
    failures+=("$preset: configure")
    summaries+=("$preset:" "configure FAILED")
    return 1
  fi
  say "build $preset"
  if ! cmake --build --preset "$preset"; then
    failures+=("$preset: build")
    summaries+=("$preset:" "build FAILED")
    return 1
  fi
  say "test $preset"
  if [ "$preset" = windows ]; then
    if ! bash scripts/wine-session.sh start "build/$preset"; then
      failures+=("$preset: Wine session")
      summaries+=("$preset:" "Wine session FAILED")
      bash scripts/wine-session.sh stop "build/$preset"
      return 1
    fi
    run_ctest "$preset" || failures+=("$preset: tests")
    bash scripts/wine-session.sh stop "build/$preset"
  else
    run_ctest "$preset" || failures+=("$preset: tests")
  fi
}

trap 'bash "$root/scripts/wine-session.sh" stop "$root/build/windows" >/dev/null 2>&1' EXIT

# Wine keeps its prefix under the build tree but still wants a home.
if [ -z "${HOME:-}" ]; then
  HOME=$(getent passwd "$(id -u)" | cut -d: -f6)
  export HOME
fi

if ! install_missing_packages; then
  echo "package installation failed" >&2
  exit 1
fi

run_tree native
run_tree fuzz
run_tree windows

say "summary ($(($(date +%s) - started)) s)"
if [ ${#failures[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failures[@]}"
fi
printf '%s\n' "${summaries[@]}"
[ ${#failures[@]} -eq 0 ]
