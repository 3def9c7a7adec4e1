#include "writer/hostile_books.h"

#include <algorithm>
#include <set>
#include <string>

#include "orvada/lang_text.h"
#include "writer/concord_writer.h"
#include "writer/sections_writer.h"
#include "writer/sync_writer.h"

namespace orva::writer {

namespace {

constexpr int kLongest = 32767;

// The entries that the bisection of a sync look-up reads in a table of `count`
// entries when every word it reads sorts above the key: it ends at entry 0.
std::set<int> ProbedEntries(int count) {
  std::set<int> probed{0};
  for (int high = count - 1; high > 1; high /= 2) probed.insert(high / 2);
  return probed;
}

// Appends the file positions of the words that lie inside `text`, whose bytes
// start at file position `at`: a word at text[t - 2] (its two length bytes) whose
// bytes, from text[t] on, end inside `text`, for each t that `starts` accepts.
template <class Starts>
void WordsInside(const std::string& text, std::uint32_t at, Starts starts, std::vector<std::uint32_t>& out) {
  for (size_t t = 2; t < text.size(); ++t) {
    if (!starts(t)) continue;
    const size_t length = static_cast<unsigned char>(text[t - 2]) | static_cast<unsigned char>(text[t - 1]) << 8;
    if (t + length <= text.size()) out.push_back(at + static_cast<std::uint32_t>(t - 2));
  }
}

}  // namespace

std::vector<std::uint8_t> SharedNameSections(const VersionFields& version, int entries, int nameLength,
                                             bool chained) {
  SectionsDescription d;
  d.version = version;
  d.shareNames = true;
  for (int k = 0; k < entries; ++k) {
    SectionEntry e;
    e.name.assign(static_cast<size_t>(nameLength), 'n');
    e.level = chained ? static_cast<std::uint8_t>(std::min(k, 255)) : 1;
    d.sections.push_back(e);
  }
  if (chained) {
    for (int k = 1; k < entries; ++k) d.sections[k].parentOffset = RecordOffset(d, k - 1);
  }
  return EncodeSectionsIndex(d);
}

std::vector<std::uint8_t> SharedWordConcordance(const VersionFields& version, int words, int wordLength) {
  ConcordDescription d;
  d.version = version;
  ConcordLanguage& language = d.languages[0];
  for (int i = 0; i + 1 < words; ++i) {
    const std::string name = "a" + std::to_string(i);
    language.words.push_back({std::u16string(name.begin(), name.end()), {1}, {{1}}});
  }
  language.words.push_back({std::u16string(static_cast<size_t>(wordLength), u'z'), {1}, {{1}}});
  ConcordLayout layout;
  std::vector<std::uint8_t> file = EncodeConcordIndex(d, &layout);
  // The long word sorts last; every record is made to point at its entry.
  const std::uint32_t entry = layout.words[0].back().entry;
  for (const ConcordWordLayout& word : layout.words[0]) {
    for (int b = 0; b < 4; ++b) file[word.record + 8 + b] = static_cast<std::uint8_t>(entry >> (8 * b));
  }
  return file;
}

const char* WalkedSyncKey() {
  static const std::string key = [] {
    const unsigned short text[] = {'a', 0x2019, 'b', 0};
    const CString packaged = LangToPackagedString(cLanguageString(text));
    return std::string(packaged, static_cast<size_t>(packaged.GetLength()));
  }();
  return key.c_str();
}

std::vector<std::uint8_t> WalkedSyncIndex(const VersionFields& version, int entries, WalkedWords words,
                                          int sharedLength) {
  SyncDescription d;
  d.version = version;
  d.keepOrder = true;
  // The first entries write the long words (their regions), the others empty ones;
  // every entry points where it is told.
  std::vector<std::string> regions;
  std::vector<std::uint32_t> offsets;
  std::uint32_t at = SyncTableOffset(d) + static_cast<std::uint32_t>(entries) * d.entrySize;
  const std::string shared = "a'" + std::string(static_cast<size_t>(sharedLength - 2), 'z');
  auto addRegion = [&](const std::string& text) {
    regions.push_back(text);
    const std::uint32_t start = at + 2;
    at = start + static_cast<std::uint32_t>(text.size());
    return start;
  };
  const std::uint32_t sharedAt = words == WalkedWords::kOverlapping ? 0 : addRegion(shared) - 2;
  if (words == WalkedWords::kShared) offsets.assign(static_cast<size_t>(entries), sharedAt);
  while (offsets.size() < static_cast<size_t>(entries)) {
    if (words == WalkedWords::kOverlapping) {
      const std::string text(kLongest, 'a');
      WordsInside(text, addRegion(text), [](size_t) { return true; }, offsets);
    } else {
      std::string text;
      while (text.size() < static_cast<size_t>(kLongest)) text += "<Greek:<English:";
      text.resize(kLongest);
      WordsInside(text, addRegion(text), [&](size_t t) { return text[t] == '<'; }, offsets);
    }
  }
  const std::set<int> probed = ProbedEntries(entries);
  for (int i = 0; i < entries; ++i) {
    SyncWord word(i < static_cast<int>(regions.size()) ? regions[static_cast<size_t>(i)] : "",
                  static_cast<std::uint32_t>(i));
    word.wordOffset = sharedAt != 0 && probed.count(i) ? sharedAt : offsets[static_cast<size_t>(i)];
    d.words.push_back(word);
  }
  return EncodeSyncIndex(d);
}

}  // namespace orva::writer
