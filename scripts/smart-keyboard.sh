#!/usr/bin/env bash
# The main job: builds what is needed (natively, once) and searches the built-in default items.
#   bash scripts/smart-keyboard.sh 600 payh      one result table per query
#   bash scripts/smart-keyboard.sh               queries from standard input, one a line
#   bash scripts/smart-keyboard.sh --contract 600   the hotkey-search line format
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/main"

missing=()
for package in cmake g++ make; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing ${missing[*]} ..." >&2
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >&2
fi

mkdir -p "$build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DHKM_BUILD_TESTS=OFF \
    -DHKM_BUILD_BENCHMARKS=OFF >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
fi
cmake --build "$build" --target smart-keyboard -j2 >"$build/build.log" 2>&1 ||
  { cat "$build/build.log" >&2; exit 1; }
exec "$build/tools/smart-keyboard/smart-keyboard" "$@"
