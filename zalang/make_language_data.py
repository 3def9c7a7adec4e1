#!/usr/bin/env python3
"""Writes zalang/language_data.cpp: the data behind the language library.

Run by hand when the data must change, never by the build:

    python3 zalang/make_language_data.py

It uses only the Python standard library, offline, and the output depends only on
the Python version (its codecs and its unicodedata module), which the output names.
Sources of each mapping:

  * The 8-bit tables come from Python's codecs "cp1252" (English, German, French,
    Spanish), "cp1253" (Greek) and "cp1255" (Hebrew): entry b lists the character
    that the codec decodes byte b to. Bytes that the codec does not define list
    nothing, and neither does byte 0 (it ends a string).
  * Bytes 0xAC and 0xAD list nothing in every table: the tagged-string format
    reserves them (0xAD is the placeholder of an ambiguous character, 0xAC
    separates the alternatives of a packaged string), so no character may be
    written as either.
  * Typographic alternates, added by hand below (TYPOGRAPHIC_ALTERNATES): the
    right single quotation mark, the no-break space and the en dash are also
    listed under the plain byte that books commonly store instead (0x27, 0x20,
    0x2D). They make these characters ambiguous: each has two 8-bit forms.
  * Forms for what the code pages lack, added by hand below (EXTRA_FORMS): bytes
    that a code page leaves undefined are given to characters that real texts
    need and the code page cannot write, above all combining marks, so that a
    letter the code page lacks is written as its base letter and marks (the
    encoder decomposes it; zalang/text_encoding.h). The English table (all of
    Windows-1252's five undefined bytes) carries the acute, macron and breve of
    transliterations (e with macron and acute is e, macron, acute), the
    reversed-9 quotation mark that transliterates the ayin, and the rightwards
    arrow; the Greek table the marks of polytonic Greek (psili, dasia, oxia,
    varia, perispomeni, ypogegrammeni, dialytika, macron, vrachy), the stigma,
    the hyphen, and the circumflex and cedilla that Latin letters need beyond
    the English table (a mark is written in a run of the first language whose
    table has it). The Hebrew table needs nothing: Windows-1255 has the points.
    None of these bytes meant anything before, so nothing the tables wrote
    changes.
  * Marks: every character of general category Mn or Me in unicodedata, plus the
    unassigned code points of the combining blocks named in MARK_BLOCKS (kept for
    marks that later Unicode versions add there).
  * Lower case: the simple lower-case mapping of unicodedata (str.lower() when it
    gives one character), over the whole Basic Multilingual Plane.
  * Decompositions: the canonical decomposition (NFD) of each precomposed character
    of Latin-1, Latin Extended-A, Latin Extended Additional, Greek and Coptic, and
    Greek Extended: a base character followed by one or more marks.
"""

import os
import sys
import unicodedata

LANGUAGES = [  # id, name written in tags, codec
    (1033, "English", "cp1252"),
    (1031, "German", "cp1252"),
    (1036, "French", "cp1252"),
    (1034, "Spanish", "cp1252"),
    (1032, "Greek", "cp1253"),
    (1037, "Hebrew", "cp1255"),
    # Not a language of people: the words of a concordance's Strong's numbers
    # ("g25", "h430"). 512 lies in the range of primary language ids that are
    # left to users (0x200-0x3FF), so no real language ever has it.
    (512, "Strongs", "cp1252"),
]

RESERVED_BYTES = (0xAC, 0xAD)

# character -> the plain byte under which it is listed too (after its own byte)
TYPOGRAPHIC_ALTERNATES = {
    0x2019: 0x27,  # right single quotation mark: apostrophe
    0x00A0: 0x20,  # no-break space: space
    0x2013: 0x2D,  # en dash: hyphen-minus
}

MARK_BLOCKS = [
    (0x0300, 0x036F), (0x0483, 0x0489), (0x0591, 0x05C7), (0x0610, 0x061A),
    (0x064B, 0x065F), (0x1AB0, 0x1AFF), (0x1DC0, 0x1DFF), (0x20D0, 0x20FF),
    (0xFE20, 0xFE2F),
]

DECOMPOSED_BLOCKS = [
    (0x00C0, 0x00FF),  # Latin-1 letters
    (0x0100, 0x017F),  # Latin Extended-A
    (0x0370, 0x03FF),  # Greek and Coptic
    (0x1E00, 0x1EFF),  # Latin Extended Additional
    (0x1F00, 0x1FFF),  # Greek Extended
]

# codec -> {undefined byte: the character it is given}
EXTRA_FORMS = {
    "cp1252": {
        0x81: 0x0301,  # combining acute accent
        0x8D: 0x0304,  # combining macron
        0x8F: 0x0306,  # combining breve
        0x90: 0x201B,  # single high-reversed-9 quotation mark
        0x9D: 0x2192,  # rightwards arrow
    },
    "cp1253": {
        0x81: 0x0300,  # combining grave accent (varia)
        0x88: 0x0301,  # combining acute accent (oxia, tonos)
        0x8A: 0x0302,  # combining circumflex accent
        0x8C: 0x0304,  # combining macron
        0x8D: 0x0306,  # combining breve (vrachy)
        0x8E: 0x0308,  # combining diaeresis (dialytika)
        0x8F: 0x0313,  # combining comma above (psili)
        0x90: 0x0314,  # combining reversed comma above (dasia)
        0x98: 0x0327,  # combining cedilla
        0x9A: 0x0342,  # combining Greek perispomeni
        0x9C: 0x0345,  # combining Greek ypogegrammeni
        0x9D: 0x03DB,  # Greek small letter stigma
        0x9E: 0x2010,  # hyphen
    },
}

MAX_DECOMPOSED_MARKS = 3
ENTRY_WIDTH = 3  # characters of one table entry, its terminating zero included


def table_of(codec):
    entries = []
    for b in range(256):
        try:
            text = bytes([b]).decode(codec)
        except UnicodeDecodeError:
            text = ""
        if b == 0 or b in RESERVED_BYTES:
            text = ""
        assert len(text) <= 1
        entries.append([ord(c) for c in text])
    for byte, char in EXTRA_FORMS.get(codec, {}).items():
        assert not entries[byte] and byte not in RESERVED_BYTES, (codec, hex(byte))
        assert not any(char in e for e in entries), (codec, hex(char))
        entries[byte] = [char]
    for char, byte in TYPOGRAPHIC_ALTERNATES.items():
        assert any(char in e for e in entries), (codec, hex(char))
        entries[byte].append(char)
    return entries


def valid_range(entries):
    used = [b for b, e in enumerate(entries) if e]
    return used[0], used[-1]


def is_mark(cp):
    category = unicodedata.category(chr(cp))
    if category in ("Mn", "Me"):
        return True
    return category == "Cn" and any(lo <= cp <= hi for lo, hi in MARK_BLOCKS)


def ranges(predicate, limit=0x10000):
    out, start = [], None
    for cp in range(limit + 1):
        inside = cp < limit and predicate(cp)
        if inside and start is None:
            start = cp
        elif not inside and start is not None:
            out.append((start, cp - 1))
            start = None
    return out


def lower_pairs():
    pairs = []
    for cp in range(0x10000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        lower = chr(cp).lower()
        if len(lower) == 1 and ord(lower) != cp and ord(lower) < 0x10000:
            pairs.append((cp, ord(lower)))
    return pairs


def decompositions():
    out = []
    for lo, hi in DECOMPOSED_BLOCKS:
        for cp in range(lo, hi + 1):
            nfd = unicodedata.normalize("NFD", chr(cp))
            if nfd == chr(cp):
                continue
            base, marks = ord(nfd[0]), [ord(c) for c in nfd[1:]]
            assert not is_mark(base), hex(cp)
            assert all(is_mark(m) for m in marks), hex(cp)
            assert len(marks) <= MAX_DECOMPOSED_MARKS, hex(cp)
            out.append((cp, base, marks))
    return out


def hex4(v):
    return "0x%04X" % v


def rows(items, per_line, indent="    "):
    lines = []
    for i in range(0, len(items), per_line):
        lines.append(indent + ", ".join(items[i:i + per_line]) + ",")
    return "\n".join(lines)


def emit_table(name, entries):
    text = ["const unsigned short k%s[256][kEntryWidth] = {" % name]
    for row in range(0, 256, 8):
        cells = []
        for e in entries[row:row + 8]:
            assert len(e) < ENTRY_WIDTH
            cells.append("{%s}" % ", ".join(hex4(v) for v in e))
        text.append("    %s,  // %02X" % (", ".join(cells), row))
    text.append("};")
    return "\n".join(text)


def generate():
    codecs = []
    for _, _, codec in LANGUAGES:
        if codec not in codecs:
            codecs.append(codec)
    out = [
        "// Generated by zalang/make_language_data.py with Python %s (Unicode %s)."
        % (sys.version.split()[0], unicodedata.unidata_version),
        "// Do not edit: change the script and run it again. The script says where",
        "// each mapping comes from.",
        '#include "zalang/language_data.h"',
        "",
        "namespace zalang::data {",
        "",
    ]
    first_last = {}
    for codec in codecs:
        entries = table_of(codec)
        first_last[codec] = valid_range(entries)
        out.append("// Windows code page %s, from Python's codec \"%s\"." % (codec[2:], codec))
        out.append(emit_table("Table" + codec[2:], entries))
        out.append("")
    out.append("const sLanguageSource kLanguages[] = {")
    for lang_id, name, codec in LANGUAGES:
        assert name.isascii() and name.isalpha()
        first, last = first_last[codec]
        out.append('    {%d, "%s", kTable%s, 0x%02X, 0x%02X},' % (lang_id, name, codec[2:], first, last))
    out.append("};")
    out.append("const int kLanguageCount = %d;" % len(LANGUAGES))
    out.append("")

    marks = ranges(is_mark)
    out.append("// Combining marks: general category Mn or Me, and the unassigned code points")
    out.append("// of the combining blocks. Inclusive ranges, ascending.")
    out.append("const sCharRange kMarkRanges[] = {")
    out.append(rows(["{%s, %s}" % (hex4(a), hex4(b)) for a, b in marks], 4))
    out.append("};")
    out.append("const int kMarkRangeCount = %d;" % len(marks))
    out.append("")

    lowers = lower_pairs()
    out.append("// Simple lower-case mappings of the Basic Multilingual Plane, ascending.")
    out.append("const sCharPair kLowerCase[] = {")
    out.append(rows(["{%s, %s}" % (hex4(a), hex4(b)) for a, b in lowers], 5))
    out.append("};")
    out.append("const int kLowerCaseCount = %d;" % len(lowers))
    out.append("")

    decomposed = decompositions()
    out.append("// Canonical decompositions of the precomposed characters of Latin-1, Latin")
    out.append("// Extended-A, Latin Extended Additional, Greek and Coptic and Greek Extended:")
    out.append("// base, then its marks.")
    out.append("const sDecomposition kDecompositions[] = {")
    items = []
    for cp, base, m in decomposed:
        m = m + [0] * (MAX_DECOMPOSED_MARKS - len(m))
        items.append("{%s, %s, {%s}}" % (hex4(cp), hex4(base), ", ".join(hex4(v) for v in m)))
    out.append(rows(items, 2))
    out.append("};")
    out.append("const int kDecompositionCount = %d;" % len(decomposed))
    out.append("")
    out.append("}  // namespace zalang::data")
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "language_data.cpp")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(generate())


if __name__ == "__main__":
    main()
