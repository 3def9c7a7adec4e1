#include <cstdio>
#include <map>
#include <string>

#include "query/book_access.h"
#include "tools/report.h"

namespace orva::tool {

namespace {

constexpr int kNamesShown = 12;

}  // namespace

// The record count, the top-level sections, the number of sections per level, the
// non-Bible sections and whether the book has word counts.
void ReportSections(cORVABookBase& book) {
  if (!book.IsOpen(ORVA_SECTIONS)) return;
  sSectionsHeader header{};
  book.GetSectionHeader(&header);
  std::printf("  sections.idx: %d sections, %d glossary entries, records of %u bytes, %s\n", header.lSectionCount,
              header.lGlossaryCount, header.wRecordSize,
              header.dwWordCountOffset ? "word counts" : "no word counts");
  if (header.lSectionCount <= 0) return;

  // Names are 8-bit text in the code page of the book's language.
  const unsigned short language = book.IsOpen(ORVA_TEXT) ? query::BookLanguage(book) : 1033;
  const auto name = [&](const cSectionsData& s) { return query::ToUtf8(s.GetName(), language); };
  CArray<cSectionsData, cSectionsData&> top;
  book.GetSectionsArray(0, top);
  std::printf("  top level (%d):", top.GetSize());
  for (int i = 0; i < top.GetSize() && i < kNamesShown; ++i) {
    std::printf("%s %s", i ? "," : "", name(top[i]).c_str());
  }
  std::printf("%s\n", top.GetSize() > kNamesShown ? ", ..." : "");

  std::map<int, int> perLevel;
  cSectionsData section;
  for (int key = 0; key <= book.GetLastSectionKey(); ++key) {
    if (book.GetSection(key, section) == 0) ++perLevel[section.GetLevel()];
  }
  std::printf("  sections per level:");
  const char* separator = " ";
  for (const auto& [level, count] : perLevel) {
    std::printf("%slevel %d: %d", separator, level, count);
    separator = ", ";
  }
  std::printf("\n");

  CWordArray nonBible;
  book.GetNonBibleSections(nonBible);
  std::string names;
  for (int i = 0; i < nonBible.GetSize() && i < kNamesShown; ++i) {
    const int key = nonBible[i];
    names += (i ? ", " : " ") + std::to_string(key);
    if (book.GetSection(key, section) == 0) names += " " + name(section);
  }
  std::printf("  non-Bible sections (%d):%s%s\n", nonBible.GetSize(), names.c_str(),
              nonBible.GetSize() > kNamesShown ? ", ..." : "");
}

}  // namespace orva::tool
