#include "tools/query/search.h"

#include <algorithm>
#include <map>
#include <set>

#include "tools/query/book_access.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::query {

namespace {

cLanguageString AsLanguageString(const std::u16string& text, unsigned short language) {
  std::vector<unsigned short> chars(text.begin(), text.end());
  chars.push_back(0);
  return cLanguageString(chars.data(), language);
}

std::u16string Chars(const cLanguageString& text) {
  return std::u16string(text.GetString(), text.GetString() + text.GetLength());
}

bool BeginsWith(const std::u16string& word, const std::u16string& prefix) {
  return word.compare(0, prefix.size(), prefix) == 0;
}

// A term of the query: one word, or the words of one compound.
struct Term {
  std::u16string text;                // folded
  std::vector<std::u16string> words;  // folded
};

// The terms of the query, each checked against the book's code page.
std::vector<Term> Terms(const std::vector<std::string>& query, unsigned short language) {
  std::vector<Term> terms;
  for (const std::string& part : query) {
    try {
      const std::u16string text = zalang::Utf8ToUtf16(part);
      zalang::EncodeForLanguage(text, language);
      size_t begin = 0;
      for (const zalang::WordSpan& span : zalang::SplitWords(text)) {
        if (!span.joined) {
          terms.emplace_back();
          begin = span.begin;
        }
        terms.back().words.push_back(zalang::FoldWord(text.substr(span.begin, span.end - span.begin)));
        terms.back().text = zalang::FoldWord(text.substr(begin, span.end - begin));
      }
    } catch (const zalang::TextError& e) {
      throw BookError("\"" + part + "\": " + e.what());
    }
  }
  if (terms.empty()) throw BookError("the search holds no word");
  return terms;
}

// The keys of word `wordKey`, ascending.
std::vector<std::uint32_t> KeysOf(cORVABookBase& book, int wordKey) {
  CUIntArray keys;
  book.GetKeysForWord(wordKey, keys);
  return std::vector<std::uint32_t>(keys.GetData(), keys.GetData() + keys.GetSize());
}

std::vector<std::uint32_t> Intersect(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  std::vector<std::uint32_t> both;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
  return both;
}

using Positions = std::vector<std::vector<std::uint16_t>>;

// The positions where words [first, last) of `positions` stand in a row: those of
// word `first` from which every later word stands one further on.
std::vector<std::uint16_t> RowStarts(const Positions& positions, size_t first, size_t last) {
  std::vector<std::uint16_t> starts;
  for (std::uint16_t start : positions[first]) {
    bool inRow = true;
    for (size_t w = first + 1; w < last && inRow; ++w) {
      const unsigned wanted = start + (w - first);
      inRow = wanted <= 0xFFFF && std::binary_search(positions[w].begin(), positions[w].end(), wanted);
    }
    if (inRow) starts.push_back(start);
  }
  return starts;
}

}  // namespace

SearchResult FindWords(cORVABookBase& book, const std::vector<std::string>& query, unsigned short language,
                       const SearchOptions& options) {
  std::vector<Term> terms = Terms(query, language);
  if (!options.phrase) {  // a word asked twice is searched once; in a phrase each stands in its place
    std::set<std::u16string> seen;
    std::vector<Term> distinct;
    for (Term& term : terms) {
      if (seen.insert(term.text).second) distinct.push_back(std::move(term));
    }
    terms = std::move(distinct);
  }
  // The words of every term, one after the other; term t's are [firstWord[t], firstWord[t + 1]).
  std::vector<std::u16string> words;
  std::vector<size_t> firstWord;
  for (const Term& term : terms) {
    firstWord.push_back(words.size());
    words.insert(words.end(), term.words.begin(), term.words.end());
  }
  firstWord.push_back(words.size());

  SearchResult result;
  for (const Term& term : terms) {
    result.terms.push_back(zalang::Utf16ToUtf8(term.text));
    result.words.emplace_back();
  }
  // Per word, its concordance words and their keys; then the keys every word has.
  std::vector<std::vector<std::pair<int, std::vector<std::uint32_t>>>> wordsOf(words.size());
  std::vector<std::uint32_t> common;
  size_t term = 0;
  for (size_t w = 0; w < words.size(); ++w) {
    while (w >= firstWord[term + 1]) ++term;
    cLanguageString search = AsLanguageString(words[w], language);
    if (options.prefix) {
      cLanguageString found;
      for (int word = book.FindNearestMatchingWord(search, found); word >= 0 && BeginsWith(Chars(found), words[w]);
           word = book.GetNextWord(found)) {
        wordsOf[w].emplace_back(word, KeysOf(book, word));
        result.words[term].push_back(ToUtf8(found));
      }
    } else {
      const int word = book.FindExactMatchingWord(search);
      if (word >= 0) {
        wordsOf[w].emplace_back(word, KeysOf(book, word));
        result.words[term].push_back(zalang::Utf16ToUtf8(words[w]));
      }
    }
    std::vector<std::uint32_t> keys;
    for (const auto& [word, wordKeys] : wordsOf[w]) keys.insert(keys.end(), wordKeys.begin(), wordKeys.end());
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    common = w == 0 ? std::move(keys) : Intersect(common, keys);
  }

  // Positions word by word, so that each word's key list is read once.
  std::map<std::uint32_t, Positions> positionsAt;
  for (std::uint32_t key : common) positionsAt[key].resize(words.size());
  CWordArray positions;
  for (size_t w = 0; w < words.size(); ++w) {
    for (const auto& [word, wordKeys] : wordsOf[w]) {
      for (std::uint32_t key : Intersect(common, wordKeys)) {
        book.GetWordPositionList(word, static_cast<int>(key), positions);
        std::vector<std::uint16_t>& list = positionsAt[key][w];
        list.insert(list.end(), positions.GetData(), positions.GetData() + positions.GetSize());
      }
    }
  }
  for (auto& [key, lists] : positionsAt) {
    for (std::vector<std::uint16_t>& list : lists) {
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    SearchHit hit;
    hit.key = key;
    if (options.phrase) {
      hit.positions.push_back(RowStarts(lists, 0, words.size()));
    } else {
      for (size_t t = 0; t < terms.size(); ++t) {
        hit.positions.push_back(RowStarts(lists, firstWord[t], firstWord[t + 1]));
      }
    }
    const bool everywhere = std::none_of(hit.positions.begin(), hit.positions.end(),
                                         [](const std::vector<std::uint16_t>& list) { return list.empty(); });
    if (everywhere) result.hits.push_back(std::move(hit));
  }
  return result;
}

std::vector<WordEntry> ListWords(cORVABookBase& book, const std::string& prefix, unsigned short language, int limit) {
  const std::vector<Term> terms = prefix.empty() ? std::vector<Term>{} : Terms({prefix}, language);
  if (terms.size() > 1 || (!terms.empty() && terms[0].words.size() > 1)) {
    throw BookError("\"" + prefix + "\" is more than one word");
  }
  const std::u16string start = terms.empty() ? std::u16string() : terms[0].text;
  std::vector<WordEntry> words;
  cLanguageString found;
  cLanguageString search = AsLanguageString(start, language);
  int word = start.empty() ? book.GetFirstWord(language, found) : book.FindNearestMatchingWord(search, found);
  for (; word >= 0 && BeginsWith(Chars(found), start) && (limit <= 0 || static_cast<int>(words.size()) < limit);
       word = book.GetNextWord(found)) {
    CUIntArray keys;
    const std::string text = ToUtf8(found);
    book.GetKeysForWord(word, keys);  // leaves the word cursor on `word`
    words.push_back({text, keys.GetSize()});
  }
  return words;
}

}  // namespace orva::query
