#!/usr/bin/env python3
"""Checks an items file as the component would take it.

  check_items.py [ITEMS] [--summary]

Every line must parse (seven columns, numbers decimal or 0x hex); every field must fit its record
field; every item's category (computed with the component's rules) must be one the list means to
fill, never 66 "未知"; every category the default list covers must have items; no two items may be
ones the table's duplicate check takes for the same; former names and aliases must name a listed
security with the same type word. --summary prints the item count of each category.
"""

import argparse
import os
import sys
from collections import defaultdict

HERE = os.path.dirname(os.path.abspath(__file__))

MAX_CODE_LENGTH = 16
MAX_HOTKEY_LENGTH = 32
MAX_NAME_LENGTH = 32

KIND_FORMER_NAME = 256
KIND_COMMAND = 257
KIND_ALIAS = 258

CATEGORY_NAMES = (
    ["交易"] * 5
    + ["功能", "指标", "五彩", "交易", "选股", "别名", "沪A", "深A", "深A", "深A", "科创", "CDR", "沪B"]
    + ["深B", "京A", "三板", "港股", "港股", "港股", "粉单"]
    + ["美股"] * 9
    + ["英股", "指数", "指数", "指数", "指数", "基金", "基金", "债券", "债券", "指数"]
    + ["期货"] * 5
    + ["现货"] * 3
    + ["外汇", "外汇", "期权", "指数", "指数", "港股", "港股", "港股", "港股", "港股", "权证", "权证"]
    + ["退市", "曾用", "未知", "指数", "汇率", "指数", "基金", "板块"]
)
assert len(CATEGORY_NAMES) == 72

UNKNOWN = 66

# The categories the default list fills. Left out: 16 (no rule yields it), 22 and 60/61 (no Hong
# Kong listing types of that kind here), 28-33 (US types beyond shares, ADRs and ETFs), 43/46/47
# (futures types the list does not use), 51 (second spot group), 66 (unknown), 67 (group-100
# quotes).
EXPECTED_CATEGORIES = frozenset(range(72)) - {16, 22, 28, 29, 30, 31, 32, 33, 43, 46, 47, 51, 60,
                                              61, 66, 67}

SECURITY_TABLE = {
    (0, 5): 36, (0, 6): 12, (0, 7): 18, (0, 8): 42, (0, 10): 40, (0, 14): 40, (0, 12): 63,
    (0, 13): 13, (0, 21): 64, (0, 80): 14,
    (1, 1): 35, (1, 2): 11, (1, 3): 17, (1, 4): 41, (1, 171): 41, (1, 9): 39, (1, 14): 39,
    (1, 11): 62, (1, 18): 64, (1, 23): 15,
    (7, 151): 44, (7, 152): 45, (7, 153): 46, (7, 161): 43,
}
HI_TABLE = {2: 37, 47: 37, 90: 37, 3: 22, 6: 22, 8: 47, 100: 67, 118: 49, 119: 52, 120: 68,
            121: 53, 133: 53, 122: 50, 123: 51, 124: 55, 125: 38, 150: 70, 153: 24, 155: 34,
            156: 34, 201: 56, 202: 69}
for _hi in (10, 11, 12, 139, 140, 141, 151, 163):
    HI_TABLE[_hi] = 54
for _hi in list(range(101, 105)) + list(range(108, 116)) + [130, 131, 132, 134, 142, 223]:
    HI_TABLE[_hi] = 48
HK_TABLE = {1: 57, 2: 58, 3: 21, 4: 23, 5: 59, 6: 60}


def is_bj_a_share(code):
    return len(code) == 6 and code.isdigit() and code[:2] in ("43", "83", "87", "88", "92")


def category_of_security(code, type_word):
    hi, lo = type_word >> 8, type_word & 0xFF
    if hi > 223:
        return UNKNOWN
    if (hi, lo) == (0, 81):
        return 19 if is_bj_a_share(code) else 20
    if (hi, lo) in SECURITY_TABLE:
        return SECURITY_TABLE[(hi, lo)]
    if hi in (105, 106, 107):
        return lo + 24 if 1 <= lo <= 8 else 33
    if hi == 116:
        return HK_TABLE.get(lo, 61)
    return HI_TABLE.get(hi, UNKNOWN)


def category_of(item, alias_by_security=False):
    kind, type_word = item["kind"], item["type"]
    if kind == KIND_FORMER_NAME:
        return 65
    if kind == KIND_COMMAND:
        hi, lo = type_word >> 8, type_word & 0xFF
        if hi == 100:
            return 5
        if hi == 101:
            return {1: 9, 2: 8, 3: 7}.get(lo, 6)
        if hi == 102:
            return 71
        if hi == 103:
            return lo if lo <= 3 else 4
        return UNKNOWN
    if kind == KIND_ALIAS and not alias_by_security:
        return 10
    return category_of_security(item["code"], type_word)


def _upper(ch):
    up = ch.upper()
    return up if len(up) == 1 else ch


def _fold(ch):
    return chr(ord(ch) - 0xFEE0) if ord(ch) >= 0xFF21 else ch


def _case_insensitive_equal(a, b):
    # The platform's case-insensitive comparison may also pass over hyphens and apostrophes; count
    # such pairs as equal too, so the check errs on the side of reporting.
    if a.lower() == b.lower():
        return True
    strip = str.maketrans("", "", "-'")
    return a.lower().translate(strip) == b.lower().translate(strip)


def keys_equal(text, key):
    """Whether the table's forward whole-text key comparison gives 0."""
    if not text or not key:
        return False
    i = j = counted = 0
    while i < len(text) and j < len(key):
        a, b = _upper(text[i]), _upper(key[j])
        if a == " ":
            i += 1
        elif b == " ":
            j += 1
        else:
            counted += 1
            if a != b and _fold(a) != b and a != _fold(b):
                return False
            i += 1
            j += 1
    if i != counted or j != counted:
        return True
    return _case_insensitive_equal(text, key)


def utf16_length(text):
    return len(text.encode("utf-16-le")) // 2


def parse_number(text):
    if text.lower().startswith("0x"):
        return int(text[2:], 16)
    return int(text, 10)


def read_items(path, errors):
    items = []
    with open(path, encoding="utf-8") as f:
        for line_no, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            cols = line.split("\t")
            if len(cols) != 7:
                errors.append("line %d: %d columns" % (line_no, len(cols)))
                continue
            try:
                type_word, extra, kind, market = (parse_number(c) for c in cols[3:])
            except ValueError:
                errors.append("line %d: a number does not parse" % line_no)
                continue
            items.append(dict(line=line_no, code=cols[0], hotkey=cols[1], name=cols[2],
                              type=type_word, extra=extra, kind=kind, market=market))
    return items


def check(items, errors):
    by_category = defaultdict(list)
    securities = {}
    for item in items:
        where = "line %d (%s %s)" % (item["line"], item["code"], item["name"])
        for field, limit in (("code", MAX_CODE_LENGTH), ("hotkey", MAX_HOTKEY_LENGTH),
                             ("name", MAX_NAME_LENGTH)):
            if utf16_length(item[field]) > limit:
                errors.append("%s: %s longer than %d" % (where, field, limit))
        if not item["code"] or not item["hotkey"] or not item["name"]:
            errors.append("%s: empty key" % where)
        if not (0 <= item["type"] <= 0xFFFF and 0 <= item["market"] <= 255
                and 0 <= item["kind"] < 2**32 and -2**31 <= item["extra"] < 2**31):
            errors.append("%s: number out of range" % where)
            continue
        category = category_of(item)
        item["category"] = category
        if category == UNKNOWN:
            errors.append("%s: category 66 未知" % where)
        elif category not in EXPECTED_CATEGORIES:
            errors.append("%s: category %d %s is not one the list fills"
                          % (where, category, CATEGORY_NAMES[category]))
        if item["kind"] == KIND_COMMAND:
            if item["extra"] < 0 or item["extra"] == 73:
                errors.append("%s: command without a command number" % where)
        elif item["extra"] != -1:
            errors.append("%s: extra information on a security" % where)
        if item["kind"] not in (KIND_FORMER_NAME, KIND_COMMAND, KIND_ALIAS):
            key = (item["code"], item["market"])
            if key in securities:
                errors.append("%s: second security %s in market %d" % (where, *key))
            securities.setdefault(key, item)
        by_category[category].append(item)

    for item in items:
        if item["kind"] in (KIND_FORMER_NAME, KIND_ALIAS):
            owner = securities.get((item["code"], item["market"]))
            if owner is None:
                errors.append("line %d: %s names no listed security" % (item["line"], item["code"]))
            elif owner["type"] != item["type"]:
                errors.append("line %d: type differs from its security's" % item["line"])

    for category in sorted(EXPECTED_CATEGORIES - set(by_category)):
        errors.append("category %d %s has no items" % (category, CATEGORY_NAMES[category]))

    for category, members in by_category.items():
        for n, a in enumerate(members):
            for b in members[n + 1:]:
                if all(keys_equal(a[f], b[f]) for f in ("code", "hotkey", "name")):
                    errors.append("lines %d and %d: duplicates in category %d"
                                  % (a["line"], b["line"], category))
    return by_category


def main(argv=None):
    parser = argparse.ArgumentParser(description="Check an items file.")
    parser.add_argument("items", nargs="?", default=os.path.join(HERE, "items.tsv"))
    parser.add_argument("--summary", action="store_true", help="print counts per category")
    args = parser.parse_args(argv)
    errors = []
    items = read_items(args.items, errors)
    by_category = check(items, errors)
    if args.summary:
        for category in sorted(by_category):
            print("%2d\t%s\t%d" % (category, CATEGORY_NAMES[category], len(by_category[category])))
        print("total\t\t%d" % len(items))
    for error in errors:
        print("check_items: %s" % error, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
