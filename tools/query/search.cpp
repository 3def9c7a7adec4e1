#include "tools/query/search.h"

#include <algorithm>
#include <map>
#include <set>

#include "tools/query/book_access.h"
#include "writer/text_words.h"

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

// The folded words of the query, each checked against the book's code page.
std::vector<std::u16string> Terms(const std::vector<std::string>& query, unsigned short language) {
  std::vector<std::u16string> terms;
  for (const std::string& part : query) {
    try {
      const std::u16string text = writer::Utf8ToUtf16(part);
      writer::EncodeForLanguage(text, language);
      for (std::u16string& word : writer::FoldedWords(text)) terms.push_back(std::move(word));
    } catch (const writer::TextError& e) {
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

// The positions where the phrase begins: those of its first word from which
// every later word stands one further on.
std::vector<std::uint16_t> PhraseStarts(const std::vector<std::vector<std::uint16_t>>& positions) {
  std::vector<std::uint16_t> starts;
  for (std::uint16_t first : positions[0]) {
    bool inRow = true;
    for (size_t t = 1; t < positions.size() && inRow; ++t) {
      const unsigned wanted = first + t;
      inRow = wanted <= 0xFFFF && std::binary_search(positions[t].begin(), positions[t].end(), wanted);
    }
    if (inRow) starts.push_back(first);
  }
  return starts;
}

}  // namespace

SearchResult FindWords(cORVABookBase& book, const std::vector<std::string>& query, unsigned short language,
                       const SearchOptions& options) {
  std::vector<std::u16string> terms = Terms(query, language);
  if (!options.phrase) {  // a word asked twice is searched once; in a phrase each stands in its place
    std::set<std::u16string> seen;
    std::vector<std::u16string> distinct;
    for (std::u16string& term : terms) {
      if (seen.insert(term).second) distinct.push_back(std::move(term));
    }
    terms = std::move(distinct);
  }
  SearchResult result;
  // Per term, its words and their keys; then the keys every term has.
  std::vector<std::vector<std::pair<int, std::vector<std::uint32_t>>>> wordsOf(terms.size());
  std::vector<std::uint32_t> common;
  for (size_t t = 0; t < terms.size(); ++t) {
    result.terms.push_back(writer::Utf16ToUtf8(terms[t]));
    result.words.emplace_back();
    cLanguageString search = AsLanguageString(terms[t], language);
    std::vector<std::uint32_t> keys;
    if (options.prefix) {
      cLanguageString found;
      for (int word = book.FindNearestMatchingWord(search, found); word >= 0 && BeginsWith(Chars(found), terms[t]);
           word = book.GetNextWord(found)) {
        wordsOf[t].emplace_back(word, KeysOf(book, word));
        result.words[t].push_back(ToUtf8(found));
      }
    } else {
      const int word = book.FindExactMatchingWord(search);
      if (word >= 0) {
        wordsOf[t].emplace_back(word, KeysOf(book, word));
        result.words[t].push_back(result.terms[t]);
      }
    }
    for (const auto& [word, wordKeys] : wordsOf[t]) keys.insert(keys.end(), wordKeys.begin(), wordKeys.end());
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    common = t == 0 ? std::move(keys) : Intersect(common, keys);
  }

  // Positions word by word, so that each word's key list is read once.
  std::map<std::uint32_t, SearchHit> hits;
  for (std::uint32_t key : common) hits[key].positions.resize(terms.size());
  CWordArray positions;
  for (size_t t = 0; t < terms.size(); ++t) {
    for (const auto& [word, wordKeys] : wordsOf[t]) {
      for (std::uint32_t key : Intersect(common, wordKeys)) {
        book.GetWordPositionList(word, static_cast<int>(key), positions);
        std::vector<std::uint16_t>& list = hits[key].positions[t];
        list.insert(list.end(), positions.GetData(), positions.GetData() + positions.GetSize());
      }
    }
  }
  for (auto& [key, hit] : hits) {
    hit.key = key;
    for (std::vector<std::uint16_t>& list : hit.positions) {
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    if (options.phrase) {
      std::vector<std::uint16_t> starts = PhraseStarts(hit.positions);
      if (starts.empty()) continue;
      hit.positions = {std::move(starts)};
    }
    result.hits.push_back(std::move(hit));
  }
  return result;
}

std::vector<WordEntry> ListWords(cORVABookBase& book, const std::string& prefix, unsigned short language, int limit) {
  const std::vector<std::u16string> terms = prefix.empty() ? std::vector<std::u16string>{} : Terms({prefix}, language);
  if (terms.size() > 1) throw BookError("\"" + prefix + "\" is more than one word");
  const std::u16string start = terms.empty() ? std::u16string() : terms[0];
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
