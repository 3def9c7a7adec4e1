// The two source forms that `orva build` turns into books, parsed into memory.
//
// Scripture, one verse per line (UTF-8):
//     Book Chapter:Verse<TAB>text
// The book name is everything before the last blank ahead of "Chapter:Verse" and may
// hold blanks itself ("Song of Solomon 2:1"). A book's lines stand together, its
// chapters in ascending order and each chapter's verses in ascending order (gaps are
// allowed). Blank lines and lines that begin with '#' are skipped.
//
// Dictionary, one entry per line (UTF-8):
//     headword<TAB>definition
// Headwords are unique, compared without regard to ASCII letter case.
//
// Text must be valid UTF-8 without control characters (the tab that ends the
// reference or headword excepted); a byte order mark at the start is skipped.
// Every fault is reported as SourceError, naming the file and line.
#pragma once

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

struct SourceVerse {
  int number = 0;
  std::string text;  // UTF-8
  int line = 0;      // where it stood in the source, for messages
};

struct SourceChapter {
  int number = 0;
  std::vector<SourceVerse> verses;
};

struct SourceBook {
  std::string name;
  std::vector<SourceChapter> chapters;
};

struct Scripture {
  std::vector<SourceBook> books;
  int VerseCount() const;
};

struct DictionaryEntry {
  std::string headword;    // UTF-8
  std::string definition;  // UTF-8
  int line = 0;
};

// The bytes of the file at `path`, decompressed when it is gzip-compressed (a
// ".gz" file); raises SourceError naming the file when it cannot be read.
std::string ReadSourceFile(const std::string& path);

// Parse the whole of `in`; `file` names it in messages. A source without any verse
// or entry is an error too.
Scripture ParseScripture(std::istream& in, const std::string& file);
std::vector<DictionaryEntry> ParseDictionary(std::istream& in, const std::string& file);

}  // namespace orva::writer
