#!/usr/bin/env python3
"""Compares the King James Version built from samples/kjv.osis.xml.xz with the one
built from samples/kjv.txt.gz, verse by verse, and says how many verses differ
and in what: the two are different electronic editions of the 1769 text.

    scripts/compare_kjv.py [ORVA]     (default: build/tools/orva)

Both books are built into a temporary folder and read whole with
`orva read DIR "Gen 1:1-Rev 22:21"`. A verse that differs is counted under the
first of these that makes it equal, each applied on top of those before it:
the paragraph sign (the OSIS text marks paragraphs with a pilcrow), apostrophes
(U+2019 there, ' in the other), hyphens (Beth-el, Bethel), letter case (the
OSIS text writes Lord and GOD where the other has LORD and God), blanks inside
words (any thing, anything). The rest differ in spelling or words; the first of
them are shown.
"""

import os
import subprocess
import sys
import tempfile

STEPS = [
    ("the paragraph sign", lambda s: s.replace("\u00b6 ", "").replace("\u00b6", "")),
    ("apostrophes", lambda s: s.replace("\u2019", "'")),
    ("hyphens", lambda s: s.replace("-", "")),
    ("letter case", lambda s: s.lower()),
    ("blanks inside words", lambda s: s.replace(" ", "")),
]
SHOWN = 10


def read_all(orva, source, folder):
    subprocess.run([orva, "build", source, "-o", folder], check=True, stdout=subprocess.DEVNULL)
    out = subprocess.run([orva, "read", folder, "Gen 1:1-Rev 22:21"], check=True, capture_output=True)
    return out.stdout.decode("utf-8").splitlines()


def main():
    orva = sys.argv[1] if len(sys.argv) > 1 else "build/tools/orva"
    samples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")
    with tempfile.TemporaryDirectory() as scratch:
        text = read_all(orva, os.path.join(samples, "kjv.txt.gz"), os.path.join(scratch, "text"))
        osis = read_all(orva, os.path.join(samples, "kjv.osis.xml.xz"), os.path.join(scratch, "osis"))
    if len(text) != len(osis):
        sys.exit("the books hold %d and %d verses" % (len(text), len(osis)))
    names = ["the same"] + ["differ in " + name for name, _ in STEPS] + ["differ in spelling or words"]
    counts = dict.fromkeys(names, 0)
    rest = []
    for a, b in zip(text, osis):
        original = (a, b)
        if a.split(" ", 2)[:2] != b.split(" ", 2)[:2]:
            sys.exit("the references differ: %s / %s" % (a[:30], b[:30]))
        if a == b:
            counts["the same"] += 1
            continue
        for name, step in STEPS:
            a, b = step(a), step(b)
            if a == b:
                counts["differ in " + name] += 1
                break
        else:
            counts["differ in spelling or words"] += 1
            rest.append(original)
    print("%d verses in both, under the same references" % len(text))
    for name in names:
        print("%6d  %s" % (counts[name], name))
    for a, b in rest[:SHOWN]:
        print("  kjv.txt:  " + a[:150])
        print("  OSIS:     " + b[:150])


if __name__ == "__main__":
    main()
