"""The run-time reading table: services/PinyinReadings.cpp, generated from the same readings and
name readings as the items' hot keys, so that the terminal computes the keys this tool computes.

Layout (services/PinyinReadings.h declares it): every syllable once, spelt in upper case; per
character its name reading's syllable, found through pages of 64 code points; apart, with all their
choices, the characters with more than one initial to offer or that begin a listed word; and the
listed words. The bulk is written as six-bit digits ('0' + value, lowest digit first) in raw string
literals, which cost a byte of source and of binary each: nine bits are a digit and a half.
"""

import os

import initials

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE_PATH = os.path.normpath(os.path.join(HERE, "..", "..", "services", "PinyinReadings.cpp"))

# Match the array bounds in services/PinyinReadings.h.
MAX_CHOICES = 4
MAX_WORD_LENGTH = 4
PAGE_BITS = 6
SPECIAL_READING = 511  # the nine-bit id that sends a character to the special table
DIGIT_BITS = 6
DIGITS_PER_LINE = 90


def digits(value, count):
    """count digits of value, lowest first."""
    if value >> (DIGIT_BITS * count):
        raise initials.InitialsError("%d does not fit %d digits" % (value, count))
    return "".join(chr(ord("0") + ((value >> (DIGIT_BITS * k)) & 63)) for k in range(count))


def raw_string_lines(text):
    lines = []
    for start in range(0, len(text), DIGITS_PER_LINE):
        lines.append('    R"(%s)"' % text[start : start + DIGITS_PER_LINE])
    return "\n".join(lines) if lines else '    ""'


def c_array_lines(values, per_line=16):
    rows = []
    for start in range(0, len(values), per_line):
        rows.append("    " + ", ".join(str(v) for v in values[start : start + per_line]) + ",")
    return "\n".join(rows)


class TableBuilder:
    def __init__(self, readings):
        self.readings = readings
        self.chars = sorted(readings.table, key=ord)
        self.word_starts = {phrase[0] for phrase in readings.phrases}
        self.choices = {ch: readings.char_choices(ch) for ch in self.chars}
        self.words = [(p, readings.word_choices(p)) for p in readings.phrases_longest_first]
        spelt = [r for rs in self.choices.values() for r in rs]
        spelt += [r for _, word in self.words for rs in word for r in rs]
        self.syllables = sorted({initials.syllable_of(r) for r in spelt})
        if len(self.syllables) >= SPECIAL_READING:
            raise initials.InitialsError("%d syllables do not fit 9 bits" % len(self.syllables))
        self.syllable_id = {s: i for i, s in enumerate(self.syllables)}
        for reading in spelt:
            if initials.initial_of(reading) != initials.syllable_of(reading)[0]:
                raise initials.InitialsError("%r: initial is not the syllable's first" % reading)

    def reading_id(self, reading):
        return self.syllable_id[initials.syllable_of(reading)]

    def is_special(self, ch):
        return len(self.choices[ch]) > 1 or ch in self.word_starts

    def encoded_characters(self):
        """(first page, page slots, page records, reading ids) as digit strings."""
        pages = {}
        for ch in self.chars:
            pages.setdefault(ord(ch) >> PAGE_BITS, []).append(ch)
        first, last = min(pages), max(pages)
        slots, records, ids = [], [], []
        for page in range(first, last + 1):
            members = pages.get(page)
            if not members:
                slots.append(digits(0, 2))
                continue
            slots.append(digits(len(records) + 1, 2))
            mask = 0
            for ch in members:
                mask |= 1 << (ord(ch) & ((1 << PAGE_BITS) - 1))
            records.append(digits(mask, 11) + digits(len(ids), 3))
            for ch in members:
                special = self.is_special(ch)
                ids.append(SPECIAL_READING if special else self.reading_id(self.choices[ch][0]))
        if len(ids) % 2:
            ids.append(0)
        pairs = "".join(digits(ids[k] | ids[k + 1] << 9, 3) for k in range(0, len(ids), 2))
        return first, last - first + 1, "".join(slots), "".join(records), pairs

    def choice_list(self, readings_list):
        if len(readings_list) > MAX_CHOICES:
            raise initials.InitialsError("more than %d choices: %r" % (MAX_CHOICES, readings_list))
        ids = [self.reading_id(r) for r in readings_list]
        return "{%s}" % ", ".join(str(i) for i in ids)

    def special_lines(self):
        lines = []
        for ch in self.chars:
            if not self.is_special(ch):
                continue
            choices = self.choices[ch]
            lines.append(
                "    {0x%04X, %d, %d, %s},  // %s %s"
                % (
                    ord(ch),
                    len(choices),
                    1 if ch in self.word_starts else 0,
                    self.choice_list(choices),
                    ch,
                    " ".join(choices),
                )
            )
        return "\n".join(lines)

    def word_lines(self):
        lines = []
        for phrase, word in self.words:
            if len(phrase) > MAX_WORD_LENGTH:
                raise initials.InitialsError("word %s longer than %d" % (phrase, MAX_WORD_LENGTH))
            chars = ", ".join("0x%04X" % ord(ch) for ch in phrase)
            counts = ", ".join(str(len(rs)) for rs in word)
            choices = ", ".join(self.choice_list(rs) for rs in word)
            spelt = " ".join("|".join(rs) for rs in word)
            lines.append(
                "    {{%s}, %d, {%s}, {%s}},  // %s %s"
                % (chars, len(phrase), counts, choices, phrase, spelt)
            )
        return "\n".join(lines)

    def render(self):
        first_page, page_count, slots, records, pairs = self.encoded_characters()
        starts, offset = [], 0
        for s in self.syllables:
            starts.append(offset)
            offset += len(s)
        starts.append(offset)
        version = self.readings.version or "unknown"
        return TEMPLATE.format(
            version=version,
            characters=len(self.chars),
            syllable_count=len(self.syllables),
            syllable_letters=raw_string_lines("".join(self.syllables)),
            syllable_starts=c_array_lines(starts),
            first_page=first_page,
            page_count=page_count,
            page_slots=raw_string_lines(slots),
            page_records=raw_string_lines(records),
            reading_ids=raw_string_lines(pairs),
            specials=self.special_lines(),
            words=self.word_lines(),
        )


TEMPLATE = """\
// GENERATED by tools/initials/initials.py --cpp from the Unihan readings (Unicode {version}) and
// the tool's name readings: regenerate instead of editing (data/README.md says how).
// {characters} characters, {syllable_count} syllables.
#include "services/PinyinReadings.h"

namespace pinyin_readings {{

// clang-format off
const unsigned kSyllableCount = {syllable_count};
const char kSyllableLetters[] =
{syllable_letters};
const unsigned short kSyllableStart[] = {{
{syllable_starts}
}};

const unsigned kFirstPage = {first_page};
const unsigned kPageCount = {page_count};
const char kPageSlots[] =
{page_slots};
const char kPageRecords[] =
{page_records};
const char kReadingIds[] =
{reading_ids};

const SpecialCharacter kSpecialCharacters[] = {{
{specials}
}};
const unsigned kSpecialCharacterCount =
    sizeof(kSpecialCharacters) / sizeof(kSpecialCharacters[0]);

const Word kWords[] = {{
{words}
}};
const unsigned kWordCount = sizeof(kWords) / sizeof(kWords[0]);
// clang-format on

}}  // namespace pinyin_readings
"""


def render(readings):
    return TableBuilder(readings).render()
