// A reader program as the README shows it: prints a verse given by book, chapter
// and verse number, then the first sections that hold a word.
//   orvada_reader BOOKDIR B,C,V WORD      (a book built by orva build, ids 1 and 1)
#include <orvada.h>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string dir = std::string(argv[1]) + "/";  // paths are directory prefixes
  cORVABookBase book;
  book.SetPublisherID("1");  // the ids the book was built with
  book.SetBookID("1");
  book.SetSyncType("verse");
  book.SetTextPath(dir.c_str());
  book.SetViewablePath(dir.c_str());
  book.SetSectionsPath(dir.c_str());
  book.SetConcordPath(dir.c_str());
  book.SetVSyncPath(dir.c_str());
  const int rc = book.Open(ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | ORVA_VSYNC);
  if (rc != 0) {
    std::printf("%s\n", static_cast<const char*>(book.GetErrorString(rc)));
    return 1;
  }
  try {
    // The verse's section, whose sync data names its text block and its line there.
    const int key = book.GetVSyncKey(argv[2]);
    cSectionsData verse;
    if (key < 0 || book.GetSection(key, verse) != 0) return 1;
    SYNC_DATA where;
    verse.GetSyncData(&where);
    const int block = static_cast<int>(where.words.dwValue);
    std::vector<char> bytes(static_cast<size_t>(book.GetViewableBlockSize(block)));
    book.GetViewableBlock(block, bytes.data());
    const std::string text(bytes.begin(), bytes.end());
    size_t at = 0;
    for (int line = 0; line < where.words.wValue; ++line) at = text.find('\n', at) + 1;
    at = text.find(' ', at) + 1;  // after the verse number
    std::printf("%s: %s\n", static_cast<const char*>(book.GetFormattedPathFromKey(key, " ")),
                text.substr(at, text.find('\n', at) - at).c_str());

    // A word of the concordance and the first sections that hold it.
    cLanguageString word(argv[3], 1033);
    CUIntArray keys;
    if (book.GetKeysForWord(word, keys) >= 0) {
      for (int i = 0; i < keys.GetSize() && i < 3; ++i) {
        std::printf("%s: %s\n", argv[3], static_cast<const char*>(book.GetFormattedPathFromKey(keys[i], " ")));
      }
    }
  } catch (CException* e) {  // CFileException* for a damaged file
    e->Delete();
    return 1;
  }
  return 0;
}
