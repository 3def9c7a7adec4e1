#include <cstdio>
#include <string>
#include <vector>

#include "book/book_store.h"
#include "tools/report.h"
#include "writer/text_writer.h"

namespace orva::tool {

namespace {

// The first line of block `block`, cut to `width` bytes.
std::string FirstLine(cORVABookBase& book, int block, size_t width) {
  const int size = book.GetViewableBlockSize(block);
  if (size <= 0) return std::string();
  std::vector<char> text(static_cast<size_t>(size));
  if (book.GetViewableBlock(block, text.data()) != 0) return std::string();
  std::string line(text.begin(), text.end());
  line = line.substr(0, line.find('\n'));
  return line.size() > width ? line.substr(0, width) + "..." : line;
}

}  // namespace

void ReportText(cORVABookBase& book) {
  if (book.IsOpen(ORVA_TEXT)) {
    for (const std::string& word : writer::StandardControlWords()) {
      const CString data = book.GetHeaderControlWordData(word.c_str());
      if (!data.IsEmpty()) std::printf("  %s: %s\n", word.c_str(), static_cast<const char*>(data));
    }
  }
  if (!book.IsOpen(ORVA_VIEWABLE)) return;
  // The interface has no member for the descriptor counts (a host knows its areas
  // from its sections), so they are read from the store's viewable index.
  const sViewableHeader& header = cBookStore::Find(cBookStore::KeyOf(book))->m_ViewableFile.Header();
  std::printf("  text: %u areas (the preamble first) and %u further block%s, %s\n", header.dwAreaCount,
              header.dwBlockCount, header.dwBlockCount == 1 ? "" : "s",
              header.byCompression == 0 ? "stored" : header.byCompression == 1 ? "LZSS" : "unknown compression");
  if (!book.IsOpen(ORVA_TEXT) || header.dwAreaCount == 0) return;
  long long total = 0;
  for (DWORD area = 1; area < header.dwAreaCount && area <= 0x7FFFFFFF; ++area) {
    total += book.GetViewableAreaSize(static_cast<int>(area));
  }
  std::printf("  preamble %d bytes; areas 1 to %u hold %lld bytes with it\n", book.GetViewableBlockSize(0),
              header.dwAreaCount - 1, total);
  if (header.dwAreaCount > 1) std::printf("  area 1 begins: %s\n", FirstLine(book, 1, 60).c_str());
}

}  // namespace orva::tool
