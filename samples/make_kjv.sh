#!/usr/bin/env bash
# Makes kjv.txt.gz, the sample text of this repository: the King James Version
# (public domain), one verse per line in the form "Book Chapter:Verse<TAB>text".
#
# The text comes from Debian's bible-kjv package: its `bible` command prints every
# verse from Genesis 1:1 to Revelation 22:21, one per line with an abbreviated
# reference ("Ge1:1 In the beginning ..."). This script prints them all and
# replaces each abbreviation with the book's full name. Run it as root on a Debian
# machine (it installs bible-kjv when missing); the output is deterministic.
set -euo pipefail
cd "$(dirname "$0")"
if ! command -v bible > /dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends bible-kjv
fi
bible -f gen1:1-rev22:21 | python3 -c '
import re, sys
names = ["Genesis", "Exodus", "Leviticus", "Numbers", "Deuteronomy", "Joshua", "Judges",
  "Ruth", "1 Samuel", "2 Samuel", "1 Kings", "2 Kings", "1 Chronicles", "2 Chronicles",
  "Ezra", "Nehemiah", "Esther", "Job", "Psalms", "Proverbs", "Ecclesiastes",
  "Song of Solomon", "Isaiah", "Jeremiah", "Lamentations", "Ezekiel", "Daniel", "Hosea",
  "Joel", "Amos", "Obadiah", "Jonah", "Micah", "Nahum", "Habakkuk", "Zephaniah", "Haggai",
  "Zechariah", "Malachi", "Matthew", "Mark", "Luke", "John", "Acts", "Romans",
  "1 Corinthians", "2 Corinthians", "Galatians", "Ephesians", "Philippians", "Colossians",
  "1 Thessalonians", "2 Thessalonians", "1 Timothy", "2 Timothy", "Titus", "Philemon",
  "Hebrews", "James", "1 Peter", "2 Peter", "1 John", "2 John", "3 John", "Jude",
  "Revelation"]
line_form = re.compile(r"^(\w+?)(\d+):(\d+) (.*)$")
books, current, verses = [], None, 0
for line in sys.stdin:
    m = line_form.match(line.rstrip("\n"))
    if not m:
        sys.exit("unexpected line: " + line)
    abbreviation, chapter, verse, text = m.groups()
    if abbreviation != current:
        current = abbreviation
        books.append(abbreviation)
    print("%s %s:%s\t%s" % (names[len(books) - 1], chapter, verse, text))
    verses += 1
if len(books) != 66 or verses != 31102:
    sys.exit("expected 66 books and 31102 verses, got %d and %d" % (len(books), verses))
' | gzip -9n > kjv.txt.gz
echo "wrote $(pwd)/kjv.txt.gz"
