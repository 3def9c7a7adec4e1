// Word searches over a book's concordance: the keys (verses) where words occur,
// with their positions, decided from the concordance alone.
//
// A query is split into words and folded as the book's words were
// (zalang/words.h), so a search ignores case and accents, and a word of the book
// is found also where it stands in a possessive or a hyphenated compound ("lord"
// in "LORD's", "kindness" in "loving-kindness"). Each search term is one word of
// the query, or one compound ("LORD's", "Beer-sheba"), which stands for its words
// in a row. A word of a term stands for one concordance word, or with `prefix`
// for every word that begins with it (the word list walked from the nearest word
// on). The result holds the keys where every term occurs; with `phrase`, only
// those where all the words of the query stand in a row, in the order given
// (word n + 1 right after word n). A term given twice is searched once, except in
// a phrase, where each stands in its place.
//
// What a search costs: the key lists of its words are read and intersected from
// the rarest word on; positions are read only where the answer depends on them (a
// phrase or a compound, checked only at the keys that hold every word) and for the
// hits a caller asks for. Each distinct word's lists are read once per question,
// however often the word stands in the query. The count is exact at once.
//
// A search may name Strong's numbers too (SearchQuery): a book made from a
// source that tags its words keeps them in its concordance under a language of
// their own (writer/book_builder.h), and a number is searched there as a word
// is in the text's language: its keys the verses where it tags a word, its
// positions the words it tags. Words and numbers together give the keys where
// every one of them occurs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

struct SearchOptions {
  bool phrase = false;
  bool prefix = false;
};

// Words and Strong's numbers to search for together.
struct SearchQuery {
  std::vector<std::string> words;  // words or phrases, UTF-8; `options` are for these
  // Strong's numbers as people write them ("G25", "g0025", "H430";
  // zalang::StrongsWord), each a term of its own, after those of the words.
  std::vector<std::string> strongs;
  SearchOptions options;
};

// The positions of one list of a hit, ascending: a range over the page that holds
// them.
struct PositionList {
  const std::uint16_t* first = nullptr;
  const std::uint16_t* last = nullptr;
  const std::uint16_t* begin() const { return first; }
  const std::uint16_t* end() const { return last; }
  std::size_t size() const { return static_cast<std::size_t>(last - first); }
  bool empty() const { return first == last; }
};

// A run of hits with their positions. Per hit, one list of positions (word
// numbers) per term, where the term stands at that key (where a compound begins;
// for a Strong's number, every word it tags); with `phrase`, one list for the
// words, the positions where the phrase begins, then one per Strong's number.
class SearchPage {
 public:
  std::size_t Size() const { return m_keys.size(); }
  std::uint32_t Key(std::size_t hit) const { return m_keys[hit]; }
  std::size_t Lists() const { return m_lists; }  // per hit
  PositionList Positions(std::size_t hit, std::size_t list) const {
    const std::size_t at = hit * m_lists + list;
    return {m_values.data() + m_bounds[at], m_values.data() + m_bounds[at + 1]};
  }

 private:
  friend class SearchResult;
  std::vector<std::uint32_t> m_keys;
  std::size_t m_lists = 0;
  std::vector<std::uint32_t> m_bounds;  // Size() * Lists() + 1 offsets into m_values
  std::vector<std::uint16_t> m_values;
};

// The answer to one search: its terms, the words they stood for, and the keys
// that hold them, ascending. Positions are read from the book when hits are
// asked for, so the book must stay open while the result is used; Hits selects
// the concordance languages it reads (and leaves one of them current).
class SearchResult {
 public:
  // Folded, UTF-8 ("light", "lord's"); a Strong's number as people write it ("G25").
  const std::vector<std::string>& Terms() const { return m_terms; }
  // What each list of positions of a hit (SearchPage::Lists) stands for: a term,
  // or the phrase (its terms joined by blanks); and whether it is a Strong's
  // number.
  const std::vector<std::string>& ListNames() const { return m_listNames; }
  bool IsStrongsList(std::size_t list) const { return m_strongsLists[list]; }
  // Per term, the concordance words its words stood for, in their order (UTF-8;
  // "g25" for G25); none for a word that matched nothing.
  const std::vector<std::vector<std::string>>& Words() const { return m_words; }

  // The number of hits, and the key of hit `index` (< Count()).
  std::size_t Count() const { return static_cast<std::size_t>(m_keys.GetSize()); }
  std::uint32_t Key(std::size_t index) const { return m_keys.GetData()[index]; }

  // Hits `first` ... `first + count - 1` (those of them below Count()) with their
  // positions. Each word's positions at those keys are read in one pass over its
  // lists, so a page costs about its size from any hit on, and for a query of
  // several words one decoding of each word's key list (the library keeps one
  // word's at a time): ask for pages, not for hits one by one. Raises the
  // library's exceptions for damaged files.
  SearchPage Hits(std::size_t first, std::size_t count) const;

 private:
  friend SearchResult Find(cORVABookBase&, const SearchQuery&, unsigned short);

  cORVABookBase* m_book = nullptr;
  std::vector<std::string> m_terms, m_listNames;
  std::vector<bool> m_strongsLists;
  std::vector<std::vector<std::string>> m_words;
  // Per distinct word of the query, its concordance language and the word keys
  // of the concordance words it stands for; per word of the query (slot), its
  // distinct word; per list of positions a hit shows, the slots that must stand
  // in a row [first, last).
  std::vector<unsigned short> m_languages;
  std::vector<std::vector<int>> m_wordKeys;
  std::vector<std::size_t> m_slots;
  std::vector<std::pair<std::size_t, std::size_t>> m_rows;
  CUIntArray m_keys;  // as the library gives a word's keys, uncopied
  // Per hit, per row of several slots, the positions where the row begins:
  // bounds[hit * rows + row] ... bounds[hit * rows + row + 1] in values.
  struct RowStarts {
    std::vector<std::uint32_t> bounds;
    std::vector<std::uint16_t> values;
  } m_rowStarts;
};

// Searches the concordance of `book` (open), whose text is in `language`, for
// `query`. Raises BookError when the query holds no word and no number, a
// character the book's code page lacks, or a number that is none (the message
// says which), and when it names Strong's numbers and the book has none;
// damaged files raise the library's exceptions. It selects the concordance
// languages it reads, and leaves one of them current.
SearchResult Find(cORVABookBase& book, const SearchQuery& query, unsigned short language);

// Find for a list of words or phrases in UTF-8 alone.
inline SearchResult FindWords(cORVABookBase& book, const std::vector<std::string>& words, unsigned short language,
                              const SearchOptions& options) {
  return Find(book, SearchQuery{words, {}, options}, language);
}

struct WordEntry {
  std::string word;  // UTF-8
  int keys = 0;      // the number of keys (verses) that hold it
};

// The concordance words from the nearest to `prefix` (UTF-8, folded) on that begin
// with it, at most `limit` of them (0: all). Raises BookError when `prefix` is more
// than one word.
std::vector<WordEntry> ListWords(cORVABookBase& book, const std::string& prefix, unsigned short language, int limit);

}  // namespace orva::query
