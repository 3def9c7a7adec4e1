// The book builder: a complete book from a scripture source, or a glossary book
// from a dictionary source (writer/source_text.h), written into a directory.
//
// How a scripture book is laid out:
// - Sections: Book > Chapter > Verse, depth first (a book, its first chapter, that
//   chapter's verses, the next chapter ...). Books are named as in the source,
//   chapters and verses by their numbers ("John", "3", "16"; equal names are
//   stored once), so the path of a
//   verse is "John\3\16". Books are numbered from 1 in source order: that number is
//   the book of the verse sync index and of the verses index.
// - Text: one viewable area per chapter, in section order (area 1 is the first
//   chapter). A chapter's block is lines ending in '\n': line 0 is the heading
//   "Book Chapter", then one line per verse, "Verse<blank>text". The preamble
//   (block 0, in front of every area) is the title and '\n'.
// - Sync data of every section: the 32-bit word is its area (a book's: that of its
//   first chapter); the 16-bit word is the line of the area's block where the
//   section begins (0 for books and chapters, 1 + the verse's index in its chapter
//   for verses). A host finds a verse's text as that line of
//   GetViewableBlock(area), or of GetViewableArea(area) after the preamble's
//   GetViewableBlockSize(0) bytes.
// - Word counts (SectionWordCount): the words of each verse, chapter and book (as
//   the concordance counts them), cut at 65535.
// - Control words of the header text: TITLE, ABBREV, LANG (the language id in
//   decimal, "1033"), EDITION, COPYRIGHT and SYNCTYPE ("verse"); a word with empty
//   data is left out.
// - Verse sync index (vsync.idx): book number, chapter and verse to the verse's
//   section key.
// - Concordance (concord.idx): one language, the book's; its words split and
//   folded as zalang/words.h says: runs of letters, digits and marks, apart at
//   apostrophes and hyphens as at blanks ("the LORD's loving-kindness" is the five
//   words the, lord, s, loving, kindness), case and accents folded away. A word's
//   keys are the section keys of the verses that hold it, its positions the word
//   numbers in the verse (from 1): the words of a phrase stand at consecutive
//   positions, and a verse's word count is its last position.
// - Verses index (verses.idx): per book its section key, its chapters' keys and all
//   its verses' keys; per chapter its key and its verses' keys; per verse its key.
//
// A glossary book: the entries sorted by headword as the sync indexes compare
// (case-blind); sections are the initial letters (a headword's first byte, A-Z
// folded to upper case), each with one area whose block is the heading line (the
// letter) and one line per entry, "headword<TAB>definition". The glossary keys are
// the entries in that order; their sync data gives area and line as above. The
// word sync index (wsync.idx) maps each headword to its glossary key, and the
// concordance holds the words of each entry's line under its glossary key.
// SYNCTYPE is "word".
//
// Text is 8-bit in the code page of the book's language (zalang/text_encoding.h).
// What the files cannot hold faithfully is refused: every such fault of the source
// raises SourceError with the source's name and the line (0 for the source as a
// whole):
// - a character the code page lacks;
// - a verse or entry of more than 65535 words, or with a word of more than 32767
//   characters (positions are 16-bit, a concordance word's length a signed 16-bit
//   count);
// - a book name or headword of more than 32767 bytes (names and sync words have
//   signed 16-bit lengths), a book name with a backslash (it separates the names
//   of a path), books whose names differ only in case (paths ignore case);
// - a book of more than 32767 chapters and verses, a glossary of more than 32768
//   entries (an entry's level count, the keys back to the first entry of its book
//   or of the glossary, is a signed 16-bit number), more than 65535 books, more
//   than 65534 headwords under one letter;
// - a chapter, or a letter's entries, whose text with the preamble is larger than
//   a text area's signed 32-bit size, and a book whose files outgrow their 32-bit
//   offsets.
// Lists are LZSS-compressed text blocks with `compress`, coded concordance and
// verses lists with `coded`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "writer/source_text.h"

namespace orva::writer {

struct BookOptions {
  std::uint16_t publisherID = 0;
  std::uint16_t bookID = 0;
  std::string edition;    // EDITION
  std::string title;      // TITLE (UTF-8); empty: the source's name without folders and extensions
  std::string abbreviation;  // ABBREV
  std::string copyright;  // COPYRIGHT
  std::uint16_t language = 1033;  // the language library's id of the text's language
  bool compress = false;
  bool coded = false;
};

struct BookFile {
  std::string name;  // "book.dat", "sections.idx", ...
  std::vector<std::uint8_t> bytes;
};

struct BuiltBook {
  std::vector<BookFile> files;
  int books = 0, chapters = 0, verses = 0;  // scripture
  int entries = 0;                          // glossary
  int sections = 0;                         // section keys, glossary keys not counted
  int distinctWords = 0;                    // words of the concordance
  long long wordCount = 0;                  // words of the text
};

// The files of a book made from `source` (named `sourceName` in messages).
// Raises SourceError for faults of the source, CMemoryException* when memory runs
// out.
BuiltBook BuildScriptureBook(const Scripture& source, const BookOptions& options, const std::string& sourceName);
BuiltBook BuildGlossaryBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                            const std::string& sourceName);

// Writes `files` as the book directory `dir`, whole or not at all: they are
// written into a new folder beside `dir` ("DIR.new-XXXXXX"), which then takes its
// place (the old book moves aside into "DIR.old-XXXXXX" and is removed). An
// existing `dir` is replaced only when it holds nothing but book files (the nine
// file names of a book); otherwise, or when writing fails, std::runtime_error is
// raised and `dir` is as it was. Folders beside `dir` that a write of it killed
// part-way left (so named, holding nothing but book files, and not locked by a
// write still at work) are removed first.
void WriteBookDirectory(const std::string& dir, const std::vector<BookFile>& files);

}  // namespace orva::writer
