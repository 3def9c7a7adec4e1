#include "query/strongs.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "query/book_access.h"
#include "query/passage.h"
#include "query/search.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::query {

namespace {

// The order of numbers: Greek before Hebrew, then by the number.
std::pair<char, long> NumberOrder(const std::string& number) {
  return {number.empty() ? '\0' : number[0], number.size() > 1 ? std::strtol(number.c_str() + 1, nullptr, 10) : 0};
}

// What stands between two words of a run as a translation shows it: an
// apostrophe or hyphen that parts one written word ("pharisee's",
// "loving-kindness") as it is, anything else as one blank.
std::string Joint(const std::string& text, size_t from, size_t to) {
  const std::string between = text.substr(from, to - from);
  return between == "'" || between == "\xE2\x80\x99" || between == "-" ? between : " ";
}

}  // namespace

bool HasStrongs(cORVABookBase& book) {
  CArray<unsigned short, unsigned short&> languages;
  if (book.ListLanguages(languages) != 0) return false;
  for (int i = 0; i < languages.GetSize(); ++i) {
    if (languages[i] == zalang::kStrongsLanguage) return true;
  }
  return false;
}

std::map<int, std::vector<TaggedWord>> TaggedWords(cORVABookBase& book, std::vector<int> keys) {
  std::map<int, std::vector<TaggedWord>> tagged;
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  keys.erase(keys.begin(), std::lower_bound(keys.begin(), keys.end(), 0));
  if (keys.empty() || !HasStrongs(book) || book.SelectCurrentLanguage(zalang::kStrongsLanguage, nullptr) != 0) {
    return tagged;
  }
  // (key, position, number), gathered number by number.
  std::vector<std::pair<std::pair<int, std::uint16_t>, std::string>> found;
  const auto count = static_cast<int>(book.WordCount(zalang::kStrongsLanguage));
  CUIntArray list;
  CWordArray positions;
  std::vector<int> both;
  // The numbers whose records say their keys lie elsewhere are passed over.
  const auto sections = static_cast<std::uint32_t>(book.GetLastSectionKey() + 1);
  std::uint32_t wanted = 0;
  for (int key : keys) wanted |= zalang::StrongsKeyBits(static_cast<std::uint32_t>(key), sections);
  sWordListRec record;
  for (int word = 0; word < count; ++word) {
    if (book.GetWordListRecord(word, record) < 0 || (record.dwData != 0 && (record.dwData & wanted) == 0)) continue;
    if (book.GetKeysForWord(word, list) < 0) continue;
    // The asked keys the number has: the fewer looked up among the more.
    const unsigned* all = list.GetData();
    const unsigned* begin = std::lower_bound(all, all + list.GetSize(), static_cast<unsigned>(keys.front()));
    const unsigned* end = std::upper_bound(begin, all + list.GetSize(), static_cast<unsigned>(keys.back()));
    if (begin == end) continue;
    both.clear();
    if (static_cast<size_t>(end - begin) < keys.size()) {
      for (const unsigned* key = begin; key != end; ++key) {
        if (std::binary_search(keys.begin(), keys.end(), static_cast<int>(*key))) both.push_back(static_cast<int>(*key));
      }
    } else {
      for (int key : keys) {
        if (std::binary_search(begin, end, static_cast<unsigned>(key))) both.push_back(key);
      }
    }
    if (both.empty()) continue;
    cLanguageString text;
    book.GetWord(word, text);
    const std::string number = zalang::StrongsNumber(ToUtf8(text));
    for (int key : both) {
      book.GetWordPositionList(word, key, positions);
      for (int p = 0; p < positions.GetSize(); ++p) found.push_back({{key, positions[p]}, number});
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : NumberOrder(a.second) < NumberOrder(b.second);
  });
  for (auto& [place, number] : found) {
    std::vector<TaggedWord>& words = tagged[place.first];
    if (words.empty() || words.back().position != place.second) words.push_back({place.second, {}});
    if (words.back().numbers.empty() || words.back().numbers.back() != number) {
      words.back().numbers.push_back(std::move(number));
    }
  }
  return tagged;
}

std::vector<NumberedWord> NumberWords(const std::string& text, const std::vector<TaggedWord>& tagged) {
  std::vector<NumberedWord> words;
  auto next = tagged.begin();
  for (const auto& [begin, end] : TextWords(text)) {
    NumberedWord word{text.substr(begin, end - begin), begin, end, {}};
    const auto position = words.size() + 1;
    while (next != tagged.end() && next->position < position) ++next;
    if (next != tagged.end() && next->position == position) word.numbers = next->numbers;
    words.push_back(std::move(word));
  }
  return words;
}

std::vector<Translation> Translations(cORVABookBase& book, const std::string& number, unsigned short language) {
  SearchQuery query;
  query.strongs.push_back(number);
  const SearchResult result = Find(book, query, language);
  VerseTexts texts(book, language);
  std::map<std::string, int> counts;
  constexpr std::size_t kPage = 1024;
  for (std::size_t first = 0; first < result.Count(); first += kPage) {
    const SearchPage page = result.Hits(first, kPage);
    for (std::size_t hit = 0; hit < page.Size(); ++hit) {
      const std::string text = texts.Text(static_cast<int>(page.Key(hit)));
      const std::vector<std::pair<size_t, size_t>> words = TextWords(text);
      std::string run;
      unsigned previous = 0;
      for (std::uint16_t position : page.Positions(hit, 0)) {
        if (position < 1 || position > words.size()) continue;
        if (!run.empty() && position != previous + 1) {
          ++counts[run];
          run.clear();
        }
        const auto [first, last] = words[position - 1];
        if (!run.empty()) run += Joint(text, words[previous - 1].second, first);
        run += zalang::Utf16ToUtf8(zalang::FoldWord(zalang::Utf8ToUtf16(text.substr(first, last - first))));
        previous = position;
      }
      if (!run.empty()) ++counts[run];
    }
  }
  std::vector<Translation> translations;
  for (auto& [words, n] : counts) translations.push_back({words, n});
  std::stable_sort(translations.begin(), translations.end(),
                   [](const Translation& a, const Translation& b) { return a.count > b.count; });
  return translations;
}

}  // namespace orva::query
