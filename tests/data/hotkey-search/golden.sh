#!/bin/sh
# Runs hotkey-search on the items of this folder and compares its whole standard output, byte
# for byte, with the expected files; checks that every input the record or the line format
# cannot carry is refused with its place and reason, and that the harmless variations of a file
# (a byte-order mark, CR LF line ends) are read as the plain file.
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

# run NAME ITEMS ARGS...: the tool's output in $out/NAME.out and .err, its status in $status.
run() {
  name=$1
  items=$2
  shift 2
  "$tool" --items "$items" "$@" >"$out/$name.out" 2>"$out/$name.err"
  status=$?
}

# same NAME EXPECTED: exit status 0 and exactly the expected bytes on stdout.
same() {
  [ $status -eq 0 ] || fail "$1: exit status $status: $(cat "$out/$1.err")"
  if ! cmp -s "$data/$2" "$out/$1.out"; then
    fail "$1: output differs from $2"
    diff "$data/$2" "$out/$1.out" | head -20
  fi
}

# expect NAME EXPECTED ARGS...: the items of this folder, without the full-pinyin aliases
# unless the arguments say otherwise.
expect() {
  name=$1
  expected=$2
  shift 2
  run "$name" "$data/items.tsv" "$@"
  same "$name" "$expected"
}

# refused NAME PATTERN: exit status 2, nothing on stdout, the pattern (grep -E) on stderr.
refused() {
  [ $status -eq 2 ] || fail "$1: exit status $status, want 2"
  [ -s "$out/$1.out" ] && fail "$1: searched despite the refusal"
  grep -Eq -e "$2" "$out/$1.err" || fail "$1: stderr lacks /$2/: $(cat "$out/$1.err")"
}

# refuse NAME FILE LINE: a bad items file of this folder, refused at that line.
refuse() {
  run "$1" "$data/$2" 600
  refused "$1" "$2:$3: "
}

# refuse_text NAME TEXT LINE REASON: items written by printf, refused at that line with a reason
# (grep -E) after the file's name and line number.
refuse_text() {
  printf "$2" >"$out/$1.tsv"
  run "$1" "$out/$1.tsv" 600
  refused "$1" "$1.tsv:$3: .*$4"
}

good='600000\tPFYH\t浦发银行\t0x0102\t-1\t0\t1\n'

expect bulk default.expected --no-full-pinyin --queries "$data/queries.txt"
expect single default.expected --no-full-pinyin --load single --queries "$data/queries.txt"
expect unchecked default.expected --no-full-pinyin --load bulk --skip-duplicate-check \
  --queries "$data/queries.txt"
expect exclude exclude-commands.expected --no-full-pinyin --exclude-commands 600 MR zxg 2
expect categories categories.expected --no-full-pinyin --categories 11 600 ZS
expect open-mode open-mode.expected --no-full-pinyin --open-mode 1 MR 2 600
# By default every security is found by the full pinyin of its name as well.
expect full-pinyin full-pinyin.expected --queries "$data/full-pinyin-queries.txt"

# What is read as the plain file: a byte-order mark before the items, before the queries, and
# CR LF line ends in both.
{ printf '\357\273\277'; sed 's/\r*$/\r/' "$data/items.tsv"; } >"$out/bom-crlf.tsv"
{ printf '\357\273\277'; sed 's/\r*$/\r/' "$data/queries.txt"; } >"$out/queries-bom-crlf.txt"
run bom-crlf "$out/bom-crlf.tsv" --no-full-pinyin --queries "$out/queries-bom-crlf.txt"
same bom-crlf default.expected

# An items file without items is searched, and said to be empty.
printf '# nothing but a comment\n\n' >"$out/empty.tsv"
run empty "$out/empty.tsv" 600
[ $status -eq 0 ] && [ "$(cat "$out/empty.out")" = "$(printf 'Q\t600\t0')" ] ||
  fail "empty: status $status, output $(cat "$out/empty.out")"
grep -q "empty.tsv holds no items" "$out/empty.err" || fail "empty: stderr $(cat "$out/empty.err")"

# Items files that cannot be read, with the system's reason.
run folder "$data" 600
refused folder "hotkey-search: cannot read $data: it is a folder"
run device /dev/null 600
refused device "cannot read /dev/null: it is a device"
run missing "$out/nonexistent.tsv" 600
refused missing "cannot read $out/nonexistent.tsv: No such file or directory"

# Lines the record cannot hold as written.
refuse columns bad-columns.tsv 3
refuse number bad-number.tsv 2
refuse type bad-type.tsv 2
refuse utf8 bad-utf8.tsv 3
refuse_text eight-columns "$good"'600036\tZSYH\t招商银行\t0x0102\t-1\t0\t1\t\n' 2 \
  "expected 7 tab-separated columns, found 8"
refuse_text plus-sign "$good"'600036\tZSYH\t招商银行\t+258\t-1\t0\t1\n' 2 "bad type '\+258'"
refuse_text plus-market '600036\tZSYH\t招商银行\t0x0102\t-1\t0\t+1\n' 1 "bad market"
refuse_text space-extra '600036\tZSYH\t招商银行\t0x0102\t -1\t0\t1\n' 1 "bad extra"
refuse_text long-code "$good$good"'60000000000000000\tPFYH\tX\t1\t-1\t0\t1\n' 3 \
  "bad code: 17 characters, the record holds 16"
refuse_text long-hotkey 'AB\tABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFG\tX\t1\t-1\t0\t1\n' 1 \
  "bad hotkey: 33 characters, the record holds 32"
refuse_text long-name \
  '1\tX\t一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三\t1\t-1\t0\t1\n' 1 \
  "bad name: 33 characters, the record holds 32"
refuse_text nul-in-name "$good"'600036\tZSYH\t招商\000银行\t0x0102\t-1\t0\t1\n' 2 \
  "bad name: control character U\+0000"
refuse_text cr-in-hotkey '600036\tZS\rYH\t招商银行\t0x0102\t-1\t0\t1\n' 1 \
  "bad hotkey: control character U\+000D"
refuse_text c1-in-code '6000\302\20536\tZSYH\t招商银行\t0x0102\t-1\t0\t1\n' 1 \
  "bad code: control character U\+0085"
# The longest fields the record holds are kept whole and found by their own code.
printf '6000000000000036\tABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF\t一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二\t0x0102\t-1\t0\t1\n' \
  >"$out/longest.tsv"
run longest "$out/longest.tsv" --no-full-pinyin 6000000000000036
[ $status -eq 0 ] && [ "$(sed -n 2p "$out/longest.out" | cut -f6-)" = "$(cut -f1-3 "$out/longest.tsv")" ] ||
  fail "longest: status $status, $(cat "$out/longest.out")"

# Options that contradict each other, and queries the line format cannot carry.
run both-filters "$data/items.tsv" --exclude-commands --categories 11 600
refused both-filters "--exclude-commands and --categories exclude each other"
run tab-query "$data/items.tsv" 600 "$(printf 'P\tF')"
refused tab-query "query argument 2: refused, it holds a tab"
run newline-query "$data/items.tsv" "$(printf 'P\nF')"
refused newline-query "query argument 1: refused, it holds a line feed"
printf '600\nP\rF\n' >"$out/cr-queries.txt"
run cr-queries "$data/items.tsv" --queries "$out/cr-queries.txt"
refused cr-queries "cr-queries.txt:2: refused, it holds a carriage return"

"$tool" --help >"$out/help.out" 2>&1 || fail "--help: exit status $?"
head -n 1 "$out/help.out" | grep -q "^usage: hotkey-search" || fail "--help: no usage"

[ $failures -eq 0 ] && echo "all hotkey-search cases pass"
[ $failures -eq 0 ]
