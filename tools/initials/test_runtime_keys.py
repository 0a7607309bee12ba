#!/usr/bin/env python3
"""The run-time keys (pinyin-keys, over services/Pinyin.h and the generated table) equal this tool's
for every character with a reading, every listed word, every default item's name and random mixed
names, so that the table encodes every character as the tool reads it.

Usage: test_runtime_keys.py PATH/TO/pinyin-keys
Exits 77 (skipped) when the Unihan readings are not installed.
"""

import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import initials  # noqa: E402

ITEMS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "items.tsv")
FILLERS = "ABCxyz0129 *-.()&\uff21\uff5a\uff10\uff19\uff1a\u00e9\u03a9\u3000"


def item_names():
    with open(ITEMS, encoding="utf-8") as f:
        rows = [line.split("\t") for line in f if line.strip() and not line.startswith("#")]
    return sorted({row[2] for row in rows})


def random_names(readings, count, seed=18):
    rng = random.Random(seed)
    han = sorted(readings.table)
    common = sorted({ch for name in item_names() for ch in name if readings.is_han(ch)})
    words = list(readings.phrases)
    names = []
    for _ in range(count):
        parts = []
        for _ in range(rng.randint(1, 40)):
            kind = rng.random()
            if kind < 0.4:
                parts.append(rng.choice(common))
            elif kind < 0.6:
                parts.append(rng.choice(han))
            elif kind < 0.75:
                parts.append(rng.choice(words))
            else:
                parts.append(rng.choice(FILLERS))
        names.append("".join(parts))
    return names


def expected(name, readings):
    hotkey, aliases = initials.hotkeys(name, readings)
    full, second = initials.full_pinyin(name, readings)
    return "\t".join([hotkey, ",".join(aliases), full, second])


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    if not initials.unihan_installed():
        print("skipped: the Unihan readings (unicode-data) are not installed")
        return 77
    readings = initials.Readings.load()
    names = sorted(readings.table, key=ord) + list(readings.phrases) + item_names()
    names += random_names(readings, 5000)
    text = "".join(name + "\n" for name in names)
    run = subprocess.run([argv[1]], input=text.encode("utf-8"), stdout=subprocess.PIPE, check=True)
    got = run.stdout.decode("utf-8").split("\n")[:-1]
    if len(got) != len(names):
        print("%d names in, %d lines out" % (len(names), len(got)), file=sys.stderr)
        return 1
    failures = 0
    for name, line in zip(names, got):
        want = expected(name, readings)
        if line != want:
            failures += 1
            if failures <= 20:
                print("%r (%s):\n  run time %r\n  tool     %r"
                      % (name, " ".join("U+%04X" % ord(c) for c in name[:4]), line, want))
    print("%d names, %d differ" % (len(names), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
