#include <algorithm>
#include <cstdio>
#include <cstring>

#include "files/file_checks.h"
#include "tools/report.h"

namespace orva::tool {

namespace {

// The name the language library gives a language, "?" when it does not know it.
CString LanguageName(unsigned short lang) {
  const cLanguageDatum* datum = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(lang);
  return datum ? CString(cLanguageString(datum->GetName(), 1033)) : CString("?");
}

// The header of the book's verses index, read through a file object of its own:
// the book object has no member for it.
sVersesHeader VersesHeader(cORVABookBase& book) {
  cFileBase file;
  sVersesHeader header{};
  if (file.Open(book.GetVersesPath() + "verses.idx", book) != 0) return header;
  orva::ReadHeaderRecord(file, file.VersionRecord()->wRecordLength, header);
  file.Close();
  return header;
}

}  // namespace

// Each language of the concordance with its word count, and the book count of the
// verses index.
void ReportConcordance(cORVABookBase& book) {
  if (book.IsOpen(ORVA_CONCORD)) {
    CArray<unsigned short, unsigned short&> languages;
    book.ListLanguages(languages);
    std::printf("  concord.idx: %d language%s\n", languages.GetSize(), languages.GetSize() == 1 ? "" : "s");
    for (int i = 0; i < languages.GetSize(); ++i) {
      const unsigned short lang = languages[i];
      std::printf("    %u %s: %u words\n", lang, static_cast<const char*>(LanguageName(lang)), book.WordCount(lang));
    }
  }
  if (book.IsOpen(ORVA_VERSES)) {
    const sVersesHeader header = VersesHeader(book);
    std::printf("  verses.idx: %u books, %s occurrence lists\n", header.wBookCount,
                header.byCoded ? "coded" : "plain");
  }
}

}  // namespace orva::tool
