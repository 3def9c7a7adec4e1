// orva info: what each file of a book holds, opened as a host would.
#include <cstdio>

#include "book/book_folder.h"
#include "tools/commands.h"
#include "tools/json.h"
#include "query/book_access.h"
#include "query/library.h"
#include "tools/report.h"
#include "writer/text_writer.h"

namespace orva::tool {

namespace {

constexpr DWORD kParts[] = {ORVA_TEXT,  ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                            ORVA_WSYNC, ORVA_VSYNC,    ORVA_SSYNC,    ORVA_DSYNC};

struct PartResult {
  const char* name;
  int code;  // an Open result, or the cause of the exception it raised
  std::string message;
  sVersionRecord record{};
};

// Opens one part on its own, so that one bad file does not hide the others.
PartResult OpenOne(const std::string& dir, DWORD bit) {
  cORVABookBase book;
  query::PointBookAt(book, dir);
  book.SetSyncType(orva::SyncTypeOfBit(bit));
  PartResult result{orva::FileNameOfBit(bit), 0, std::string()};
  try {
    result.code = book.Open(bit);
    result.message = static_cast<const char*>(book.GetErrorString(result.code));
    if (result.code == 0) book.GetIdxVersionRecord(&result.record);
    if (result.code == 0 && bit == ORVA_TEXT) book.GetBookHeaderData(result.record);
  } catch (CException* e) {
    const auto* file = dynamic_cast<CFileException*>(e);
    result.code = file ? file->m_cause : 1;
    result.message = query::DescribeAndDelete(e);
  }
  return result;
}

// 0 when every part opened; else raises BookError naming those that did not.
int Failed(const std::string& dir, const std::vector<PartResult>& parts) {
  std::string failed;
  for (const PartResult& part : parts) {
    if (part.code != 0) failed += (failed.empty() ? "" : "; ") + std::string(part.name) + ": " + part.message;
  }
  if (!failed.empty()) throw query::BookError(dir + ": " + failed);
  return 0;
}

}  // namespace

int RunInfo(const std::string& dir, bool json) {
  if (query::Library::IsLibrary(dir)) return RunLibraryInfo(dir, json);
  const query::BookIdentity identity = query::ReadBookIdentity(dir);
  std::vector<PartResult> parts;
  for (DWORD bit : kParts) {
    PartResult part = OpenOne(dir, bit);
    if (part.code == ORVA_ERR_FILE_NOT_FOUND) continue;  // not every book has every part
    parts.push_back(std::move(part));
  }

  cORVABookBase book;
  query::PointBookAt(book, dir);
  for (DWORD bit : kParts) {
    try {
      book.Open(bit);
    } catch (CException* e) {
      e->Delete();
    }
  }
  if (json) {
    JsonWriter out;
    out.BeginObject().Member("publisher", identity.publisherID).Member("book", identity.bookID);
    out.Member("syncType", identity.syncType).Key("files").BeginArray();
    for (const PartResult& part : parts) {
      out.BeginObject().Member("name", part.name).Member("result", part.code).Member("message", part.message);
      out.EndObject();
    }
    out.EndArray();
    if (book.IsOpen(ORVA_TEXT)) {
      out.Key("controlWords").BeginObject();
      const unsigned short language = query::BookLanguage(book);
      for (const std::string& word : writer::StandardControlWords()) {
        const CString data = book.GetHeaderControlWordData(word.c_str());
        if (!data.IsEmpty()) out.Member(word, query::ToUtf8(data, language));
      }
      out.EndObject();
    }
    if (book.IsOpen(ORVA_SECTIONS)) {
      sSectionsHeader header{};
      book.GetSectionHeader(&header);
      out.Member("sections", static_cast<long long>(header.lSectionCount));
      out.Member("glossaryEntries", static_cast<long long>(header.lGlossaryCount));
    }
    std::fputs(out.EndObject().Text().c_str(), stdout);
    return Failed(dir, parts);
  }

  std::printf("book in %s: publisher %u, book %u, sync type %s\n", dir.c_str(), identity.publisherID,
              identity.bookID, identity.syncType.empty() ? "none" : identity.syncType.c_str());
  for (const PartResult& part : parts) {
    std::printf("%-13s %2d  %s", part.name, part.code, part.message.c_str());
    if (part.code == 0 && part.record.wRecordLength != 0) {
      std::printf("  (needs format %u.%u)", part.record.byLCSMajor, part.record.byLCSMinor);
    }
    std::printf("\n");
  }
  ReportText(book);
  ReportSections(book);
  ReportConcordance(book);
  ReportSync(book);
  return Failed(dir, parts);
}

}  // namespace orva::tool
