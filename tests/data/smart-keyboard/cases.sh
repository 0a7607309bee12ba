#!/bin/sh
# smart-keyboard on the built-in items: found by full pinyin unless told not to, the search's
# limit named, and what it cannot read or search refused with the reason and exit status 2.
# usage: cases.sh SMART_KEYBOARD
tool=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run NAME ARGS...: output in $out/NAME.out and .err, exit status in $status; standard input
# from $out/NAME.in when there is one.
run() {
  name=$1
  shift
  [ -f "$out/$name.in" ] || : >"$out/$name.in"
  "$tool" "$@" <"$out/$name.in" >"$out/$name.out" 2>"$out/$name.err"
  status=$?
}

# has NAME FILE PATTERN: the pattern (grep -E) in the output or error file.
has() {
  grep -Eq -e "$3" "$out/$1.$2" || fail "$1: $2 lacks /$3/: $(head -c 600 "$out/$1.$2")"
}

run pufa pufa zhaoshang
[ $status -eq 0 ] || fail "pufa: exit status $status"
has pufa out '^  1 +600000 +PUFAYINHANG +浦发银行 +沪A +begins with$'
has pufa out '^  [0-9]+ +600036 +ZHAOSHANGYINHANG +招商银行 +沪A +begins with$'

run initials-only --no-full-pinyin pufa
has initials-only out '^"pufa": no match$'

run limit 6
has limit out '^"6": 100 matches \(the most the smart keyboard lists: more items may match\)$'

run missing --items "$out/nonexistent.tsv" 600
[ $status -eq 2 ] || fail "missing: exit status $status"
has missing err "^smart-keyboard: cannot read $out/nonexistent.tsv: No such file or directory$"

run folder --items "$out" 600
[ $status -eq 2 ] && [ ! -s "$out/folder.out" ] || fail "folder: exit status $status"
has folder err "it is a folder"

printf '600000\tPFYH\t浦发银行\t0x0102\t-1\t0\t1\t\n' >"$out/eight.tsv"
run eight --items "$out/eight.tsv" 600
[ $status -eq 2 ] || fail "eight: exit status $status"
has eight err "eight.tsv:1: expected 7 tab-separated columns, found 8"

printf '# no items\n' >"$out/empty.tsv"
run empty --items "$out/empty.tsv" 600
[ $status -eq 0 ] || fail "empty: exit status $status"
has empty err "empty.tsv holds no items"
has empty out '^"600": no match$'

run tab-argument 600 "$(printf 'P\tF')"
[ $status -eq 2 ] && [ ! -s "$out/tab-argument.out" ] || fail "tab-argument: exit status $status"
has tab-argument err "query argument 2: refused, it holds a tab"

# Standard input: a byte-order mark and CR LF ends are not part of a query; a line holding a tab
# is refused by number and the rest still answered.
printf '\357\273\277600036\r\nP\tF\npufa\n' >"$out/stdin.in"
run stdin
[ $status -eq 2 ] || fail "stdin: exit status $status"
has stdin err "standard input:2: refused, it holds a tab"
has stdin out '^"600036": '
has stdin out '^"pufa": [0-9]+ match'

[ $failures -eq 0 ] && echo "all smart-keyboard cases pass"
[ $failures -eq 0 ]
