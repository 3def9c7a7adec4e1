#!/usr/bin/env python3
"""Turns the raw exports of the study works into the text forms `orva build` reads.

    python3 samples/study_from_imp.py            # in the repository, any folder

Reads strongs-greek.imp.xz, strongs-hebrew.imp.xz and naves.imp.xz (made by
make_study.sh) and kjv.txt.gz from this folder, and writes, compressed with xz:

  strongs-greek.txt.xz    a lexicon:  NUMBER<TAB>HEADWORD<TAB>TRANSLITERATION
  strongs-hebrew.txt.xz               <TAB>PRONUNCIATION<TAB>DEFINITION
  naves.txt.xz            topics:     TOPIC<TAB>TEXT
  plan.txt.xz             a plan:     MM-DD<TAB>TEXT

One entry a line, UTF-8, after a few comment lines ("#"). A tab inside a
definition or a text starts a new paragraph of it (the export's line breaks).
References are written inline as writer/book_builder.h describes:
{\\strongs:G25}, {\\word:FEAR OF GOD}, {\\verse:Ps.34.1-Ps.34.8|34:1-8} (verses
named by OSIS ids, as the export names them), with the text the export shows
after "|" when it is not the key itself. Markup is dropped and its text kept
(emphasis, derivation, foreign words); the Greek headwords' beta code (a second
spelling of the headword in ASCII) is left out. samples/README.md lists the
faults of the exports and what is done about each.

The output depends only on the inputs (and on xz for the compressed bytes):
running the script again writes the same bytes. It checks the counts it expects
and stops with a message when an export no longer looks as described.
"""
import gzip
import html
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

TAG = re.compile(r"<(/?)([A-Za-z]+)([^>]*?)(/?)>")
ATTRIBUTE = re.compile(r'([\w:]+)="([^"]*)"')
STRONGS_TARGET = re.compile(r"^Strongs(Greek|Hebrew):0*(\d+)$")
STRONGS_SHOWN = re.compile(r"^([GH])0*(\d+)$")
NAVE_TARGET = re.compile(r"^Nave:(.+)$")
OSIS_REF = re.compile(r"^[1-4]?[A-Za-z]+\.\d+(\.\d+)?(-[1-4]?[A-Za-z]+\.\d+(\.\d+)?)?$")

PARAGRAPH = "\0"  # inside Text only: the output parts paragraphs with tabs


def fail(message):
    sys.exit("study_from_imp.py: " + message)


def read_entries(name):
    """(key, text) of each entry of an export, in order; an entry's lines joined."""
    data = subprocess.run(["xz", "-dc", os.path.join(HERE, name)], check=True,
                          stdout=subprocess.PIPE).stdout.decode("utf-8")
    entries, key, lines = [], None, []
    for line in data.split("\n"):
        if line.startswith("$$$"):
            if key is not None:
                entries.append((key, " ".join(lines)))
            key, lines = line[3:], []
        elif line:
            lines.append(line)
    entries.append((key, " ".join(lines)))
    return entries


class Text:
    """Text built from markup: blanks and line ends as one blank, paragraphs
    apart at PARAGRAPH, each trimmed, empty ones dropped."""

    def __init__(self):
        self.parts = []

    def add(self, text):
        self.parts.append(text)

    def paragraph(self):
        self.parts.append(PARAGRAPH)

    def paragraphs(self):
        joined = "".join(self.parts)
        out = []
        for piece in joined.split(PARAGRAPH):
            piece = re.sub(r"\s+", " ", piece).strip()
            if piece:
                out.append(piece)
        return out


def check_plain(text, where):
    for bad in ("{\\", "\0", "<", ">"):
        if bad in text:
            fail("%s: the text holds %r" % (where, bad))


def reference(kind, key, shown):
    shown = re.sub(r"\s+", " ", shown).strip()
    if "|" in key or "}" in key or "|" in shown or "}" in shown:
        fail("a reference holds '|' or '}': %r %r" % (key, shown))
    return "{\\%s:%s}" % (kind, key) if shown == key else "{\\%s:%s|%s}" % (kind, key, shown)


def walk(markup, where, on_element):
    """Calls on_element(name, attributes, inner markup) for each top-level
    element of `markup` and on_element(None, None, text) for the text between."""
    at = 0
    while at < len(markup):
        m = TAG.search(markup, at)
        if not m:
            on_element(None, None, markup[at:])
            return
        if m.start() > at:
            on_element(None, None, markup[at:m.start()])
        closing, name, attributes, empty = m.group(1), m.group(2), m.group(3), m.group(4)
        if closing:
            fail("%s: </%s> closes nothing" % (where, name))
        attrs = dict(ATTRIBUTE.findall(attributes))
        if empty:
            on_element(name, attrs, "")
            at = m.end()
            continue
        # The matching end tag, counting nested elements of the same name.
        depth, scan = 1, m.end()
        while depth:
            n = re.compile(r"<(/?)%s\b[^>]*?(/?)>" % name).search(markup, scan)
            if not n:
                fail("%s: <%s> is not closed" % (where, name))
            if n.group(1):
                depth -= 1
            elif not n.group(2):
                depth += 1
            scan = n.end()
        on_element(name, attrs, markup[m.end():n.start()])
        at = scan


# ---------------------------------------------------------------------------
# Lexicons

def verse_reference(attrs, inner, where):
    if not OSIS_REF.match(attrs["osisRef"]):
        fail("%s: unexpected verse reference %r" % (where, attrs["osisRef"]))
    return reference("verse", attrs["osisRef"], html.unescape(inner))


def strongs_reference(attrs, inner, where):
    target = STRONGS_TARGET.match(attrs.get("target", ""))
    shown = STRONGS_SHOWN.match(inner.strip())
    if not target or not shown or int(target.group(2)) != int(shown.group(2)):
        fail("%s: unexpected reference %r %r" % (where, attrs, inner))
    # The shown letter is the right one: the Greek export's target names the
    # Greek dictionary also for numbers of Hebrew origin ("StrongsGreek:0175",
    # shown "H0175").
    return reference("strongs", shown.group(1) + str(int(shown.group(2))), inner)


def lexicon_entry(letter, key, markup, fixes):
    where = letter + key
    m = re.match(r'^\s*<entryFree n="0*(\d+)">(.*)</entryFree>\s*$', markup)
    if not m or int(m.group(1)) != int(key):
        fail("%s: not an entryFree of its number" % where)
    fields = {"headword": None, "trans": None, "pron": None}
    definition = Text()

    def inline(name, attrs, inner, out):
        if name is None:
            text = html.unescape(inner)
            check_plain(text, where)
            out.add(text)
        elif name == "lb":
            out.paragraph()
        elif name == "ref":
            out.add(verse_reference(attrs, inner, where) if "osisRef" in attrs
                    else strongs_reference(attrs, inner, where))
        elif name == "orth" and attrs.get("type") == "writing":
            pass  # beta code
        elif name in ("orth", "pron", "def", "orig", "hi", "foreign"):
            walk(inner, where, lambda n, a, i: inline(n, a, i, out))
        else:
            fail("%s: unexpected element <%s>" % (where, name))

    def top(name, attrs, inner):
        # The first headword, transliteration and pronunciation before anything
        # else of the definition are the entry's own; the rest is its definition.
        started = bool(definition.paragraphs())
        if name == "orth" and not started:
            field = {None: "headword", "trans": "trans", "writing": None}[attrs.get("type")]
            if field and fields[field] is None:
                text = Text()
                walk(inner, where, lambda n, a, i: inline(n, a, i, text))
                fields[field] = " ".join(text.paragraphs())
                return
            if field is None:
                return
        if name == "pron" and not started and fields["pron"] is None:
            text = Text()
            walk(inner, where, lambda n, a, i: inline(n, a, i, text))
            fields["pron"] = " ".join(text.paragraphs())
            return
        inline(name, attrs, inner, definition)

    walk(m.group(2), where, top)
    headword, trans, pron = (fields[f] or "" for f in ("headword", "trans", "pron"))
    if letter == "H" and "ώ" in trans:
        # The Hebrew export writes the sin of the transliterations, ś, as ώ.
        fixes[0] += trans.count("ώ")
        trans = trans.replace("ώ", "ś")
    return "\t".join([letter + str(int(key)), headword, trans, pron] + definition.paragraphs())


def lexicon(name, letter, count):
    entries = read_entries(name + ".imp.xz")
    lines, seen, fixes = [], {}, [0]
    for key, markup in entries:
        line = lexicon_entry(letter, key, markup, fixes)
        if key in seen:
            # The Hebrew export holds 02200 twice, the same entry.
            if seen[key] != line:
                fail("%s%s: two different entries" % (letter, key))
            continue
        seen[key] = line
        lines.append(line)
    if len(lines) != count:
        fail("%s: %d entries, not %d" % (name, len(lines), count))
    return lines, fixes[0]


# ---------------------------------------------------------------------------
# Nave's

def naves():
    entries = read_entries("naves.imp.xz")
    texts, order = {}, []
    for key, markup in entries:
        where = key
        m = re.match(r'^\s*<entryFree n="([^"]*)">(.*)</entryFree>\s*$', markup)
        if not m or html.unescape(m.group(1)).upper() != key:
            fail("%s: not an entryFree of its topic" % where)
        # The topic as the entry writes it: the keys are upper case ("ANGEL (a
        # spirit)" is the key "ANGEL (A SPIRIT)").
        key = html.unescape(m.group(1))
        check_plain(key, where)
        text = Text()

        def inline(name, attrs, inner):
            if name is None:
                plain = html.unescape(inner)
                check_plain(plain, where)
                text.add(plain)
            elif name == "lb":
                text.paragraph()
            elif name == "ref" and "osisRef" in attrs:
                text.add(verse_reference(attrs, inner, where))
            elif name == "ref":
                topic = NAVE_TARGET.match(attrs.get("target", ""))
                if not topic:
                    fail("%s: unexpected reference %r" % (where, attrs))
                text.add(reference("word", html.unescape(topic.group(1)), html.unescape(inner)))
            elif name == "item":
                text.paragraph()
                walk(inner, where, inline)
                text.paragraph()
            elif name in ("def", "list"):
                walk(inner, where, inline)
            else:
                fail("%s: unexpected element <%s>" % (where, name))

        walk(m.group(2), where, inline)
        if key not in texts:
            texts[key] = []
            order.append(key)
        # REVERENCE and SIN come twice: one topic, the texts in the export's order.
        texts[key].extend(text.paragraphs())
    lines = ["\t".join([key] + texts[key]) for key in order]
    return lines, len(entries) - len(order)


# ---------------------------------------------------------------------------
# The reading plan

OSIS_BOOKS = ("Gen Exod Lev Num Deut Josh Judg Ruth 1Sam 2Sam 1Kgs 2Kgs 1Chr 2Chr Ezra Neh "
              "Esth Job Ps Prov Eccl Song Isa Jer Lam Ezek Dan Hos Joel Amos Obad Jonah Mic "
              "Nah Hab Zeph Hag Zech Mal Matt Mark Luke John Acts Rom 1Cor 2Cor Gal Eph Phil "
              "Col 1Thess 2Thess 1Tim 2Tim Titus Phlm Heb Jas 1Pet 2Pet 1John 2John 3John Jude "
              "Rev").split()
MONTH_DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]  # 29 February: no reading
WORD = re.compile(r"[A-Za-z0-9]+")


def chapters_of_kjv():
    """[(book name, osisID, chapter, words)] of the KJV sample, in order."""
    with gzip.open(os.path.join(HERE, "kjv.txt.gz"), "rt", encoding="utf-8") as f:
        lines = f.read().split("\n")
    chapters, books = [], []
    for line in lines:
        if not line:
            continue
        reference, text = line.split("\t")
        book, numbers = reference.rsplit(" ", 1)
        chapter = int(numbers.split(":")[0])
        if not books or books[-1] != book:
            books.append(book)
        words = len(WORD.findall(text.replace("'", " ").replace("-", " ")))
        if chapters and chapters[-1][0] == book and chapters[-1][2] == chapter:
            chapters[-1][3] += words
        else:
            chapters.append([book, OSIS_BOOKS[len(books) - 1], chapter, words])
    if len(books) != 66 or len(chapters) != 1189:
        fail("kjv.txt.gz: %d books and %d chapters, not 66 and 1189" % (len(books), len(chapters)))
    return chapters


def split_by_words(chapters, days):
    """The first chapter of each day: consecutive chapters, each day's end where
    the words read so far come nearest the day's share of the whole."""
    total = sum(c[3] for c in chapters)
    ends, read, at = [], 0, 0
    for day in range(1, days + 1):
        target = total * day / days
        # At least one chapter a day, and one left for each day after.
        last = len(chapters) - (days - day)
        end, words = at + 1, read + chapters[at][3]
        while end < last and abs(words + chapters[end][3] - target) <= abs(words - target):
            words += chapters[end][3]
            end += 1
        ends.append(end)
        read, at = words, end
    if ends[-1] != len(chapters):
        fail("the plan does not end with the last chapter")
    return ends


def passage(chapters):
    """The day's reading: references to runs of chapters of one book."""
    runs = []
    for c in chapters:
        if runs and runs[-1][-1][0] == c[0]:
            runs[-1].append(c)
        else:
            runs.append([c])
    parts = []
    for run in runs:
        first, last = run[0], run[-1]
        if first is last:
            key, shown = "%s.%d" % (first[1], first[2]), "%s %d" % (first[0], first[2])
        else:
            key = "%s.%d-%s.%d" % (first[1], first[2], last[1], last[2])
            shown = "%s %d-%d" % (first[0], first[2], last[2])
        parts.append(reference("verse", key, shown))
    return "; ".join(parts)


def plan():
    chapters = chapters_of_kjv()
    ends = split_by_words(chapters, 365)
    lines, day, start = [], 0, 0
    for month, count in enumerate(MONTH_DAYS, 1):
        for date in range(1, count + 1):
            key = "%02d-%02d" % (month, date)
            if (month, date) == (2, 29):
                lines.append(key + "\tNo reading: a day to catch up in a leap year")
                continue
            lines.append(key + "\t" + passage(chapters[start:ends[day]]))
            start, day = ends[day], day + 1
    return lines


# ---------------------------------------------------------------------------

def write(name, header, lines):
    text = "".join("# " + h + "\n" for h in header) + "".join(line + "\n" for line in lines)
    path = os.path.join(HERE, name)
    data = subprocess.run(["xz", "-9", "-T1", "-c"], input=text.encode("utf-8"), check=True,
                          stdout=subprocess.PIPE).stdout
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d entries, %d bytes, %d compressed)" % (path, len(lines), len(text.encode("utf-8")), len(data)))


LEXICON_FORM = "NUMBER<TAB>HEADWORD<TAB>TRANSLITERATION<TAB>PRONUNCIATION<TAB>DEFINITION (a tab parts paragraphs)"


def main():
    greek, _ = lexicon("strongs-greek", "G", 5624)
    write("strongs-greek.txt.xz", ["Strong's Greek dictionary (James Strong, 1890; Greek text by Ulrik "
                                   "Sandborg-Petersen): public domain.",
                                   "Made by study_from_imp.py from strongs-greek.imp.xz. " + LEXICON_FORM], greek)
    hebrew, fixed = lexicon("strongs-hebrew", "H", 8674)
    if fixed != 365:
        fail("strongs-hebrew: %d transliterations with ώ, not 365" % fixed)
    write("strongs-hebrew.txt.xz", ["Strong's Hebrew dictionary (James Strong, 1890; Hebrew text by Jens "
                                    "Grebner): public domain.",
                                    "Made by study_from_imp.py from strongs-hebrew.imp.xz. " + LEXICON_FORM], hebrew)
    topics, merged = naves()
    if len(topics) != 5320 or merged != 2:
        fail("naves: %d topics (%d merged), not 5320 (2)" % (len(topics), merged))
    write("naves.txt.xz", ["Nave's Topical Bible (Orville J. Nave): public domain.",
                           "Made by study_from_imp.py from naves.imp.xz. TOPIC<TAB>TEXT (a tab parts paragraphs)"],
          topics)
    write("plan.txt.xz", ["The whole Bible in a year: the 1,189 chapters in order, shared over the 365 days",
                          "of a common year by their words in the King James Version (kjv.txt.gz).",
                          "Made by study_from_imp.py. MM-DD<TAB>TEXT"], plan())


if __name__ == "__main__":
    main()
