#!/usr/bin/env python3
"""Pinyin-initials hot keys for keyboard item names.

Run while generating item lists. A name's hot key is the pinyin initial of each Chinese
character, ASCII letters and digits kept upper-cased (full-width forms folded to ASCII), everything
else dropped: "ST国华" -> "STGH", "*ST" -> "ST". Its full pinyin key spells each character's
syllable instead of its initial, without tones ("ü" as "V", as pinyin keyboards type it).

The terminal computes the same keys at run time (services/Pinyin.h) from a table this tool
generates (--cpp): the readings below, resolved to each character's choices.

Readings come from the Unihan data of the unicode-data package. A character's name reading is, in
order: the phrase table below, the character table below, kMandarin's first value, then the first
reading of kHanyuPinlu, kXHC1983, kTGHZ2013 or kHanyuPinyin. A character's other common readings are
those that kHanyuPinlu attests with at least ALT_SHARE of the character's counted uses; each other
distinct initials string of a name becomes an alias item (kind 258), at most MAX_ALIASES per name.

Usage:
  initials.py [--unihan FILE] NAME...         print NAME, hot key and alias hot keys, tab-separated
  initials.py [--unihan FILE] --items IN [--out OUT]
      IN is a hotkey-search items file (code, hotkey, name, type, extra, kind, market). An empty hot
      key is computed from the name; a computed security or alias row is followed by its alias rows.
  initials.py [--unihan FILE] --cpp [--check]
      writes the run-time reading table, services/PinyinReadings.cpp (--check: compare instead).
"""

import argparse
import bz2
import io
import itertools
import os
import sys
import unicodedata
import zipfile

MAX_CODE_LENGTH = 16
MAX_HOTKEY_LENGTH = 32
MAX_NAME_LENGTH = 32
MAX_ALIASES = 3
ALT_SHARE = 0.05

KIND_FORMER_NAME = 256
KIND_COMMAND = 257
KIND_ALIAS = 258
KIND_DEFAULT = 0xFFFFFFFF  # the record's default kind: an ordinary security

UNIHAN_FIELDS = ("kMandarin", "kHanyuPinlu", "kXHC1983", "kTGHZ2013", "kHanyuPinyin")
UNIHAN_PATHS = (
    "/usr/share/unicode/Unihan_Readings.txt",
    "/usr/share/unicode/Unihan_Readings.txt.bz2",
    "/usr/share/unicode/Unihan.zip",
)

# Characters whose dictionary default is not the reading that security names use. The value is the
# name reading and the other readings to offer as aliases: None keeps the ones the data attests,
# () offers none. Only characters whose initials or spelt syllables differ between readings need
# an entry.
CHAR_OVERRIDES = {
    "行": ("háng", None),  # banks: 银行, 农商行; 行业
    "长": ("cháng", None),  # 长江, 长城, 长安, 长春, 长沙
    "厦": ("xià", ()),  # 厦门; shà (大厦) is not worth an alias
    "藏": ("zàng", ()),  # 西藏, 藏格
    "盛": ("shèng", ()),  # chéng (to fill a bowl) never occurs in names
    "泊": ("bó", ()),  # 苏泊尔, 停泊; the lake reading pō is rare
    "宿": ("sù", ()),  # 宿迁, 网宿; xiǔ (one night) never occurs in names
    # Same initial either way; the full pinyin key spells the name reading.
    "地": ("dì", None),  # 地产, 绿地, 置地; the particle de is the dictionary's first
    "拓": ("tuò", None),  # 拓普, 拓荆, 力拓
    "佛": ("fó", None),  # 佛山, 雪佛龙
    "仔": ("zǎi", None),  # 片仔癀, 湾仔
    "勒": ("lè", None),  # 卡特彼勒 and other transliterations
}

# Words whose reading differs from the character table. A word's readings are fixed: its characters
# yield no aliases, except readings listed after a bar, which do (重庆 gives CQ and the alias ZQ).
PHRASE_OVERRIDES = {
    "重庆": ("chóng|zhòng", "qìng"),
    "重药": ("chóng|zhòng", "yào"),  # 重庆医药
    "成长": ("chéng", "zhǎng"),
    "增长": ("zēng", "zhǎng"),
    "发行": ("fā", "xíng"),
    "出行": ("chū", "xíng"),
    "行业": ("háng", "yè"),
    "银行": ("yín", "háng"),
    "长沙": ("cháng", "shā"),
    "音乐": ("yīn", "yuè"),
    "娱乐": ("yú", "lè"),
    "可乐": ("kě", "lè"),
    "美的": ("měi", "dì"),  # the brand reads dì; the particle de is the dictionary's first
}


def unihan_installed():
    return any(os.path.exists(p) for p in UNIHAN_PATHS)


class InitialsError(Exception):
    """A name or item that cannot be turned into a valid hot key or item."""


def utf16_length(text):
    return len(text.encode("utf-16-le")) // 2


def initial_of(reading):
    """Upper-case first letter of a pinyin reading ('zhòng' -> 'Z', 'ê' -> 'E')."""
    for ch in unicodedata.normalize("NFD", reading):
        if "a" <= ch.lower() <= "z":
            return ch.upper()
    raise InitialsError("reading without a letter: %r" % reading)


def syllable_of(reading):
    """Upper-case letters of a reading without its tone: 'lǜ' -> 'LV', 'zhòng' -> 'ZHONG'."""
    letters = unicodedata.normalize("NFD", reading).replace("u\u0308", "v")
    syllable = "".join(ch for ch in letters if "a" <= ch <= "z").upper()
    if not syllable:
        raise InitialsError("reading without a letter: %r" % reading)
    return syllable


def fold_ascii(ch):
    """The upper-case ASCII letter or digit that ch stands for, or None."""
    if 0xFF10 <= ord(ch) <= 0xFF5A:  # full-width digits and letters
        ch = unicodedata.normalize("NFKC", ch)
    if ch.isascii() and ch.isalnum():
        return ch.upper()
    return None


def _parse_field(field, value):
    if field == "kMandarin":
        return value.split()
    if field == "kHanyuPinlu":  # "xíng(2943) háng(218)"
        out = []
        for token in value.split():
            reading, _, count = token.partition("(")
            out.append((reading, int(count.rstrip(")"))))
        return out
    readings = []  # "0442.080:háng 0443.050:hàng", kHanyuPinyin with comma lists
    for token in value.split():
        for reading in token.partition(":")[2].split(","):
            if reading and reading not in readings:
                readings.append(reading)
    return readings


class Readings:
    """Per-character readings: {char: {field: parsed value}}."""

    def __init__(self, table, char_overrides=None, phrase_overrides=None):
        self.table = table
        self.version = None  # the Unicode version of the data, where its file says it
        self.char_overrides = CHAR_OVERRIDES if char_overrides is None else char_overrides
        self.phrases = PHRASE_OVERRIDES if phrase_overrides is None else phrase_overrides
        self.phrases_longest_first = sorted(self.phrases, key=len, reverse=True)
        for ch, (reading, alternates) in self.char_overrides.items():
            self._require_reading(ch, reading)
            for alt in alternates or ():
                self._require_reading(ch, alt)
        for phrase, readings in self.phrases.items():
            if len(phrase) != len(readings):
                raise InitialsError("phrase %s: %d readings" % (phrase, len(readings)))
            for ch, reading in zip(phrase, readings):
                for one in reading.split("|"):
                    self._require_reading(ch, one)

    @classmethod
    def from_lines(cls, lines, **overrides):
        table = {}
        version = None
        for line in lines:
            if line.startswith("# Unicode version:"):
                version = line.partition(":")[2].strip()
            if not line or line[0] != "U":
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3 or parts[1] not in UNIHAN_FIELDS:
                continue
            ch = chr(int(parts[0][2:], 16))
            table.setdefault(ch, {})[parts[1]] = _parse_field(parts[1], parts[2])
        readings = cls(table, **overrides)
        readings.version = version
        return readings

    @classmethod
    def load(cls, path=None):
        candidates = [path] if path else [p for p in UNIHAN_PATHS if os.path.exists(p)]
        if not candidates or not os.path.exists(candidates[0]):
            raise InitialsError(
                "Unihan readings not found (looked for %s); install the unicode-data package"
                % ", ".join([path] if path else UNIHAN_PATHS)
            )
        path = candidates[0]
        if path.endswith(".bz2"):
            with bz2.open(path, "rt", encoding="utf-8") as f:
                return cls.from_lines(f)
        if path.endswith(".zip"):
            with zipfile.ZipFile(path) as z:
                with z.open("Unihan_Readings.txt") as raw:
                    return cls.from_lines(io.TextIOWrapper(raw, encoding="utf-8"))
        with open(path, encoding="utf-8") as f:
            return cls.from_lines(f)

    def all_readings(self, ch):
        entry = self.table.get(ch, {})
        out = []
        for field in UNIHAN_FIELDS:
            for value in entry.get(field, ()):
                reading = value[0] if isinstance(value, tuple) else value
                if reading not in out:
                    out.append(reading)
        return out

    def _require_reading(self, ch, reading):
        if reading not in self.all_readings(ch):
            raise InitialsError("override %s %s is not a reading of that character" % (ch, reading))

    def is_han(self, ch):
        return ch in self.table

    def default_reading(self, ch):
        if ch in self.char_overrides:
            return self.char_overrides[ch][0]
        entry = self.table[ch]
        for field in UNIHAN_FIELDS:
            values = entry.get(field)
            if values:
                return values[0][0] if field == "kHanyuPinlu" else values[0]
        raise InitialsError("no reading for %s (U+%04X)" % (ch, ord(ch)))

    def common_readings(self, ch):
        """Readings other than the default that are common enough to offer as aliases."""
        override = self.char_overrides.get(ch)
        if override and override[1] is not None:
            return list(override[1])
        out = []
        pinlu = self.table.get(ch, {}).get("kHanyuPinlu", [])
        total = sum(count for _, count in pinlu)
        for reading, count in pinlu:
            if total and count >= ALT_SHARE * total and reading not in out:
                out.append(reading)
        if override:
            out.insert(0, override[0])
        return out

    def char_choices(self, ch):
        """The readings a character offers in names: its name reading first, then one per other
        initial."""
        return _distinct_initials(self.default_reading(ch), self.common_readings(ch))

    def word_choices(self, phrase):
        """Per character of a listed word, its readings as char_choices gives them."""
        out = []
        for reading in self.phrases[phrase]:
            primary, *others = reading.split("|")
            out.append(_distinct_initials(primary, others))
        return out


def _distinct_initials(primary, others):
    """The name reading, then the first of the other readings for each initial not yet offered."""
    out = [primary]
    initials = {initial_of(primary)}
    for reading in others:
        letter = initial_of(reading)
        if letter not in initials:
            initials.add(letter)
            out.append(reading)
    return out


def _spelled(readings):
    return [(initial_of(reading), syllable_of(reading)) for reading in readings]


def _choices(name, readings):
    """Per output position, its (initial, syllable) choices: the name reading's first, then one
    per other initial. A letter or digit is its own initial and syllable."""
    positions = []
    i = 0
    while i < len(name):
        phrase = next((p for p in readings.phrases_longest_first if name.startswith(p, i)), None)
        if phrase:
            positions.extend(_spelled(choices) for choices in readings.word_choices(phrase))
            i += len(phrase)
            continue
        ch = name[i]
        i += 1
        ascii_ch = fold_ascii(ch)
        if ascii_ch:
            positions.append([(ascii_ch, ascii_ch)])
        elif readings.is_han(ch):
            positions.append(_spelled(readings.char_choices(ch)))
        elif unicodedata.name(ch, "").startswith("CJK"):
            raise InitialsError("no reading for %s (U+%04X) in %s" % (ch, ord(ch), name))
    return positions


def _alias_picks(positions, max_aliases):
    """Per alias, the {position: choice} it changes: fewest changed positions first, then leftmost
    changes first; at most max_aliases of them."""
    variable = [i for i, p in enumerate(positions) if len(p) > 1]
    for changed in range(1, len(variable) + 1):
        for subset in itertools.combinations(variable, changed):
            for picks in itertools.product(*(range(1, len(positions[i])) for i in subset)):
                if max_aliases <= 0:
                    return
                max_aliases -= 1
                yield dict(zip(subset, picks))


def _key_positions(name, readings):
    """The positions of a name that a key can hold: one per character of the hot key."""
    return _choices(name, readings)[:MAX_HOTKEY_LENGTH]


def _key(positions, picks, part):
    """Initials (part 0) or syllables (part 1) of the positions, with picks' choices."""
    text = "".join(p[picks.get(i, 0)][part] for i, p in enumerate(positions))
    return text[:MAX_HOTKEY_LENGTH]


def hotkeys(name, readings, max_aliases=MAX_ALIASES):
    """(hot key, [alias hot keys]) of a name, cut to MAX_HOTKEY_LENGTH. Aliases come fewest changed
    positions first, then leftmost changes first; at most max_aliases of them. Each alias changes
    other positions, so every one differs from the hot key and from the others."""
    positions = _key_positions(name, readings)
    primary = _key(positions, {}, 0)
    aliases = [_key(positions, picks, 0) for picks in _alias_picks(positions, max_aliases)]
    return primary, aliases


def full_pinyin(name, readings):
    """(full pinyin key, full pinyin of the first alias's reading or ""), each cut to
    MAX_HOTKEY_LENGTH; the second is "" as well where the cut leaves it equal to the first."""
    positions = _key_positions(name, readings)
    primary = _key(positions, {}, 1)
    second = ""
    for picks in _alias_picks(positions, 1):
        second = _key(positions, picks, 1)
    return primary, (second if second != primary else "")


def parse_number(text, what, line_no):
    try:
        return int(text, 16) if text.lower().startswith("0x") else int(text, 10)
    except ValueError:
        raise InitialsError("line %d: %s %r is not a number" % (line_no, what, text)) from None


def check_item(code, hotkey, name, type_word, extra, kind, market, line_no):
    for label, text, limit in (
        ("code", code, MAX_CODE_LENGTH),
        ("name", name, MAX_NAME_LENGTH),
        ("hot key", hotkey, MAX_HOTKEY_LENGTH),
    ):
        if utf16_length(text) > limit:
            raise InitialsError("line %d: %s %r longer than %d" % (line_no, label, text, limit))
        if any(c in text for c in "\t\r\n"):
            raise InitialsError("line %d: %s %r holds a tab or line break" % (line_no, label, text))
    if not 0 <= type_word <= 0xFFFF:
        raise InitialsError("line %d: type %d out of range" % (line_no, type_word))
    if not -(2**31) <= extra < 2**31:
        raise InitialsError("line %d: extra %d out of range" % (line_no, extra))
    if not 0 <= kind < 2**32:
        raise InitialsError("line %d: kind %d out of range" % (line_no, kind))
    if not 0 <= market <= 255:
        raise InitialsError("line %d: market %d out of range" % (line_no, market))


def format_item(code, hotkey, name, type_word, extra, kind, market):
    kind_text = "0x%08X" % kind if kind == KIND_DEFAULT else "%d" % kind
    fields = (code, hotkey, name, type_word, extra, kind_text, market)
    return "%s\t%s\t%s\t0x%04X\t%d\t%s\t%d" % fields


def process_items(lines, readings):
    """Items lines in, items lines out: empty hot keys filled, alias rows added. Comments and empty
    lines pass through unchanged."""
    out = []
    for line_no, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line or line.startswith("#"):
            out.append(line)
            continue
        cols = line.split("\t")
        if len(cols) != 7:
            raise InitialsError("line %d: %d columns, expected 7" % (line_no, len(cols)))
        code, hotkey, name = cols[:3]
        type_word, extra, kind, market = (
            parse_number(text, what, line_no)
            for text, what in zip(cols[3:], ("type", "extra", "kind", "market"))
        )
        aliases = []
        if not hotkey:
            try:
                hotkey, aliases = hotkeys(name, readings)
            except InitialsError as e:
                raise InitialsError("line %d: %s" % (line_no, e)) from None
            if not hotkey:
                raise InitialsError("line %d: name %r gives an empty hot key" % (line_no, name))
            if kind in (KIND_FORMER_NAME, KIND_COMMAND):
                aliases = []
        check_item(code, hotkey, name, type_word, extra, kind, market, line_no)
        out.append(format_item(code, hotkey, name, type_word, extra, kind, market))
        for alias in aliases:
            check_item(code, alias, name, type_word, extra, KIND_ALIAS, market, line_no)
            out.append(format_item(code, alias, name, type_word, extra, KIND_ALIAS, market))
    return out


def write_table(readings, out, check):
    """Writes the run-time reading table to out, or with check compares; 0 when written or equal."""
    import readings_table  # it builds on this module

    text = readings_table.render(readings)
    path = out or readings_table.TABLE_PATH
    if check:
        try:
            with open(path, encoding="utf-8", newline="") as f:
                current = f.read()
        except OSError as e:
            print("initials: %s" % e, file=sys.stderr)
            return 1
        if current != text:
            print("initials: %s is out of date; run initials.py --cpp" % path, file=sys.stderr)
            return 1
        return 0
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


def main(argv=None):
    parser = argparse.ArgumentParser(description="Pinyin-initials hot keys of item names.")
    parser.add_argument("--unihan", help="Unihan_Readings.txt(.bz2) or Unihan.zip")
    parser.add_argument("--items", help="items file to complete ('-' for standard input)")
    parser.add_argument("--cpp", action="store_true", help="write the run-time reading table")
    parser.add_argument("--check", action="store_true", help="with --cpp: compare, do not write")
    parser.add_argument("--out", help="output file (default: standard output; the table's file)")
    parser.add_argument("names", nargs="*")
    args = parser.parse_args(argv)
    if (bool(args.items) + bool(args.names) + args.cpp) != 1:
        parser.error("give one of --items, --cpp or names")
    if args.check and not args.cpp:
        parser.error("--check goes with --cpp")
    try:
        readings = Readings.load(args.unihan)
        if args.cpp:
            return write_table(readings, args.out, args.check)
        if args.names:
            lines = []
            for name in args.names:
                hotkey, aliases = hotkeys(name, readings)
                lines.append("\t".join([name, hotkey] + aliases))
        else:
            if args.items == "-":
                src = io.TextIOWrapper(sys.stdin.buffer, encoding="utf-8")
                lines = process_items(src.readlines(), readings)
            else:
                with open(args.items, encoding="utf-8") as f:
                    lines = process_items(f.readlines(), readings)
    except (InitialsError, OSError) as e:
        print("initials: %s" % e, file=sys.stderr)
        return 1
    text = "".join(line + "\n" for line in lines)
    if args.out:
        with open(args.out, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    else:
        sys.stdout.buffer.write(text.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
