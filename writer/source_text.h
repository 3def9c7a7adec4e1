// The text source forms that `orva build` turns into books, parsed into memory,
// and the Scripture they and OSIS documents (writer/source_osis.h) become.
//
// Scripture, one verse per line (UTF-8):
//     Book Chapter:Verse<TAB>text
// The book name is everything before the last blank ahead of "Chapter:Verse" and may
// hold blanks itself ("Song of Solomon 2:1"). A book's lines stand together, its
// chapters in ascending order and each chapter's verses in ascending order (gaps are
// allowed). Blank lines and lines that begin with '#' are skipped.
//
// Dictionary or topical index, one entry per line (UTF-8):
//     headword<TAB>definition
// Headwords are unique, compared without regard to ASCII letter case.
//
// Lexicon, one entry per line (UTF-8):
//     NUMBER<TAB>HEADWORD<TAB>TRANSLITERATION<TAB>PRONUNCIATION<TAB>DEFINITION
// NUMBER is a Strong's number, "G26" or "H430" (leading zeros allowed), each
// number once; the fields may be empty.
//
// Reading plan, one day per line (UTF-8):
//     MM-DD<TAB>text
// MM-DD a date of the year ("01-05", also "1-5"; 02-29 too), each once.
//
// In definitions and texts, a tab begins a new paragraph, and references are
// written as query/entry_text.h says, except that a verse reference may
// name its verses by OSIS ids as well as by numbers: {\verse:Ps.34.1-Ps.34.8|Ps
// 34:1-8} is {\verse:19,34,1-19,34,8|Ps 34:1-8} (writer/book_builder.h).
//
// Text must be valid UTF-8 without control characters (the tab that ends the
// reference or headword excepted); a byte order mark at the start is skipped.
// Every fault is reported as SourceError, naming the file and line.
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace orva::writer {

class SourceError : public std::runtime_error {
 public:
  // "FILE:LINE: MESSAGE", or "FILE: MESSAGE" for line 0 (the file as a whole).
  SourceError(const std::string& file, int line, const std::string& message);
  const std::string& File() const { return m_file; }
  int Line() const { return m_line; }

 private:
  std::string m_file;
  int m_line;
};

// A Strong's number that tags words of a verse: every word of the verse's text
// that lies, in whole or in part, in [begin, end) (UTF-16 units of the text).
struct StrongsTag {
  std::string word;  // the concordance word of the number (zalang::StrongsWord): "g25"
  std::uint32_t begin = 0, end = 0;
};

struct SourceVerse {
  int number = 0;
  // The numbers after `number` that the verse covers too (a verse of an OSIS
  // document that names several, "Sir.11.15 Sir.11.16"), ascending.
  std::vector<int> alsoNumbers;
  std::string text;  // UTF-8
  int line = 0;      // where it stood in the source, for messages
  // Lines shown above the verse and not searched (psalm titles, headings), UTF-8.
  std::vector<std::string> titles;
  std::vector<StrongsTag> strongs;  // in the order of their words
};

struct SourceChapter {
  int number = 0;
  std::vector<SourceVerse> verses;
  std::vector<std::string> closing;  // lines shown after the last verse (a letter's subscription)
};

struct SourceBook {
  std::string name;
  // The book's number in the canonical list (query/book_list.h); 0: the
  // number that its name has there in English, else the next unlisted number.
  int number = 0;
  std::vector<SourceChapter> chapters;
};

struct Scripture {
  std::vector<SourceBook> books;
  // What an OSIS document says of itself, empty when it says nothing: its title,
  // its rights (for the copyright), and its language as xml:lang gives it ("es")
  // with the line where that stands.
  std::string title, rights, languageTag;
  int languageLine = 0;
  // What was left out of an OSIS document: its notes, and the words of text
  // outside the chapters of books (a preface, introductions, a glossary).
  long long notesLeftOut = 0;
  long long wordsLeftOut = 0;
  int VerseCount() const;
};

struct DictionaryEntry {
  std::string headword;    // UTF-8
  std::string definition;  // UTF-8
  int line = 0;
};

// The bytes of the file at `path`, decompressed when it is gzip- or
// xz-compressed (told by its first bytes); raises SourceError naming the file
// when it cannot be read (writer/source_stream.h).
std::string ReadSourceFile(const std::string& path);

// Parse the whole of `in`; `file` names it in messages. A source without any verse
// or entry is an error too.
Scripture ParseScripture(std::istream& in, const std::string& file);
std::vector<DictionaryEntry> ParseDictionary(std::istream& in, const std::string& file);
// A lexicon's or plan's entries: the headword is the key in the form its sync
// index stores ("G26", "01-05"), the definition the rest of the line after the tab.
std::vector<DictionaryEntry> ParseLexicon(std::istream& in, const std::string& file);
std::vector<DictionaryEntry> ParsePlan(std::istream& in, const std::string& file);

}  // namespace orva::writer
