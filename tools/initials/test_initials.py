#!/usr/bin/env python3
"""Tests of the initials tool, against the installed Unihan data and against small fixtures."""

import contextlib
import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import initials  # noqa: E402
from initials import InitialsError, Readings, hotkeys, process_items  # noqa: E402

FIXTURE = """\
# fixture in the Unihan_Readings layout
U+4E2D\tkMandarin\tzhōng
U+4E2D\tkHanyuPinlu\tzhōng(4000) zhòng(300)
U+5927\tkMandarin\tdà
U+5927\tkHanyuPinlu\tdà(11596) dài(177)
U+91CD\tkMandarin\tzhòng
U+91CD\tkHanyuPinlu\tzhòng(1823) chóng(329)
U+91CD\tkXHC1983\t0149.100:chóng 1502.040:zhòng
U+5E86\tkMandarin\tqìng
U+4E50\tkMandarin\tlè
U+4E50\tkHanyuPinlu\tlè(283) yuè(54)
U+884C\tkMandarin\txíng
U+884C\tkHanyuPinlu\txíng(2943) háng(218)
U+884C\tkTGHZ2013\t131.140:háng 136.100:héng 408.120:xíng
U+94F6\tkHanyuPinyin\t64577.010:yín
U+4E00\tkDefinition\tone
"""


def fixture(char_overrides=None, phrase_overrides=None):
    return Readings.from_lines(
        io.StringIO(FIXTURE),
        char_overrides=char_overrides or {},
        phrase_overrides=phrase_overrides or {},
    )


def items(text):
    return [line + "\n" for line in text.strip("\n").split("\n")]


class UnihanNamesTest(unittest.TestCase):
    """Hot keys of real names with the installed Unihan data and the tool's override tables."""

    @classmethod
    def setUpClass(cls):
        cls.readings = Readings.load()

    def keys(self, name):
        return hotkeys(name, self.readings)

    def test_letters_digits_and_other_characters(self):
        cases = {
            "ST国华": "STGH",
            "*ST": "ST",
            "*ST二重": "STEZ",
            "ＡＢ１２中": "AB12Z",  # full-width letters and digits fold to ASCII
            "TCL 科技-w": "TCLKJW",
            "中证500ETF": "ZZ500ETF",
            "R-001": "R001",
            "黄金T+D": "HJTD",
        }
        for name, expected in cases.items():
            self.assertEqual(self.keys(name)[0], expected, name)

    def test_name_readings_and_polyphonic_aliases(self):
        cases = {
            "平安银行": ("PAYH", []),  # 银行 is read yín háng only: no alias
            "三一重工": ("SYZG", ["SYCG"]),
            "重庆啤酒": ("CQPJ", ["ZQPJ"]),  # 重庆 read chóng, zhòng offered as alias
            "长江电力": ("CJDL", ["ZJDL"]),
            "厦门钨业": ("XMWY", []),  # override without aliases
            "藏格矿业": ("ZGKY", []),
            "苏泊尔": ("SBE", []),
            "滴滴出行": ("DDCX", []),  # fixed word reading: no háng alias
            "华夏成长混合": ("HXCZHH", []),
            "贵州茅台": ("GZMT", []),
        }
        for name, expected in cases.items():
            self.assertEqual(self.keys(name), expected, name)

    def test_aliases_are_capped_distinct_and_ordered(self):
        name = "长重乐行长重乐行"
        primary, aliases = self.keys(name)
        self.assertEqual(primary, "CZLHCZLH")
        self.assertEqual(len(aliases), initials.MAX_ALIASES)
        self.assertEqual(len(set(aliases + [primary])), len(aliases) + 1)
        # one changed position first, leftmost first
        self.assertEqual(aliases[0], "ZZLHCZLH")
        self.assertEqual(aliases[1], "CCLHCZLH")
        self.assertEqual(hotkeys(name, self.readings, max_aliases=100)[1][:3], aliases)
        self.assertEqual(len(hotkeys(name, self.readings, max_aliases=1000)[1]), 2**8 - 1)

    def test_every_override_reading_is_a_dictionary_reading(self):
        broken = dict(initials.CHAR_OVERRIDES)
        broken["行"] = ("hóng", None)
        with self.assertRaises(InitialsError):
            Readings(self.readings.table, char_overrides=broken)
        with self.assertRaises(InitialsError):
            Readings(self.readings.table, phrase_overrides={"重庆": ("chóng|zàng", "qìng")})


@unittest.skipUnless(initials.unihan_installed(), "the Unihan readings are not installed")
class GeneratedTableTest(unittest.TestCase):
    def test_committed_table_is_what_the_readings_give(self):
        stderr = io.StringIO()
        with contextlib.redirect_stderr(stderr):
            self.assertEqual(initials.main(["--cpp", "--check"]), 0, stderr.getvalue())


class FixtureReadingsTest(unittest.TestCase):
    def test_fallback_fields_and_alias_threshold(self):
        readings = fixture()
        self.assertEqual(hotkeys("银", readings), ("Y", []))  # only kHanyuPinyin
        # 大 dài (1.5 %) is below the alias threshold, 中 zhòng (7 %) above it, but has the same
        # initial; 乐 yuè (16 %) gives an alias.
        self.assertEqual(hotkeys("大中", readings), ("DZ", []))
        self.assertEqual(hotkeys("大乐", readings), ("DL", ["DY"]))

    def test_character_and_phrase_overrides(self):
        readings = fixture(
            char_overrides={"行": ("háng", None), "乐": ("lè", ())},
            phrase_overrides={"重庆": ("chóng|zhòng", "qìng"), "大行": ("dà", "xíng")},
        )
        self.assertEqual(hotkeys("中行", readings), ("ZH", ["ZX"]))
        self.assertEqual(hotkeys("大乐", readings), ("DL", []))
        self.assertEqual(hotkeys("重庆行", readings), ("CQH", ["ZQH", "CQX", "ZQX"]))
        self.assertEqual(hotkeys("大行", readings), ("DX", []))
        self.assertEqual(hotkeys("重", readings), ("Z", ["C"]))  # outside the phrase

    def test_han_character_without_reading_fails(self):
        with self.assertRaises(InitialsError) as ctx:
            hotkeys("中一", fixture())  # U+4E00 has no reading field in the fixture
        self.assertIn("U+4E00", str(ctx.exception))
        with self.assertRaises(InitialsError):
            hotkeys("中丁", fixture())  # U+4E01 is not in the fixture at all


class ProcessItemsTest(unittest.TestCase):
    def setUp(self):
        self.readings = fixture(char_overrides={"行": ("háng", None)})

    def test_hot_keys_filled_and_aliases_follow_their_item(self):
        out = process_items(
            items(
                """
# comment kept

600001\t\t中行\t0x0102\t-1\t0xFFFFFFFF\t1
600002\tZHX\t中行\t258\t-1\t0xFFFFFFFF\t1
600003\t\t中乐\t0x0102\t-1\t258\t1
600004\t\t中乐\t0x0102\t-1\t256\t1
06\t\t中行\t0x6400\t1106\t257\t255
"""
            ),
            self.readings,
        )
        self.assertEqual(
            out,
            [
                "# comment kept",
                "",
                "600001\tZH\t中行\t0x0102\t-1\t0xFFFFFFFF\t1",
                "600001\tZX\t中行\t0x0102\t-1\t258\t1",
                "600002\tZHX\t中行\t0x0102\t-1\t0xFFFFFFFF\t1",  # given hot key: no aliases
                "600003\tZL\t中乐\t0x0102\t-1\t258\t1",
                "600003\tZY\t中乐\t0x0102\t-1\t258\t1",
                "600004\tZL\t中乐\t0x0102\t-1\t256\t1",  # former names get no aliases
                "06\tZH\t中行\t0x6400\t1106\t257\t255",  # neither do commands
            ],
        )

    def test_invalid_items_fail_with_their_line(self):
        bad = {
            "1\t\t中\t0x0102\t-1\t0": "7",  # six columns
            "1\t\t中\t0x01G2\t-1\t0\t1": "type",
            "1\t\t中\t0x0102\t-1\t0\t256": "market",
            "1\t\t中\t0x10000\t-1\t0\t1": "type",
            "12345678901234567\t\t中\t0x0102\t-1\t0\t1": "code",
            "1\t\t" + "中" * 33 + "\t0x0102\t-1\t0\t1": "name",
            "1\t" + "A" * 33 + "\t中\t0x0102\t-1\t0\t1": "hot key",
            "1\t\t*-\t0x0102\t-1\t0\t1": "empty hot key",
        }
        for line, message in bad.items():
            with self.assertRaises(InitialsError, msg=line) as ctx:
                process_items(["# first\n", line + "\n"], self.readings)
            self.assertIn("line 2", str(ctx.exception))
            self.assertIn(message, str(ctx.exception))

    def test_code_and_name_limits_count_utf16_units(self):
        name = "中" * 30 + "\U00020000"  # 32 units: allowed
        ok = "1\tZ\t%s\t0x0102\t-1\t0\t1\n" % name
        self.assertEqual(len(process_items([ok], self.readings)), 1)
        with self.assertRaises(InitialsError):
            process_items([ok.replace(name, name + "中")], self.readings)


class CommandLineTest(unittest.TestCase):
    def test_items_file_round_trip_and_errors(self):
        with tempfile.TemporaryDirectory() as tmp:
            src = os.path.join(tmp, "in.tsv")
            out = os.path.join(tmp, "out.tsv")
            with open(src, "w", encoding="utf-8") as f:
                f.write("600132\t\t重庆啤酒\t0x0102\t-1\t0xFFFFFFFF\t1\n")
            self.assertEqual(initials.main(["--items", src, "--out", out]), 0)
            with open(out, encoding="utf-8") as f:
                first = f.read()
            self.assertEqual(
                first,
                "600132\tCQPJ\t重庆啤酒\t0x0102\t-1\t0xFFFFFFFF\t1\n"
                "600132\tZQPJ\t重庆啤酒\t0x0102\t-1\t258\t1\n",
            )
            stderr = io.StringIO()
            with contextlib.redirect_stderr(stderr):
                missing = os.path.join(tmp, "none.txt")
                self.assertEqual(initials.main(["--unihan", missing, "--items", src]), 1)
            self.assertIn("unicode-data", stderr.getvalue())


if __name__ == "__main__":
    unittest.main()
