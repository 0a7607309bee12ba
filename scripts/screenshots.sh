#!/usr/bin/env bash
# Regenerates the README's screenshots (docs/screenshots/*.png) from scripted sessions of the
# demo terminal under Wine: the pop-up's results with their matched characters lit, a selection
# moved down, the hover, the empty state, the recent picks, and the terminal itself, in both
# skins. Packages, build tree and Wine session as in scripts/demo-terminal.sh
# (HKM_DEMO_BUILD_DIR chooses the tree).
set -uo pipefail

# shellcheck source-path=SCRIPTDIR source=demo-terminal.sh
. "$(dirname "${BASH_SOURCE[0]}")/demo-terminal.sh"

demo_prepare || exit 1
tree=$DEMO_TREE
trap 'demo_session_stop "$tree" >/dev/null 2>&1' EXIT
cd "$demo_root" || exit 1
out=docs/screenshots
raw=$tree/screenshots
mkdir -p "$out" "$raw"
rm -f "$raw"/*.png

# One session; fails on the first step that does not run.
session() {
  local name=$1
  shift
  demo_say "session $name"
  demo_run "$tree" --log "$raw/$name.log" "$@" || {
    echo "screenshots: session $name failed (log: $raw/$name.log)" >&2
    exit 1
  }
}

# Rows of the list start 88 pixels below the pop-up's top at 96 dpi and are 22 pixels high.
row() { echo "150 $((88 + 22 * $1 + 11))"; }

# A fresh copy of the program, so that the first pop-up ever shown has no recent picks and the
# picks below stay out of the history of the copy a user runs.
program=$raw/program
rm -rf "$program"
mkdir -p "$program"
cp "$tree"/demo-terminal/*.exe "$tree"/demo-terminal/*.dll "$program"/ || exit 1
cp -r "$tree/demo-terminal/skins" "$program"/ || exit 1
DEMO_PROGRAM=$program/demo-terminal.exe
session light --skin light \
  --step "show" --step "screenshot $raw/popup-empty-light.png popup" --step "key Escape" \
  --step "type 600" --step "screenshot $raw/popup-results-light.png popup" \
  --step "key Down" --step "key Down" --step "key Down" \
  --step "screenshot $raw/popup-selection-light.png popup" \
  --step "move popup $(row 6)" --step "screenshot $raw/popup-hover-light.png popup" \
  --step "key Enter" --step "expect-received the view opens" \
  --step "type 000001" --step "key Enter" --step "type PFYH" --step "key Enter" \
  --step "type 300750" --step "key Enter" \
  --step "show" --step "screenshot $raw/popup-history-light.png popup" --step "key Escape" \
  --step "type ZGPA" --step "screenshot $raw/terminal-light.png frame"

session dark --skin dark \
  --step "type YH" --step "key Down" --step "move popup $(row 4)" \
  --step "screenshot $raw/popup-results-dark.png popup" --step "key Escape" \
  --step "type 61" --step "key Enter" --step "expect-received runs command" \
  --step "type 06" --step "screenshot $raw/terminal-dark.png frame"

# The writer stores the pixels uncompressed; the README gets them compressed.
for shot in "$raw"/*.png; do
  convert "$shot" -strip -define png:compression-level=9 "$out/$(basename "$shot")" || exit 1
done
demo_say "screenshots in $out:"
ls -l "$out" >&2
