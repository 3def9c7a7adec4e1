#include "query/passage.h"

#include "query/book_access.h"
#include "query/reference.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::query {

// The lines of one block at a time, the last block kept.
class BlockLines {
 public:
  explicit BlockLines(cORVABookBase& book) : m_book(book) {}

  const std::vector<std::string>& Of(DWORD area) {
    if (area == m_area) return m_lines;
    if (area > 0x7FFFFFFF) throw BookError("a section names area " + std::to_string(area) + ", which is not there");
    const int size = m_book.GetViewableBlockSize(static_cast<int>(area));
    std::string block(static_cast<size_t>(size), '\0');
    if (size > 0 && m_book.GetViewableBlock(static_cast<int>(area), block.data()) != 0) {
      throw BookError("area " + std::to_string(area) + " cannot be read");
    }
    m_lines.clear();
    size_t at = 0;
    while (at < block.size()) {
      const size_t end = block.find('\n', at);
      m_lines.push_back(block.substr(at, end == std::string::npos ? end : end - at));
      at = end == std::string::npos ? block.size() : end + 1;
    }
    m_area = area;
    return m_lines;
  }

 private:
  cORVABookBase& m_book;
  DWORD m_area = 0xFFFFFFFF;
  std::vector<std::string> m_lines;
};

namespace {

constexpr char kTitleMark = '\t';

bool IsTitle(const std::string& line) { return !line.empty() && line[0] == kTitleMark; }

// The title lines next to line `at` of `lines`: those right above it (after the
// heading, line 0), and those below it when nothing else follows them.
void AddTitles(const std::vector<std::string>& lines, size_t at, unsigned short language, Passage& passage) {
  size_t first = at;
  while (first > 1 && IsTitle(lines[first - 1])) --first;
  for (size_t i = first; i < at; ++i) passage.above.push_back(ToUtf8(lines[i].data() + 1, lines[i].size() - 1, language));
  size_t last = at + 1;
  while (last < lines.size() && IsTitle(lines[last])) ++last;
  if (last != lines.size()) return;
  for (size_t i = at + 1; i < last; ++i) passage.below.push_back(ToUtf8(lines[i].data() + 1, lines[i].size() - 1, language));
}

// The line without its leading "name " or "name<TAB>".
std::string WithoutName(const std::string& line, const std::string& name) {
  if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 &&
      (line[name.size()] == ' ' || line[name.size()] == '\t')) {
    return line.substr(name.size() + 1);
  }
  return line;
}

}  // namespace

std::vector<Passage> ReadPassages(cORVABookBase& book, int first, int last, unsigned short language,
                                  std::size_t most) {
  cSectionsData entry;
  for (int key : {first, last}) {
    if (book.GetEntry(key, entry) != 0) throw BookError("no section or entry has the key " + std::to_string(key));
  }
  std::vector<int> leaves;
  const int lastSection = book.GetLastSectionKey();
  if (last > lastSection) {
    if (first != last) throw BookError("a run of sections cannot end in a glossary entry");
    leaves.push_back(last);
  } else {
    const int lastLevel = entry.GetLevel();
    cSectionsData section;
    for (int k = first; k <= lastSection && book.GetSection(k, section) == 0; ++k) {
      if (k > last && section.GetLevel() <= lastLevel) break;
      if (section.GetChildKey() == -1) leaves.push_back(k);
      if (most > 0 && leaves.size() > most) throw TooManyPassages("more than " + std::to_string(most) + " verses");
    }
  }

  BlockLines blocks(book);
  std::vector<Passage> passages;
  for (int leaf : leaves) {
    cSectionsData section;
    book.GetEntry(leaf, section);
    SYNC_DATA sync;
    section.GetSyncData(&sync);
    const std::vector<std::string>& lines = blocks.Of(sync.words.dwValue);
    const std::string name = static_cast<const char*>(section.GetName());
    const std::string reference = ReferenceOfKey(book, leaf);
    const int parent = section.GetParentKey();
    if (sync.words.wValue == 0 && leaf <= lastSection) {
      for (size_t line = 1; line < lines.size(); ++line) {
        passages.push_back({leaf, parent, std::string(), ToUtf8(reference.data(), reference.size(), language),
                            ToUtf8(lines[line].data(), lines[line].size(), language), {}, {}});
      }
      continue;
    }
    if (sync.words.wValue >= lines.size()) {
      throw BookError(ToUtf8(reference.data(), reference.size(), language) + ": its line is missing from area " +
                      std::to_string(sync.words.dwValue));
    }
    const std::string text = WithoutName(lines[sync.words.wValue], name);
    passages.push_back({leaf, parent, ToUtf8(name.data(), name.size(), language),
                        ToUtf8(reference.data(), reference.size(), language), ToUtf8(text.data(), text.size(), language),
                        {}, {}});
    if (leaf <= lastSection) AddTitles(lines, sync.words.wValue, language, passages.back());
  }
  return passages;
}

}  // namespace orva::query

namespace orva::query {

VerseTexts::VerseTexts(cORVABookBase& book, unsigned short language)
    : m_book(book), m_language(language), m_blocks(std::make_unique<BlockLines>(book)) {}

VerseTexts::~VerseTexts() = default;

std::string VerseTexts::Text(int key) {
  cSectionsData section;
  if (m_book.GetEntry(key, section) != 0) throw BookError("no section or entry has the key " + std::to_string(key));
  SYNC_DATA sync;
  section.GetSyncData(&sync);
  const bool entry = key > m_book.GetLastSectionKey();
  if ((!entry && section.GetChildKey() != -1) || (!entry && sync.words.wValue == 0)) {
    throw BookError("the section with the key " + std::to_string(key) + " has sections below it");
  }
  const std::vector<std::string>& lines = m_blocks->Of(sync.words.dwValue);
  if (sync.words.wValue >= lines.size()) {
    throw BookError("the line of the section with the key " + std::to_string(key) + " is missing from area " +
                    std::to_string(sync.words.dwValue));
  }
  const std::string text = WithoutName(lines[sync.words.wValue], static_cast<const char*>(section.GetName()));
  return ToUtf8(text.data(), text.size(), m_language);
}

std::vector<std::string> VerseTexts::Words(int key) {
  const std::string text = Text(key);
  std::vector<std::string> words;
  for (const auto& [first, last] : TextWords(text)) words.push_back(text.substr(first, last - first));
  return words;
}

std::vector<std::pair<size_t, size_t>> TextWords(const std::string& text) {
  // The byte where each UTF-16 unit of the text begins, and the end.
  const std::u16string wide = zalang::Utf8ToUtf16(text);
  std::vector<size_t> byteOf;
  byteOf.reserve(wide.size() + 1);
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    byteOf.push_back(at);
    if (length == 4) byteOf.push_back(at);  // a surrogate pair
    at += length;
  }
  byteOf.resize(wide.size(), text.size());
  byteOf.push_back(text.size());
  std::vector<std::pair<size_t, size_t>> words;
  for (const zalang::WordSpan& span : zalang::SplitWords(wide)) words.emplace_back(byteOf[span.begin], byteOf[span.end]);
  return words;
}

}  // namespace orva::query
