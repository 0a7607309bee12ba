#!/bin/sh
# Runs hotkey-search on the items of this folder and compares its whole standard output, byte
# for byte, with the expected files; checks the refusal of malformed items files.
# usage: golden.sh HOTKEY_SEARCH DATA_DIR
tool=$1
data=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect NAME EXPECTED ARGS...: exit status 0 and exactly the expected bytes on stdout.
expect() {
  name=$1
  expected=$2
  shift 2
  "$tool" --items "$data/items.tsv" "$@" >"$out/$name.out" 2>"$out/$name.err"
  status=$?
  [ $status -eq 0 ] || fail "$name: exit status $status"
  if ! cmp -s "$data/$expected" "$out/$name.out"; then
    fail "$name: output differs from $expected"
    diff "$data/$expected" "$out/$name.out" | head -20
  fi
}

# refuse NAME FILE LINE: exit status 2, nothing on stdout, the line number on stderr.
refuse() {
  "$tool" --items "$data/$2" 600 >"$out/$1.out" 2>"$out/$1.err"
  status=$?
  [ $status -eq 2 ] || fail "$1: exit status $status, want 2"
  [ -s "$out/$1.out" ] && fail "$1: searched despite the bad file"
  grep -Eq "(^|[^0-9])$3([^0-9]|$)" "$out/$1.err" || fail "$1: stderr does not name line $3: $(cat "$out/$1.err")"
}

expect bulk default.expected --queries "$data/queries.txt"
expect single default.expected --load single --queries "$data/queries.txt"
expect unchecked default.expected --load bulk --skip-duplicate-check --queries "$data/queries.txt"
expect exclude exclude-commands.expected --exclude-commands 600 MR zxg 2
expect categories categories.expected --categories 11 600 ZS
expect open-mode open-mode.expected --open-mode 1 MR 2 600

refuse columns bad-columns.tsv 3
refuse number bad-number.tsv 2
refuse type bad-type.tsv 2
refuse utf8 bad-utf8.tsv 3

"$tool" --help >"$out/help.out" 2>&1 || fail "--help: exit status $?"
head -n 1 "$out/help.out" | grep -q "^usage: hotkey-search" || fail "--help: no usage"

[ $failures -eq 0 ] && echo "all hotkey-search cases pass"
[ $failures -eq 0 ]
