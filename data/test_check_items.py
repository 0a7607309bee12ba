#!/usr/bin/env python3
"""Tests of the items checker: its category rules, its key comparison and what it reports."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from check_items import (  # noqa: E402
    CATEGORY_NAMES,
    category_of,
    category_of_security,
    check,
    keys_equal,
    read_items,
)


def item(code, hotkey, name, type_word, kind=0xFFFFFFFF, market=1, extra=-1, line=1):
    return dict(line=line, code=code, hotkey=hotkey, name=name, type=type_word, extra=extra,
                kind=kind, market=market)


class CategoryTest(unittest.TestCase):
    def test_kinds_and_command_groups(self):
        cases = [
            (item("06", "ZXG", "自选股", 0x6400, 257), 5),
            (item("X", "X", "x", 0x6500, 257), 6),
            (item("X", "X", "x", 0x6501, 257), 9),
            (item("X", "X", "x", 0x6502, 257), 8),
            (item("X", "X", "x", 0x6503, 257), 7),
            (item("X", "X", "x", 0x6504, 257), 6),
            (item("X", "X", "x", 0x66FF, 257), 71),
            (item("X", "X", "x", 0x6703, 257), 3),
            (item("X", "X", "x", 0x6709, 257), 4),
            (item("X", "X", "x", 0x6800, 257), 66),
            (item("600000", "PFYH", "浦发银行", 0x0102, 256), 65),
            (item("600000", "PFYX", "浦发银行", 0x0102, 258), 10),
            (item("600000", "PFYH", "浦发银行", 0x0102), 11),
            (item("600000", "PFYH", "浦发银行", 0xFFFF), 66),
        ]
        for record, expected in cases:
            self.assertEqual(category_of(record), expected, record)
        alias = item("600000", "PFYX", "浦发银行", 0x0102, 258)
        self.assertEqual(category_of(alias, alias_by_security=True), 11)

    def test_security_table(self):
        cases = {
            ("000001", 0x0006): 12, ("002594", 0x000D): 13, ("300750", 0x0050): 14,
            ("688981", 0x0117): 15, ("900903", 0x0103): 17, ("200011", 0x0007): 18,
            ("835185", 0x0051): 19, ("430047", 0x0051): 19, ("920002", 0x0051): 19,
            ("899001", 0x0051): 20, ("83518", 0x0051): 20, ("400002", 0x0051): 20,
            ("00700", 0x7401): 57, ("08083", 0x7402): 58, ("02800", 0x7403): 21,
            ("00823", 0x7404): 23, ("80700", 0x7405): 59, ("X", 0x7406): 60, ("X", 0x7407): 61,
            ("AAPL", 0x6901): 25, ("X", 0x6B08): 32, ("X", 0x6A09): 33, ("X", 0x6A00): 33,
            ("X", 0x8200): 48, ("X", 0xDF00): 48, ("X", 0xE000): 66, ("X", 0x0797): 44,
            ("X", 0x07A1): 43, ("X", 0x0799): 46, ("X", 0x0700): 66, ("X", 0x01AB): 41,
            ("X", 0x9600): 70, ("X", 0x9C00): 34, ("X", 0x0C00): 54, ("X", 0x0201): 37,
            ("X", 0x0015): 64, ("X", 0x0112): 64, ("X", 0x000C): 63, ("X", 0x010B): 62,
            ("X", 0x0009): 66, ("X", 0x0400): 66,
        }
        for (code, type_word), expected in cases.items():
            self.assertEqual(category_of_security(code, type_word), expected,
                             "%s 0x%04X" % (code, type_word))
        self.assertEqual(len(CATEGORY_NAMES), 72)
        self.assertEqual((CATEGORY_NAMES[16], CATEGORY_NAMES[66], CATEGORY_NAMES[71]),
                         ("CDR", "未知", "板块"))


class KeyComparisonTest(unittest.TestCase):
    def test_forward_whole_comparison(self):
        self.assertTrue(keys_equal("12 34", "1234"))
        self.assertTrue(keys_equal("ABC", "abc"))
        self.assertTrue(keys_equal("\uff21 B", "AB"))  # width folded, then a space skipped
        self.assertTrue(keys_equal("1 2", "123"))  # a skipped space ends the check early
        self.assertFalse(keys_equal("AB", "ABC"))
        self.assertFalse(keys_equal("\uff21B", "AB"))  # without a space the last step is plain
        self.assertFalse(keys_equal("", ""))
        self.assertFalse(keys_equal("ZXG", ""))
        self.assertFalse(keys_equal("沪A", "沪B"))


class CheckTest(unittest.TestCase):
    def run_check(self, records):
        errors = []
        check(records, errors)
        return errors

    def test_reports_each_kind_of_fault(self):
        records = [
            item("600000", "PFYH", "浦发银行", 0x0102, line=1),
            item("600000", "pfyh", "浦发 银行", 0x0102, line=2, market=9),  # same keys, category
            item("600001", "X", "x", 0xFFFF, line=3),  # unknown category
            item("12345678901234567", "X", "x", 0x0006, line=4),  # code too long
            item("600002", "X", "中" * 33, 0x0006, line=5),  # name too long
            item("600003", "X", "x", 0x0102, kind=258, line=6),  # alias of nothing
            item("600000", "X", "x", 0x0006, kind=256, line=7),  # former name with another type
            item("21", "MR", "买入", 0x6700, kind=257, extra=-1, line=8),  # no command number
            item("600000", "PFYH", "浦发银行", 0x0006, line=9, market=0),  # other category: fine
        ]
        errors = self.run_check(records)
        expected = ["lines 1 and 2: duplicates", "line 3 ", "line 4 ", "line 5 ", "line 6:",
                    "line 7:", "line 8 ", "category 35 指数 has no items"]
        for text in expected:
            self.assertTrue(any(text in e for e in errors), "%s not in %s" % (text, errors))
        self.assertFalse(any("line 9" in e for e in errors), errors)

    def test_reads_decimal_and_hex_and_rejects_bad_lines(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "items.tsv")
            with open(path, "w", encoding="utf-8") as f:
                f.write("# c\n\n600000\tPFYH\t浦发银行\t258\t-1\t0xFFFFFFFF\t1\n"
                        "1\t2\t3\n1\t2\t3\t0xZZ\t-1\t0\t1\n")
            errors = []
            records = read_items(path, errors)
        self.assertEqual([(r["line"], r["type"], r["kind"]) for r in records],
                         [(3, 0x0102, 0xFFFFFFFF)])
        self.assertEqual(errors, ["line 4: 3 columns", "line 5: a number does not parse"])


if __name__ == "__main__":
    unittest.main()
