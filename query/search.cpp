#include "query/search.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "query/book_access.h"
#include "query/strongs.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::query {

namespace {

using KeyList = std::vector<std::uint32_t>;

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

// A term of the query: one word, or the words of one compound, or a Strong's
// number.
struct Term {
  std::u16string text;                // folded
  std::vector<std::u16string> words;  // folded
  bool strongs = false;
};

void Select(cORVABookBase& book, unsigned short language) { book.SelectCurrentLanguage(language, nullptr); }

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
  return terms;
}

// The Strong's numbers of the query as terms.
std::vector<Term> StrongsTerms(const std::vector<std::string>& numbers) {
  std::vector<Term> terms;
  for (const std::string& number : numbers) {
    const std::string word = zalang::StrongsWord(number);
    if (word.empty()) {
      throw BookError("\"" + number + "\" is no Strong's number (a G or an H and a number: G25, H430)");
    }
    Term term;
    term.text.assign(word.begin(), word.end());
    term.words.push_back(term.text);
    term.strongs = true;
    terms.push_back(std::move(term));
  }
  return terms;
}

// The keys of word `wordKey` of the current language, ascending.
KeyList KeysOf(cORVABookBase& book, int wordKey) {
  CUIntArray keys;
  book.GetKeysForWord(wordKey, keys);
  return KeyList(keys.GetData(), keys.GetData() + keys.GetSize());
}

// The keys of any of the words `wordKeys` of `language`.
KeyList KeysOfAny(cORVABookBase& book, unsigned short language, const std::vector<int>& wordKeys) {
  Select(book, language);
  if (wordKeys.size() == 1) return KeysOf(book, wordKeys[0]);
  KeyList keys;
  for (int word : wordKeys) {
    const KeyList more = KeysOf(book, word);
    keys.insert(keys.end(), more.begin(), more.end());
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

// The keys of `few` that `many` holds too. A short list is looked up in a long
// one, each key from where the one before was found.
KeyList Intersect(const KeyList& few, const KeyList& many) {
  KeyList both;
  if (few.size() > many.size() / 16) {
    std::set_intersection(few.begin(), few.end(), many.begin(), many.end(), std::back_inserter(both));
    return both;
  }
  auto from = many.begin();
  for (std::uint32_t key : few) {
    from = std::lower_bound(from, many.end(), key);
    if (from == many.end()) break;
    if (*from == key) both.push_back(key);
  }
  return both;
}

// The positions of one distinct word at each key of a run: those at key i are
// [Begin(i), End(i)), ascending and without repeats.
class PositionTable {
 public:
  const std::uint16_t* Begin(size_t i) const { return m_values.data() + m_bounds[i]; }
  const std::uint16_t* End(size_t i) const { return m_values.data() + m_bounds[i + 1]; }
  // Hands the lists over, as `bounds` (one more than the keys) and `values`.
  void MoveInto(std::vector<std::uint32_t>& bounds, std::vector<std::uint16_t>& values) {
    bounds = std::move(m_bounds);
    values = std::move(m_values);
  }

  // Reads the positions of the concordance words `wordKeys` of `language` at
  // `keys`: each word's lists in one pass, so that the library decodes its key
  // list once.
  void Read(cORVABookBase& book, unsigned short language, const std::vector<int>& wordKeys, const KeyList& keys) {
    Select(book, language);
    m_bounds.assign(1, 0);
    m_values.clear();
    if (wordKeys.size() == 1) {  // each key holds the word
      CWordArray positions;
      for (std::uint32_t key : keys) {
        if (book.GetWordPositionList(wordKeys[0], static_cast<int>(key), positions) >= 0) {
          Append(positions.GetData(), positions.GetData() + positions.GetSize());
        }
        m_bounds.push_back(static_cast<std::uint32_t>(m_values.size()));
      }
      return;
    }
    ReadSeveral(book, wordKeys, keys);
  }

 private:
  // Appends one key's list, ascending and without repeats also when a damaged
  // book stored it otherwise.
  void Append(const std::uint16_t* first, const std::uint16_t* last) {
    const size_t from = m_values.size();
    m_values.resize(from + static_cast<size_t>(last - first));
    std::copy(first, last, m_values.begin() + static_cast<std::ptrdiff_t>(from));
    const auto begin = m_values.begin() + static_cast<std::ptrdiff_t>(from);
    if (std::adjacent_find(begin, m_values.end(), std::greater_equal<std::uint16_t>()) != m_values.end()) {
      std::sort(begin, m_values.end());
      m_values.erase(std::unique(begin, m_values.end()), m_values.end());
    }
  }

  // Words that stand for one word of the query (a prefix): each key's lists merged.
  void ReadSeveral(cORVABookBase& book, const std::vector<int>& wordKeys, const KeyList& keys) {
    std::vector<std::pair<std::uint32_t, std::uint16_t>> found;  // (key index, position)
    CWordArray positions;
    for (int word : wordKeys) {
      const KeyList own = KeysOf(book, word);  // only the keys each word has are asked for
      auto next = own.begin();
      for (size_t i = 0; i < keys.size(); ++i) {
        next = std::lower_bound(next, own.end(), keys[i]);
        if (next == own.end()) break;
        if (*next != keys[i] || book.GetWordPositionList(word, static_cast<int>(keys[i]), positions) < 0) continue;
        for (int p = 0; p < positions.GetSize(); ++p) found.emplace_back(static_cast<std::uint32_t>(i), positions[p]);
      }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    m_bounds.assign(keys.size() + 1, 0);
    m_values.resize(found.size());
    for (size_t f = 0; f < found.size(); ++f) {
      m_values[f] = found[f].second;
      ++m_bounds[found[f].first + 1];
    }
    for (size_t i = 0; i < keys.size(); ++i) m_bounds[i + 1] += m_bounds[i];
  }

  std::vector<std::uint32_t> m_bounds;
  std::vector<std::uint16_t> m_values;
};

// Appends to `starts` the positions at key index `i` where slots [first, last)
// stand in a row: those of slot `first` from which every later slot's word stands
// one further on.
void AppendRowStarts(const std::vector<const PositionTable*>& slots, size_t i, size_t first, size_t last,
                     std::vector<std::uint16_t>& starts) {
  const PositionTable& head = *slots[first];
  for (const std::uint16_t* p = head.Begin(i); p != head.End(i); ++p) {
    bool inRow = true;
    for (size_t s = first + 1; s < last && inRow; ++s) {
      const unsigned wanted = *p + (s - first);
      inRow = wanted <= 0xFFFF && std::binary_search(slots[s]->Begin(i), slots[s]->End(i), wanted);
    }
    if (inRow) starts.push_back(*p);
  }
}

// The tables of the distinct words `wanted` (the others stay empty) at `keys`,
// and per slot its word's table.
struct SlotPositions {
  std::vector<PositionTable> tables;
  std::vector<const PositionTable*> slots;
};

SlotPositions ReadSlots(cORVABookBase& book, const std::vector<unsigned short>& languages,
                        const std::vector<std::vector<int>>& wordKeys, const std::vector<size_t>& slots,
                        const std::vector<bool>& wanted, const KeyList& keys) {
  SlotPositions read;
  read.tables.resize(wordKeys.size());
  // The last word first: Find read its key list last, so the library may
  // hold it still.
  for (size_t d = wordKeys.size(); d-- > 0;) {
    if (wanted[d]) read.tables[d].Read(book, languages[d], wordKeys[d], keys);
  }
  for (size_t distinct : slots) read.slots.push_back(&read.tables[distinct]);
  return read;
}

}  // namespace

SearchResult Find(cORVABookBase& book, const SearchQuery& query, unsigned short language) {
  const SearchOptions& options = query.options;
  std::vector<Term> terms = Terms(query.words, language);
  const size_t wordTerms = terms.size();
  const std::vector<Term> numbers = StrongsTerms(query.strongs);
  terms.insert(terms.end(), numbers.begin(), numbers.end());
  if (terms.empty()) throw BookError("the search holds no word");
  if (!numbers.empty() && !HasStrongs(book)) {
    throw BookError("the book has no Strong's numbers");
  }
  // A term asked twice is searched once; in a phrase each word stands in its place.
  std::set<std::pair<bool, std::u16string>> seen;
  std::vector<Term> distinct;
  for (size_t t = 0; t < terms.size(); ++t) {
    if ((options.phrase && t < wordTerms) || seen.emplace(terms[t].strongs, terms[t].text).second) {
      distinct.push_back(std::move(terms[t]));
    }
  }
  terms = std::move(distinct);

  SearchResult result;
  result.m_book = &book;
  // Each distinct word once, however often it stands in the query; the slots and
  // the rows of slots that must stand together.
  std::map<std::pair<unsigned short, std::u16string>, size_t> distinctOf;
  std::vector<std::u16string> distinctWords;
  for (const Term& term : terms) {
    const size_t first = result.m_slots.size();
    const unsigned short termLanguage = term.strongs ? zalang::kStrongsLanguage : language;
    for (const std::u16string& word : term.words) {
      const auto [at, added] = distinctOf.emplace(std::make_pair(termLanguage, word), distinctWords.size());
      if (added) {
        distinctWords.push_back(word);
        result.m_languages.push_back(termLanguage);
      }
      result.m_slots.push_back(at->second);
    }
    std::string name = zalang::Utf16ToUtf8(term.text);
    if (term.strongs) name = zalang::StrongsNumber(name);
    result.m_terms.push_back(name);
    if (options.phrase && !term.strongs && first > 0) {  // the phrase goes on
      result.m_rows.front().second = result.m_slots.size();
      result.m_listNames.front() += " " + name;
      continue;
    }
    result.m_rows.emplace_back(first, result.m_slots.size());
    result.m_listNames.push_back(std::move(name));
    result.m_strongsLists.push_back(term.strongs);
  }

  // The concordance words of each distinct word.
  std::vector<std::vector<std::string>> found(distinctWords.size());
  result.m_wordKeys.resize(distinctWords.size());
  for (size_t d = 0; d < distinctWords.size(); ++d) {
    cLanguageString search = AsLanguageString(distinctWords[d], result.m_languages[d]);
    if (options.prefix && result.m_languages[d] == language) {
      cLanguageString word;
      for (int key = book.FindNearestMatchingWord(search, word); key >= 0 && BeginsWith(Chars(word), distinctWords[d]);
           key = book.GetNextWord(word)) {
        result.m_wordKeys[d].push_back(key);
        found[d].push_back(ToUtf8(word));
      }
    } else {
      const int key = book.FindExactMatchingWord(search);
      if (key >= 0) {
        result.m_wordKeys[d].push_back(key);
        found[d].push_back(zalang::Utf16ToUtf8(distinctWords[d]));
      }
    }
  }
  size_t slot = 0;
  for (const Term& term : terms) {
    result.m_words.emplace_back();
    for (size_t w = 0; w < term.words.size(); ++w, ++slot) {
      const std::vector<std::string>& words = found[result.m_slots[slot]];
      result.m_words.back().insert(result.m_words.back().end(), words.begin(), words.end());
    }
  }
  const auto missing = [](const std::vector<int>& words) { return words.empty(); };
  if (std::any_of(result.m_wordKeys.begin(), result.m_wordKeys.end(), missing)) return result;

  // The keys that hold every word, from the rarest word on.
  const auto several = [](const std::pair<size_t, size_t>& row) { return row.second - row.first > 1; };
  if (distinctWords.size() == 1 && result.m_wordKeys[0].size() == 1 &&
      std::none_of(result.m_rows.begin(), result.m_rows.end(), several)) {
    Select(book, result.m_languages[0]);
    book.GetKeysForWord(result.m_wordKeys[0][0], result.m_keys);
    result.m_rowStarts.bounds.push_back(0);
    return result;
  }
  std::vector<KeyList> keysOf;
  for (size_t d = 0; d < distinctWords.size(); ++d) {
    keysOf.push_back(KeysOfAny(book, result.m_languages[d], result.m_wordKeys[d]));
  }
  std::sort(keysOf.begin(), keysOf.end(), [](const KeyList& a, const KeyList& b) { return a.size() < b.size(); });
  KeyList common = std::move(keysOf[0]);
  for (size_t d = 1; d < keysOf.size() && !common.empty(); ++d) common = Intersect(common, keysOf[d]);
  keysOf.clear();

  // Rows of two words or more (a phrase, a compound) are checked at those keys.
  std::vector<bool> inRows(distinctWords.size(), false);
  for (const auto& [first, last] : result.m_rows) {
    for (size_t s = first; last - first > 1 && s < last; ++s) inRows[result.m_slots[s]] = true;
  }
  // Where they stand in a row is kept for the hits, which show it.
  result.m_rowStarts.bounds.push_back(0);
  if (std::find(inRows.begin(), inRows.end(), true) != inRows.end() && !common.empty()) {
    const SlotPositions read = ReadSlots(book, result.m_languages, result.m_wordKeys, result.m_slots, inRows, common);
    KeyList kept;
    std::vector<std::uint16_t> starts;
    std::vector<std::uint32_t> ends;
    for (size_t i = 0; i < common.size(); ++i) {
      starts.clear();
      ends.clear();
      bool holds = true;
      for (auto row = result.m_rows.begin(); row != result.m_rows.end() && holds; ++row) {
        if (row->second - row->first < 2) continue;
        const size_t before = starts.size();
        AppendRowStarts(read.slots, i, row->first, row->second, starts);
        holds = starts.size() > before;
        ends.push_back(static_cast<std::uint32_t>(starts.size()));
      }
      if (!holds) continue;
      kept.push_back(common[i]);
      auto& stored = result.m_rowStarts;
      const auto base = static_cast<std::uint32_t>(stored.values.size());
      stored.values.insert(stored.values.end(), starts.begin(), starts.end());
      for (std::uint32_t end : ends) stored.bounds.push_back(base + end);
    }
    common = std::move(kept);
  }
  result.m_keys.SetSize(static_cast<int>(common.size()));
  std::copy(common.begin(), common.end(), result.m_keys.GetData());
  return result;
}

SearchPage SearchResult::Hits(std::size_t first, std::size_t count) const {
  SearchPage page;
  page.m_lists = m_rows.size();
  page.m_bounds.push_back(0);
  if (first >= Count()) return page;
  const std::uint32_t* from = m_keys.GetData() + first;
  page.m_keys.assign(from, from + std::min(count, Count() - first));
  // Rows of one word are read now; rows of several were found by Find.
  std::vector<bool> alone(m_wordKeys.size(), false);
  size_t severalRows = 0;
  for (const auto& [begin, end] : m_rows) {
    if (end - begin == 1) alone[m_slots[begin]] = true;
    else ++severalRows;
  }
  SlotPositions read = ReadSlots(*m_book, m_languages, m_wordKeys, m_slots, alone, page.m_keys);
  if (m_slots.size() == 1) {  // one word: its lists are the page's
    read.tables[m_slots[0]].MoveInto(page.m_bounds, page.m_values);
    return page;
  }
  for (size_t i = 0; i < page.m_keys.size(); ++i) {
    size_t several = (first + i) * severalRows;
    for (const auto& [begin, end] : m_rows) {
      if (end - begin == 1) {
        page.m_values.insert(page.m_values.end(), read.slots[begin]->Begin(i), read.slots[begin]->End(i));
      } else {
        const std::uint16_t* values = m_rowStarts.values.data();
        page.m_values.insert(page.m_values.end(), values + m_rowStarts.bounds[several],
                             values + m_rowStarts.bounds[several + 1]);
        ++several;
      }
      page.m_bounds.push_back(static_cast<std::uint32_t>(page.m_values.size()));
    }
  }
  return page;
}

std::vector<WordEntry> ListWords(cORVABookBase& book, const std::string& prefix, unsigned short language, int limit) {
  const std::vector<Term> terms = prefix.empty() ? std::vector<Term>{} : Terms({prefix}, language);
  if (!prefix.empty() && terms.empty()) throw BookError("the search holds no word");
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
