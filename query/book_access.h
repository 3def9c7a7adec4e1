// Opening a book directory as the orva program and other tools do: the identity
// (publisher and book id) comes from the version record of the book's files, the
// sync type from which sync index the directory holds, the language from the
// book's LANG control word.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "orvada.h"

namespace orva::query {

// A book that cannot be opened or read: a missing directory, a missing or
// damaged file, a reference that names nothing. The message says which.
class BookError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A BookError for a book file that turned out damaged: it would not open (too
// short, a bad version record or header, another book's file), or the library
// raised its file exception while reading it. Hosts tell a damaged book from a
// question it cannot answer by this class.
class BookDamaged : public BookError {
 public:
  using BookError::BookError;
};

struct BookIdentity {
  std::uint16_t publisherID = 0;
  std::uint16_t bookID = 0;
  std::string syncType;  // "verse", "word", "strongs", "date" or empty
};

// Reads the identity of the book in `dir` (a folder, with or without a trailing
// '/') from the first of its files that exists, in the order of the file bits.
// Raises BookError when `dir` is not a folder or holds no book file, BookDamaged
// when that file is shorter than a version record.
BookIdentity ReadBookIdentity(const std::string& dir);

// Points every path of `book` at `dir` and sets its identity (ReadBookIdentity).
void PointBookAt(cORVABookBase& book, const std::string& dir);

// Opens each of the parts `bits` of `book` (pointed at a directory) that is not
// open yet, one at a time. Raises BookError naming the first part that failed
// and the library's message, for a result code and for a file exception raised
// while opening: BookDamaged for a file exception of a malformed or short file
// and for the result codes of a file that is there but not right (generic, end
// of file, another book's ids, a newer version, a bad header).
void OpenParts(cORVABookBase& book, DWORD bits);

// The text of the file exception `e` as the library's message of its cause;
// deletes `e`.
std::string DescribeAndDelete(CException* e);

// The language of the book's text: its LANG control word as a number, 1033 when
// the word is missing or not a language id. Needs book.dat open.
unsigned short BookLanguage(cORVABookBase& book);

// The first language of the book's concordance (open), 1033 when it has none.
unsigned short ConcordanceLanguage(cORVABookBase& book);

// 8-bit text of the book (in the code page of `language`, with the language tags
// of tagged strings where it changes language: writer/book_builder.h) as UTF-8,
// each letter and its marks composed (zalang::ComposeText).
std::string ToUtf8(const char* text, size_t length, unsigned short language);
inline std::string ToUtf8(const CString& text, unsigned short language) {
  return ToUtf8(text, static_cast<size_t>(text.GetLength()), language);
}
// A language string as UTF-8.
std::string ToUtf8(const cLanguageString& text);

}  // namespace orva::query
