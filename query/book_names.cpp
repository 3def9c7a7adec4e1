#include "query/book_names.h"

#include "query/book_access.h"
#include "query/book_list.h"

namespace orva::query {

BookNames::BookNames(cORVABookBase& book, unsigned short language)
    : m_book(book), m_language(language), m_top(TopLevelSections(book)) {
  m_utf8.reserve(m_top.size());
  m_normalised.reserve(m_top.size());
  for (const TopSection& section : m_top) {
    m_utf8.push_back(ToUtf8(section.name.data(), section.name.size(), language));
    m_normalised.push_back(NormaliseBookName(m_utf8.back()));
  }
}

int BookNames::Match(const std::string& name, bool* ambiguous) {
  return MatchNormalisedBookName(m_normalised, name, ambiguous, [this](int number) { return Numbered(number); });
}

int BookNames::Numbered(int number) {
  const auto known = m_numbered.find(number);
  if (known != m_numbered.end()) return known->second;
  int index = -1;
  try {
    OpenParts(m_book, ORVA_VERSES);
    CUIntArray keys;
    if (number > 0 && number <= 0xFFFF && m_book.GetBookOccurrences(static_cast<unsigned short>(number), keys) == 1) {
      for (std::size_t i = 0; i < m_top.size() && index < 0; ++i) {
        if (static_cast<UINT>(m_top[i].key) == keys[0]) index = static_cast<int>(i);
      }
    }
  } catch (const BookError&) {
    index = -1;  // no verses index: no book stands under a number
  }
  m_numbered.emplace(number, index);
  return index;
}

}  // namespace orva::query
