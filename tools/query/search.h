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
// (word n + 1 right after word n). A term
// given twice is searched once, except in a phrase, where each stands in its place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

struct SearchOptions {
  bool phrase = false;
  bool prefix = false;
};

struct SearchHit {
  std::uint32_t key = 0;
  // Per term, the positions (word numbers) where it stands at this key (where a
  // compound begins); with `phrase`, one list: the positions where the phrase
  // begins.
  std::vector<std::vector<std::uint16_t>> positions;
};

struct SearchResult {
  std::vector<std::string> terms;  // folded, UTF-8 ("light", "lord's")
  // Per term, the concordance words its words stood for, in their order (UTF-8);
  // none for a word that matched nothing.
  std::vector<std::vector<std::string>> words;
  std::vector<SearchHit> hits;  // ascending by key
};

// Searches the concordance of `book` (open) in `language` for `query`, a list of
// words or phrases in UTF-8. Raises BookError when the query holds no word or a
// character the book's code page lacks; damaged files raise the library's
// exceptions.
SearchResult FindWords(cORVABookBase& book, const std::vector<std::string>& query, unsigned short language,
                       const SearchOptions& options);

struct WordEntry {
  std::string word;  // UTF-8
  int keys = 0;      // the number of keys (verses) that hold it
};

// The concordance words from the nearest to `prefix` (UTF-8, folded) on that begin
// with it, at most `limit` of them (0: all). Raises BookError when `prefix` is more
// than one word.
std::vector<WordEntry> ListWords(cORVABookBase& book, const std::string& prefix, unsigned short language, int limit);

}  // namespace orva::query
