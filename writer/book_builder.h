// The book builder: a complete book from a scripture source (a verse-per-line
// text or an OSIS document, writer/source_text.h and writer/source_osis.h), a
// glossary or topical index from a dictionary source, a lexicon keyed by Strong's
// numbers or a reading plan keyed by dates (writer/source_text.h), written into
// a directory.
//
// How a scripture book is laid out:
// - Sections: Book > Chapter > Verse, depth first (a book, its first chapter, that
//   chapter's verses, the next chapter ...), in the order of the source. Books
//   are named as the source names them (an OSIS document's short names: "John",
//   "Juan"; writer/source_osis.h), chapters and verses by their numbers ("John",
//   "3", "16"; equal names are stored once), so the path of a verse is
//   "John\3\16". A verse that covers several numbers (an OSIS verse of several
//   osisIDs) is one section, named by its first number.
// - Book numbers: the number of a book in the verse sync index and the verses
//   index is its number in the one list of books of the Bible
//   (query/book_list.h): 1 Genesis ... 39 Malachi, 40 Matthew ... 66
//   Revelation, then 67 Tobit, 68 Judith, 69 Esther (Greek), 70 Wisdom of
//   Solomon, 71 Sirach, 72 Baruch, 73 Prayer of Azariah, 74 Susanna, 75 Bel and
//   the Dragon, 76 1 Maccabees, 77 2 Maccabees, 78 1 Esdras, 79 Prayer of
//   Manasseh, 80 Psalm 151, 81 3 Maccabees, 82 2 Esdras, 83 4 Maccabees, 84
//   Letter of Jeremiah, 85 Additions to Esther, 86 Daniel (Greek), 87 Additions
//   to Daniel, 88 Odes, 89 Psalms of Solomon, 90 Laodiceans, whatever order the
//   source has. An OSIS book's osisID gives its number; a verse-per-line book's
//   name does when it is the English name or a usual abbreviation of a book of
//   the list ("Genesis", "Song of Solomon", "1 Macc"); any other book gets the
//   next number from 100 on, in source order. So 43,3,16 is John 3:16 in every
//   book.
// - Text: one viewable area per chapter, in section order (area 1 is the first
//   chapter). A chapter's block is lines ending in '\n': line 0 is the heading
//   "Book Chapter"; then, for each verse, the lines shown above it (a psalm
//   title, a heading; each begins with a tab, which no verse line does) and the
//   verse's line, "Verse<blank>text"; after the last verse, the lines shown
//   below it (a letter's subscription), each beginning with a tab. The preamble
//   (block 0, in front of every area) is the title and '\n'.
// - Sync data of every section: the 32-bit word is its area (a book's: that of its
//   first chapter); the 16-bit word is the line of the area's block where the
//   section begins (0 for books and chapters, the verse's line for verses). A
//   host finds a verse's text as that line of GetViewableBlock(area), or of
//   GetViewableArea(area) after the preamble's GetViewableBlockSize(0) bytes.
// - Word counts (SectionWordCount): the words of each verse, chapter and book (as
//   the concordance counts them), cut at 65535. Lines shown above or below
//   verses are not counted, nor searched.
// - Control words of the header text: TITLE (the options' title, else an OSIS
//   document's, else the source's file name), ABBREV, LANG (the language id in
//   decimal, "1033"), EDITION, COPYRIGHT (the options', else an OSIS document's
//   rights) and SYNCTYPE ("verse"); a word with empty data is left out.
// - Verse sync index (vsync.idx): book number, chapter and verse to the verse's
//   section key, for every number a verse covers; its book table runs from the
//   lowest book number to the highest, numbers no book has without verses.
// - Concordance (concord.idx), first language: the text's (LANG); its words split and
//   folded as zalang/words.h says: runs of letters, digits and marks, apart at
//   apostrophes and hyphens as at blanks ("the LORD's loving-kindness" is the five
//   words the, lord, s, loving, kindness), case and accents folded away. A word's
//   keys are the section keys of the verses that hold it, its positions the word
//   numbers in the verse (from 1): the words of a phrase stand at consecutive
//   positions, and a verse's word count is its last position.
// - Concordance, second language, only when the source tags words with Strong's
//   numbers: language 512 ("Strongs" in the language library,
//   zalang::kStrongsLanguage), whose words are the numbers as
//   zalang::StrongsWord writes them ("g25", "h430": 'g' Greek or 'h' Hebrew and
//   the number without leading zeros). A number's keys are the verse keys where
//   it tags a word, its positions at a key the positions of the words it tags
//   there (in the text language's numbering: a <w> over "the world" tags both
//   words). A host finds the verses of G25 with SelectCurrentLanguage(512),
//   FindExactMatchingWord(cLanguageString("g25", 512)), GetKeysForWord and
//   GetWordPositionList, and the words of a verse through the text language.
//   The first field of a number's word record (GetWordListRecord's dwData,
//   which the library passes on unread) says where its keys lie, as
//   zalang::StrongsKeyBits says: a host after the numbers of a few verses
//   reads the key lists of the numbers whose bits they share.
//   Library note: Open selects language 1033, and a book without it has the last
//   language of its table current: a host of a book in another language selects
//   the text's language (LANG) itself.
// - Verses index (verses.idx): per book its section key, its chapters' keys and all
//   its verses' keys; per chapter its key and its verses' keys; per verse number
//   the verse's key (the numbers of a verse that covers several list the same
//   key).
//
// Books of entries: glossaries, topical indexes, lexicons and reading plans.
// Each entry is one line of a text area's block: its name, a tab, and its text,
// whose paragraphs are apart at tabs; line 0 of a block is a heading. The sync
// data of an entry gives area (32-bit word) and line (16-bit word) as above.
// - A glossary or topical index (SYNCTYPE "word"): the entries sorted by headword
//   as the sync indexes compare (case-blind); sections are the initial letters (a
//   headword's first byte, A-Z folded to upper case), each with one area whose
//   heading is the letter, one line per entry: "headword<TAB>definition". The
//   glossary keys are the entries in that order. The word sync index (wsync.idx)
//   maps each headword to its glossary key. Nave's Topical Bible is one: an
//   entry per topic, its subtopics paragraphs ("→ WEAK", "See DOUBTING").
// - A lexicon (SYNCTYPE "strongs"): one level-1 section per entry, in order of
//   letter and number, named by its Strong's number ("G26", "H430": the letter
//   and the number without leading zeros); an area per hundred numbers ("G1-G100"
//   its heading). An entry's line is "G26<TAB>headword<TAB>transliteration<TAB>
//   pronunciation<TAB>definition", the definition one paragraph or more (each of
//   the first three may be empty). The Strong's sync index (ssync.idx) maps each
//   number, so written, to its section key: the word of the number in a Bible's
//   concordance (language 512, "g26") finds it, as the index compares without
//   regard to case; a number with leading zeros must lose them first.
// - A reading plan (SYNCTYPE "date"): one level-1 section per day, in date order,
//   named "MM-DD" ("01-05"; 02-29 too, when the source has it); an area per month
//   (its heading the month's name, "January"). A day's line is "MM-DD<TAB>text".
//   The date sync index (dsync.idx) maps each "MM-DD" to its section key.
// The text of an entry (everything after the name's tab):
// - It is a tagged string: text before the first language tag is in the book's
//   language (LANG; 1033 for the books of samples/, which TaggedStringToLang
//   takes as it is; a host of a book in another language puts that language's
//   tag first), a tag ("<Greek:", "<Hebrew:", "<English:") switches the
//   language of the bytes after it, each language's bytes in its code page
//   (zalang/language_table.h). Each character stands in the language of its
//   script: Greek letters in Greek, Hebrew letters (with their points) in Hebrew,
//   other letters and digits in the book's language, blanks, punctuation and
//   marks in the language of what stands before them. A character its language's
//   table lacks is written as its base and marks (EncodeForLanguage), and a mark
//   that table lacks, or a character no script claims, in the first language
//   whose table has it: the run's, the book's, then the language library's in
//   its order (English, German, French, Spanish, Greek, Hebrew). So polytonic
//   Greek reads back decomposed ("alpha, psili, gamma, alpha with tonos ..." for
//   the headword of G26), which zalang::ComposeText puts back together, and a
//   transliteration's "y" with circumflex is "y" in English and the circumflex
//   in a Greek run of its own. Each paragraph begins in the book's language (a
//   tag back to it ends a paragraph that does not), so a host may part a line at
//   its tabs before or after TaggedStringToLang.
// - References stand inline, as query/entry_text.h writes them:
//   {\verse:19,34,1-19,34,8|Ps 34:1-8} (a verse, chapter, book or range by the
//   one numbering of books, which a verse sync index finds in any Bible of a
//   library), {\strongs:G25} (a lexicon's sync key), {\word:FEAR OF GOD} (a
//   glossary's or topical index's), {\date:12-25} (a plan's), with the text
//   shown for it after "|" when that is not the key. A reference stands in a run
//   of the book's language; its shown text may switch language inside it.
//   ShowEntryText (query/entry_text.h) gives a reader the paragraphs with
//   references as their shown text, and each reference with its key.
// - The concordance holds the words of the text, references left out (their
//   shown text too), under the glossary or section key of the entry, each word
//   in the language of its first character: English definitions under 1033,
//   Greek headwords and Greek words of definitions under 1032, Hebrew under
//   1037. Positions number the words of the whole text from 1 (a glossary's
//   headword first, it is part of the text; a lexicon's or plan's name is not);
//   the word count of a section is that of its entry (a letter's: of its
//   entries). A plan whose texts hold no word has no concordance.
// - The verses index (verses.idx), when some entry refers to a verse, is the
//   reverse of the references: per verse the keys of the entries that refer to
//   it (or to a range holding it), per chapter those that refer to it whole and
//   (its all-verses list) to some verse of it, per book those that refer to it
//   whole, to some chapter of it (all-chapters) and to some verse of it
//   (all-verses). A book, chapter or verse that no entry names has no record;
//   an empty list has none either (offset 0). So "the topics of John 3:16" are
//   GetVerseOccurrences(43, 3, 16) and the chapter's GetChapterOccurrences.
//
// Scripture text is 8-bit in the code page of the book's language
// (zalang/text_encoding.h); the text of entries, tagged strings as above.
// A line shown above or below verses (not searched) leaves out a character the
// code page lacks (the Hebrew letters of the KJV's titles in Psalm 119: "ALEPH."),
// counted in BuiltBook::charactersLeftOut. Anything else the files cannot hold
// faithfully is refused: every such fault of the source raises SourceError with
// the source's name and the line (0 for the source as a whole):
// - a character of a verse, a book name, a headword or a control word that the
//   code page lacks, and a character of an entry that no language's code page
//   has; text of an entry that reads as a language tag ("<Greek:"), and a "{\"
//   that begins no reference, a reference to a verse that is not one (a book by
//   an OSIS id the list lacks; a range across chapters or books, or of more than
//   1000 verses or chapters), a Strong's number or date that is not one; an OSIS
//   document's language that the language library lacks (with no language in
//   the options);
// - a verse or entry of more than 65535 words, or with a word of more than 32767
//   characters (positions are 16-bit, a concordance word's length a signed 16-bit
//   count);
// - a book name or headword of more than 32767 bytes (names and sync words have
//   signed 16-bit lengths), a book name with a backslash (it separates the names
//   of a path), books whose names differ only in case (paths ignore case);
// - two books with one number (a verse-per-line "Psalms" and "Ps");
// - an OSIS document's title or rights with a '}', when the options give no
//   title or copyright in its place (a control word ends at '}');
// - a chapter of more than 65535 lines, a book of more than 32767 chapters and
//   verses, a glossary of more than 32768
//   entries (an entry's level count, the keys back to the first entry of its book
//   or of the glossary, is a signed 16-bit number), more than 65535 books, more
//   than 65534 headwords under one letter, more than 65534 lexicon entries in
//   one hundred (numbers of more than five digits are no Strong's numbers);
// - a chapter, or a letter's entries, whose text with the preamble is larger than
//   a text area's signed 32-bit size, and a book whose files outgrow their 32-bit
//   offsets.
// Lists are LZSS-compressed text blocks with `compress` (by the smaller parse of
// writer/lzss_parse.h), coded concordance and verses lists with `coded`. Coded,
// the concordance is made small: word records of 16 bytes (without the two bytes
// of the book's own that a coded record may end in), position lists that the
// words of a language share (writer/list_pool.h: a word's directory points into
// one run of lists after the word table, where most words find theirs; every
// list still reads as the word's own), and one directory for words whose
// directories are the same. Made so, each book of samples/ takes less than half
// the bytes of its OSIS document.
#pragma once

#include <cstdint>
#include <functional>
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
  // The language library's id of the text's language; 0: an OSIS document's own
  // (its xml:lang), else 1033 English.
  std::uint16_t language = 0;
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
  std::uint16_t language = 0;               // the text's
  int verseNumbers = 0;                     // what the verse sync index maps: a verse may cover several
  int titleLines = 0;                       // lines shown above or below verses
  int charactersLeftOut = 0;                // of those lines: characters the code page lacks
  int strongsNumbers = 0;                   // distinct Strong's numbers
  long long strongsTags = 0;                // words tagged with a number (one per number)
  // Glossaries, lexicons and plans: the references of their entries, and the
  // languages of their concordance that have words.
  long long verseReferences = 0, otherReferences = 0;
  std::vector<std::uint16_t> concordLanguages;
};

// The files of a book made from `source` (named `sourceName` in messages);
// `progress`, when given, is told after each book how much is done (0 to 1).
// Raises SourceError for faults of the source, CMemoryException* when memory runs
// out.
BuiltBook BuildScriptureBook(const Scripture& source, const BookOptions& options, const std::string& sourceName,
                             const std::function<void(double done)>& progress = {});
BuiltBook BuildGlossaryBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                            const std::string& sourceName);
// From ParseLexicon and ParsePlan (writer/source_text.h).
BuiltBook BuildLexiconBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                           const std::string& sourceName);
BuiltBook BuildPlanBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                        const std::string& sourceName);

// Writes `files` as the book directory `dir`, whole or not at all (the folders
// above it are made when missing): they are written into a new folder beside
// `dir` ("DIR.new-XXXXXX"), which then takes its place (the old book moves aside
// into "DIR.old-XXXXXX" and is removed). An
// existing `dir` is replaced only when it holds nothing but book files (the nine
// file names of a book); otherwise, or when writing fails, std::runtime_error is
// raised and `dir` is as it was. Folders beside `dir` that a write of it killed
// part-way left (so named, holding nothing but book files, and not locked by a
// write still at work) are removed first.
void WriteBookDirectory(const std::string& dir, const std::vector<BookFile>& files);

}  // namespace orva::writer
