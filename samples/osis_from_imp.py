#!/usr/bin/env python3
"""Turns the verse-by-verse export of a Bible module into one OSIS document.

Used by make_osis.sh. Reads the export on standard input: entries, each a line
"$$$<key>" followed by the entry's text, where a key is "Genesis 1:1" for a
verse, "Genesis 1:0" for the text before a chapter's first verse, "Genesis 0:0"
for the text before a book's first chapter, or a bracketed heading such as
"[ Testament 1 Heading ]". Each entry's text is a piece of OSIS in which books,
chapters, paragraphs and poetry lines are milestones (sID/eID pairs), so the
pieces laid end to end form the body of the work. This program lays them end to
end, marks each verse with a verse milestone pair, and writes the document with
a header built from the module's .conf file (title, language, versification).

The pieces carry storage marks that are not part of the text, and some works
carry faults; both are dealt with here, always the same way (see fix_* below and
samples/README.md):
  - the heading entries hold only a note naming the importing tool: dropped;
  - text meant to stand before a verse (a section heading, a psalm title, the
    start of a paragraph or line group) is wrapped in a pair of
    <div type="x-milestone" subType="x-preverse"/> marks at the head of the
    verse's entry: it is moved before the verse's start milestone and the marks
    are dropped (marks in the middle of an entry are dropped, their text stays);
  - the end of a chapter and what follows it in the same entry (the end of the
    book, the KJV's subscriptions after a letter, the WEB's glossary after
    Revelation) is moved after the verse's end milestone, so a chapter never
    ends inside one of its verses;
  - verses whose entry has no text are left out;
  - a verse covering several numbers comes repeated under each number: it is
    written once, its osisID listing all the numbers (see body());
  - faults of one work are fixed by that work's fix_* function.
"""
import re
import sys
from xml.sax.saxutils import escape, quoteattr

BOOKS = {
    "Genesis": "Gen", "Exodus": "Exod", "Leviticus": "Lev", "Numbers": "Num",
    "Deuteronomy": "Deut", "Joshua": "Josh", "Judges": "Judg", "Ruth": "Ruth",
    "I Samuel": "1Sam", "II Samuel": "2Sam", "I Kings": "1Kgs", "II Kings": "2Kgs",
    "I Chronicles": "1Chr", "II Chronicles": "2Chr", "Ezra": "Ezra", "Nehemiah": "Neh",
    "Esther": "Esth", "Job": "Job", "Psalms": "Ps", "Proverbs": "Prov",
    "Ecclesiastes": "Eccl", "Song of Solomon": "Song", "Isaiah": "Isa",
    "Jeremiah": "Jer", "Lamentations": "Lam", "Ezekiel": "Ezek", "Daniel": "Dan",
    "Hosea": "Hos", "Joel": "Joel", "Amos": "Amos", "Obadiah": "Obad", "Jonah": "Jonah",
    "Micah": "Mic", "Nahum": "Nah", "Habakkuk": "Hab", "Zephaniah": "Zeph",
    "Haggai": "Hag", "Zechariah": "Zech", "Malachi": "Mal",
    "Tobit": "Tob", "Judith": "Jdt", "Esther (Greek)": "EsthGr", "Wisdom": "Wis",
    "Sirach": "Sir", "Baruch": "Bar", "Prayer of Azariah": "PrAzar", "Susanna": "Sus",
    "Bel and the Dragon": "Bel", "I Maccabees": "1Macc", "II Maccabees": "2Macc",
    "I Esdras": "1Esd", "Prayer of Manasses": "PrMan", "Additional Psalm": "AddPs",
    "III Maccabees": "3Macc", "II Esdras": "2Esd", "IV Maccabees": "4Macc",
    "Matthew": "Matt", "Mark": "Mark", "Luke": "Luke", "John": "John", "Acts": "Acts",
    "Romans": "Rom", "I Corinthians": "1Cor", "II Corinthians": "2Cor",
    "Galatians": "Gal", "Ephesians": "Eph", "Philippians": "Phil", "Colossians": "Col",
    "I Thessalonians": "1Thess", "II Thessalonians": "2Thess", "I Timothy": "1Tim",
    "II Timothy": "2Tim", "Titus": "Titus", "Philemon": "Phlm", "Hebrews": "Heb",
    "James": "Jas", "I Peter": "1Pet", "II Peter": "2Pet", "I John": "1John",
    "II John": "2John", "III John": "3John", "Jude": "Jude", "Revelation of John": "Rev",
}

KEY = re.compile(r"^(.+) (\d+):(\d+)$")
IMPORTER_NOTE = re.compile(r'^<milestone type="x-importer" [^>]*/>$')
PREVERSE_START = re.compile(r'<div type="x-milestone" subType="x-preverse" sID="([^"]+)"/>')
PREVERSE_MARK = re.compile(r'<div type="x-milestone" subType="x-preverse" [se]ID="[^"]+"/>')
CHAPTER_END = re.compile(r'<chapter eID="[^"]+"/>')
TAG = re.compile(r"<[^>]*>")


def read_entries(stream):
    """Yields (key, text) for each entry of the export, in order."""
    key, lines = None, []
    for line in stream:
        line = line.rstrip("\n")
        if line.startswith("$$$"):
            if key is not None:
                yield key, "\n".join(lines).rstrip("\n")
            key, lines = line[3:], []
        elif key is None:
            sys.exit("text before the first entry: " + line[:80])
        else:
            lines.append(line)
    if key is not None:
        yield key, "\n".join(lines).rstrip("\n")


def read_conf(path):
    """The key=value lines of a module .conf file (first value of each key)."""
    conf = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("[") and line.endswith("]") and "module" not in conf:
                conf["module"] = line[1:-1]
            elif "=" in line and not line.startswith("#"):
                name, value = line.split("=", 1)
                conf.setdefault(name, value)
    return conf


def fix_kjv_divine_names(key, text):
    """KJV: some notes (and verses) carry raw source marks for the divine name,
    "\\nd " where <divineName> should open and "\\+nd*" where it should close,
    beside real elements, which leaves the elements unbalanced. Each mark is
    replaced by the element tag it stands for."""
    return text.replace("\\nd ", "<divineName>").replace("\\+nd*", "</divineName>")


def fix_web_hosea_opening(entries):
    """WEB: the entry before Hosea's first chapter holds a cut-off copy of the
    first six chapters of the Greek Daniel without verse marks (the Greek
    Daniel has no place in this versification) instead of Hosea's opening,
    whose book start and first paragraph start are lost with it. The entry is
    replaced by those two milestones, with the ids of the end milestones that
    Hosea's text still has; Hosea keeps no title."""
    index = find_entry(entries, "Hosea 0:0")
    if not entries[index][1].startswith('<div canonical="true" osisID="DanGr" sID="'):
        sys.exit("Hosea 0:0 no longer holds the Greek Daniel: look at it again")
    text = "".join(t for _, t in entries)
    book_end = re.search(r'<div canonical="true" eID="([^"]+)" osisID="Hos" type="book"/>', text)
    starts = set(re.findall(r'<div sID="([^"]+)" type="x-p"/>', text.replace(entries[index][1], "")))
    first_verse = entries[find_entry(entries, "Hosea 1:1")][1]
    lost = [i for i in re.findall(r'<div eID="([^"]+)" type="x-p"/>', first_verse) if i not in starts]
    if not book_end or len(lost) != 1:
        sys.exit("Hosea's end milestones are not as expected: look at them again")
    entries[index] = (entries[index][0],
                      '<div canonical="true" osisID="Hos" sID="%s" type="book"/> '
                      '<div sID="%s" type="x-p"/>' % (book_end.group(1), lost[0]))


def fix_web_greek_esther_chapter_end(entries):
    """WEB: the end milestone of the Greek Esther's chapter 4 stands in 6:14,
    after the start of chapters 5 and 6 (the Greek additions to this book do
    not fit this versification; their text stays where the module has it). The milestone is moved to just before the start of
    chapter 5, so chapters do not overlap; no text moves."""
    stray = '<chapter eID="EsthGr.4"/>'
    late = find_entry(entries, "Esther (Greek) 6:14")
    here = find_entry(entries, "Esther (Greek) 5:0")
    start = '<chapter n="5" osisID="EsthGr.5" sID="EsthGr.5"/>'
    if entries[late][1].count(stray) != 1 or entries[here][1].count(start) != 1:
        sys.exit("the Greek Esther's chapter marks are not as expected: look at them again")
    entries[late] = (entries[late][0], entries[late][1].replace(stray, ""))
    entries[here] = (entries[here][0], entries[here][1].replace(start, stray + start))


def find_entry(entries, key):
    for index, (k, _) in enumerate(entries):
        if k == key:
            return index
    sys.exit("no entry " + key)


# Fixes of single entries (key, text) -> text, and of the whole list of entries.
ENTRY_FIXES = {
    "engKJV2006eb": [fix_kjv_divine_names],
}
WORK_FIXES = {
    "engWEB2015eb": [fix_web_hosea_opening, fix_web_greek_esther_chapter_end],
}


def split_preverse(text):
    """Splits a verse entry into (text before the verse, the verse's text)."""
    before = []
    while True:
        m = PREVERSE_START.match(text)
        if not m:
            break
        end = '<div type="x-milestone" subType="x-preverse" eID="%s"/>' % m.group(1)
        stop = text.find(end)
        if stop < 0:
            sys.exit("pre-verse text without its end mark: " + text[:80])
        before.append(text[m.end():stop])
        text = text[stop + len(end):]
    return "".join(before), PREVERSE_MARK.sub("", text)


def split_chapter_end(text):
    """Splits a verse's text into (the verse's text, its chapter end and what
    follows it)."""
    m = CHAPTER_END.search(text)
    if not m:
        return text, ""
    return text[:m.start()].rstrip(" "), text[m.start():]


def has_text(fragment):
    return TAG.sub("", fragment).strip() != ""


def header(conf):
    module = conf["module"]
    lang = conf.get("Lang", "en")
    work = [
        "<title>%s</title>" % escape(conf.get("Description", module)),
        '<identifier type="OSIS">Bible.%s</identifier>' % escape(module),
        '<language type="IETF">%s</language>' % escape(lang),
        "<rights>%s</rights>" % escape(conf.get("DistributionLicense", "")),
        "<refSystem>Bible.%s</refSystem>" % escape(conf.get("Versification", "KJV")),
    ]
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace"'
        ' xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"'
        ' xsi:schemaLocation="http://www.bibletechnologies.net/2003/OSIS/namespace'
        ' http://www.bibletechnologies.net/osisCore.2.1.1.xsd">\n'
        "<osisText osisIDWork=%s osisRefWork=\"Bible\" xml:lang=%s>\n"
        "<header>\n<work osisWork=%s>%s</work>\n</header>\n"
        % (quoteattr(module), quoteattr(lang), quoteattr(module), "".join(work))
    )


def body(entries):
    """The document's text between the header and the end: each entry in
    order, verses marked with milestone pairs. Consecutive verses of one
    chapter with the same text are one verse whose osisID lists them all (the
    export repeats a verse's text for each number of a range such as
    "Sir.26.19 Sir.26.20 ... Sir.26.27")."""
    out, pending = [], None  # pending: [refs, text, book and chapter]

    def flush():
        if pending is None:
            return
        refs, text, _ = pending
        before, text = split_preverse(text)
        text, after = split_chapter_end(text)
        out.append(before)
        if has_text(text):
            out.append('<verse osisID="%s" sID="%s"/>%s<verse eID="%s"/>'
                       % (" ".join(refs), refs[0], text, refs[0]))
        else:
            out.append(text)
        out.append(after + "\n")

    for key, text in entries:
        if key.startswith("["):
            if text and not IMPORTER_NOTE.match(text):
                sys.exit("unexpected heading text in %s: %s" % (key, text[:80]))
            continue
        m = KEY.match(key)
        if not m or m.group(1) not in BOOKS:
            sys.exit("unexpected key: " + key)
        book, chapter, verse = BOOKS[m.group(1)], int(m.group(2)), int(m.group(3))
        if verse == 0:
            flush()
            pending = None
            if text.strip():
                out.append(text + "\n")
            continue
        ref = "%s.%d.%d" % (book, chapter, verse)
        if pending and pending[2] == (book, chapter) and pending[1] == text and has_text(text):
            pending[0].append(ref)
            continue
        flush()
        pending = [[ref], text, (book, chapter)]
    flush()
    return "".join(out)


def main():
    conf = read_conf(sys.argv[1])
    module = conf["module"]
    entries = list(read_entries(sys.stdin))
    for fix in ENTRY_FIXES.get(module, []):
        entries = [(key, fix(key, text)) for key, text in entries]
    for fix in WORK_FIXES.get(module, []):
        fix(entries)
    sys.stdout.write(header(conf) + body(entries) + "</osisText>\n</osis>\n")


if __name__ == "__main__":
    main()
