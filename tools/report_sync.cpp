#include <cstdio>
#include <string>

#include "tools/report.h"

namespace orva::tool {

namespace {

const char* FileOf(DWORD flag) {
  switch (flag) {
    case ORVA_WSYNC: return "wsync.idx";
    case ORVA_SSYNC: return "ssync.idx";
    case ORVA_DSYNC: return "dsync.idx";
    default: return "vsync.idx";
  }
}

// The number of words of the book's word, Strong's or date index: the header's
// count for the word index (the only one the book object hands out), else the
// words readable from index 0 on.
DWORD CountWords(cORVABookBase& book) {
  if (book.GetSyncTypeFlag() == ORVA_WSYNC) return book.GetWSyncWordCount();
  CString word;
  DWORD count = 0;
  while (book.GetSyncWordAt(static_cast<int>(count), word)) ++count;
  return count;
}

}  // namespace

// The sync index of the book's sync type: its file, its type and, for a word,
// Strong's or date index, its word count with the first and last word and its size;
// for the verse index, where Genesis 1:1 (1,1,1) leads.
void ReportSync(cORVABookBase& book) {
  const DWORD flag = book.GetSyncTypeFlag();
  if (flag == 0 || !book.IsOpen(flag)) return;
  const CString type = book.GetSyncType();
  if (flag == ORVA_VSYNC) {
    const int key = book.GetVSyncKey("1,1,1");
    std::printf("  %s: sync type %s, verse 1,1,1 has section key %d\n", FileOf(flag), static_cast<const char*>(type),
                key);
    return;
  }
  const DWORD count = CountWords(book);
  std::string ends;
  CString first, last;
  if (count > 0 && book.GetSyncWordAt(0, first) && book.GetSyncWordAt(static_cast<int>(count - 1), last)) {
    ends = std::string(" (first \"") + static_cast<const char*>(first) + "\", last \"" +
           static_cast<const char*>(last) + "\")";
  }
  std::printf("  %s: sync type %s, %u words, %d bytes%s\n", FileOf(flag), static_cast<const char*>(type), count,
              book.GetSyncFileSize(), ends.c_str());
}

}  // namespace orva::tool
