// The books of a book (its top-level sections) as references are matched
// against them, read once: a reader asks for many references of one book, and
// reading and normalising some seventy names for each would cost more than
// finding the verse.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "orvada.h"
#include "query/reference.h"

namespace orva::query {

class BookNames {
 public:
  // Reads the top-level sections of `book` (whose sections must be open) and
  // their names in the code page of `language`. The object refers to `book`: it
  // lives no longer than the book object, and answers for the files read now.
  BookNames(cORVABookBase& book, unsigned short language);

  cORVABookBase& Book() const { return m_book; }
  unsigned short Language() const { return m_language; }
  std::size_t Size() const { return m_top.size(); }
  const TopSection& operator[](std::size_t index) const { return m_top[index]; }
  const std::string& Utf8Name(std::size_t index) const { return m_utf8[index]; }

  // The index of the book that `name` stands for, as MatchBookName finds it; -1
  // when none does, with `ambiguous` set when several fit equally.
  int Match(const std::string& name, bool* ambiguous);

  // The index of the book that the verses index lists under `number` of the one
  // numbering of books; -1 when none is (or the book has no verses index).
  // Opens the verses index when it must; each number is looked up once.
  int Numbered(int number);

 private:
  cORVABookBase& m_book;
  const unsigned short m_language;
  std::vector<TopSection> m_top;
  std::vector<std::string> m_utf8;
  std::vector<std::string> m_normalised;
  std::unordered_map<int, int> m_numbered;
};

}  // namespace orva::query
