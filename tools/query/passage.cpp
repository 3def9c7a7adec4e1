#include "tools/query/passage.h"

#include "tools/query/book_access.h"
#include "tools/query/reference.h"

namespace orva::query {

namespace {

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

std::vector<Passage> ReadPassages(cORVABookBase& book, int first, int last, unsigned short language) {
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
