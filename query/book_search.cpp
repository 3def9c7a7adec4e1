// Book::Find and the pages of its hits.
#include "query/book.h"

namespace orva::query {

BookSearch Book::Find(const SearchQuery& query) {
  return Locked([&] { return FindUnlocked(query); });
}

BookSearch Book::FindUnlocked(const SearchQuery& query) {
  Open(ORVA_SECTIONS | ORVA_CONCORD);
  const bool strongs = !query.strongs.empty();
  if (strongs) NeedStrongs();
  return BookSearch(*this, query::Find(m_book, query, WordsLanguage()), strongs);
}

BookSearch::BookSearch(Book& book, SearchResult result, bool withWords)
    : m_book(&book),
      m_result(std::move(result)),
      m_withWords(withWords),
      m_references(std::make_unique<ReferenceFormatter>(book.m_book, book.WordsLanguage())),
      m_texts(std::make_unique<VerseTexts>(book.m_book, book.WordsLanguage())) {}

BookSearch::BookSearch(BookSearch&&) noexcept = default;
BookSearch& BookSearch::operator=(BookSearch&&) noexcept = default;
BookSearch::~BookSearch() = default;

BookSearch::Page BookSearch::Hits(std::size_t first, std::size_t count) {
  return m_book->Locked([&] { return HitsUnlocked(first, count); });
}

BookSearch::Page BookSearch::HitsUnlocked(std::size_t first, std::size_t count) {
  Page page;
  page.hits = m_result.Hits(first, count);
  page.referenceEnds.reserve(page.hits.Size());
  for (std::size_t hit = 0; hit < page.hits.Size(); ++hit) {
    m_references->AppendTo(page.references, static_cast<int>(page.hits.Key(hit)));
    page.referenceEnds.push_back(page.references.size());
  }
  if (m_withWords && page.hits.Size() > 0) {  // the words at a number's positions are read from the text
    m_book->Open(ORVA_TEXT | ORVA_VIEWABLE);
    for (std::size_t hit = 0; hit < page.hits.Size(); ++hit) {
      page.words.push_back(m_texts->Words(static_cast<int>(page.hits.Key(hit))));
    }
  }
  return page;
}

}  // namespace orva::query
