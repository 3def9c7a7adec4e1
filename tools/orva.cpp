// orva: makes and inspects ORVA books from the command line.
//
//   orva skeleton DIR PUBLISHER BOOK   write every file of a small book into DIR
//   orva info DIR PUBLISHER BOOK       open each part of the book in DIR and report
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orvada.h"
#include "tools/report.h"
#include "writer/book_dir.h"

namespace {

constexpr DWORD kParts[] = {ORVA_TEXT,  ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                            ORVA_WSYNC, ORVA_VSYNC,    ORVA_SSYNC,    ORVA_DSYNC};

int Usage() {
  std::fprintf(stderr,
               "usage: orva skeleton DIR PUBLISHER BOOK\n"
               "       orva info DIR PUBLISHER BOOK\n");
  return 2;
}

std::string AsFolder(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

orva::writer::VersionFields Identity(const char* publisher, const char* book) {
  orva::writer::VersionFields version;
  version.publisherID = static_cast<std::uint16_t>(std::atoi(publisher));
  version.bookID = static_cast<std::uint16_t>(std::atoi(book));
  return version;
}

int Skeleton(const std::string& dir, const orva::writer::VersionFields& version) {
  orva::writer::WriteSkeletonBook(dir, version);
  std::printf("wrote a small book for publisher %u, book %u in %s\n", version.publisherID, version.bookID,
              dir.c_str());
  return 0;
}

// Opens every part of the book at once and lets each reporter tell what it holds.
// False when reading raised.
bool Report(const std::string& dir, const char* publisher, const char* bookID) {
  for (const char* syncType : {"word", "verse", "strongs", "date"}) {
    cORVABookBase book;
    orva::writer::VersionFields ids;
    orva::writer::PointBookAt(book, dir, ids, syncType);
    book.SetPublisherID(publisher);
    book.SetBookID(bookID);
    try {
      DWORD parts = 0;
      for (DWORD bit : kParts) {
        if (book.Open(bit) == 0) parts |= bit;
      }
      // The non-sync parts are reported once, with the first sync type.
      if (std::strcmp(syncType, "word") == 0) {
        orva::tool::ReportText(book);
        orva::tool::ReportSections(book);
        orva::tool::ReportConcordance(book);
      }
      if (parts & book.GetSyncTypeFlag()) orva::tool::ReportSync(book);
    } catch (CException* e) {
      const int cause = dynamic_cast<CFileException*>(e) ? static_cast<CFileException*>(e)->m_cause : 1;
      std::printf("reading failed: %s\n", static_cast<const char*>(book.GetErrorString(cause)));
      e->Delete();
      return false;
    }
  }
  return true;
}

// Opens each part on its own and reports the result, so one bad file does not hide
// the others.
int Info(const std::string& dir, const char* publisher, const char* bookID) {
  int failures = 0;
  for (DWORD bit : kParts) {
    cORVABookBase book;
    orva::writer::VersionFields ids;
    orva::writer::PointBookAt(book, dir, ids, orva::writer::SyncTypeOfBit(bit));
    book.SetPublisherID(publisher);
    book.SetBookID(bookID);
    const char* name = orva::writer::FileNameOfBit(bit);
    try {
      const int result = book.Open(bit);
      std::printf("%-13s %2d  %s", name, result, static_cast<const char*>(book.GetErrorString(result)));
      sVersionRecord record{};
      if (result == 0 && book.GetIdxVersionRecord(&record) == 0 && record.wRecordLength != 0) {
        std::printf("  (publisher %u, book %u, needs format %u.%u)", record.wPublisherID, record.wBookID,
                    record.byLCSMajor, record.byLCSMinor);
      }
      std::printf("\n");
      failures += result != 0;
    } catch (CException* e) {
      const int cause = dynamic_cast<CFileException*>(e) ? static_cast<CFileException*>(e)->m_cause : 1;
      std::printf("%-13s %2d  %s\n", name, cause, static_cast<const char*>(book.GetErrorString(cause)));
      e->Delete();
      ++failures;
    }
  }
  return Report(dir, publisher, bookID) && failures == 0 ? 0 : 1;
}

int Silent(const char*, UINT, UINT) { return IDOK; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return Usage();
  AfxSetMessageBoxHandler(Silent);
  const std::string dir = AsFolder(argv[2]);
  if (std::strcmp(argv[1], "skeleton") == 0) return Skeleton(dir, Identity(argv[3], argv[4]));
  if (std::strcmp(argv[1], "info") == 0) return Info(dir, argv[3], argv[4]);
  return Usage();
}
