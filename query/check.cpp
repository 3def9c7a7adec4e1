// The book check's driver: the files of a folder opened one by one, their version
// records compared, and the check of each file in turn.
#include "query/check.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "query/book_access.h"
#include "query/check_internal.h"
#include "book/book_folder.h"

namespace orva::query {

namespace {

using check::Checker;

constexpr DWORD kFileBits[] = {ORVA_TEXT,  ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                               ORVA_WSYNC, ORVA_VSYNC,    ORVA_SSYNC,    ORVA_DSYNC};

// A version record as read from the head of a file.
struct VersionHead {
  bool whole = false;  // the file holds the record's length field and the L bytes it counts
  sVersionRecord record{};
};

VersionHead ReadVersionHead(const std::string& path) {
  VersionHead head;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return head;
  unsigned char bytes[sizeof(sVersionRecord)] = {};
  const size_t got = std::fread(bytes, 1, sizeof bytes, file.get());
  if (got < 2) return head;
  const unsigned length = bytes[0] | (bytes[1] << 8);
  const size_t kept = length < sizeof bytes ? length : sizeof bytes;
  if (got < kept) return head;
  std::memcpy(&head.record, bytes, kept);
  head.whole = true;
  return head;
}

std::string Describe(const sVersionRecord& r) {
  return "publisher " + std::to_string(r.wPublisherID) + ", book " + std::to_string(r.wBookID) + ", format " +
         std::to_string(r.byLCSMajor) + "." + std::to_string(r.byLCSMinor);
}

bool SameIdentity(const sVersionRecord& a, const sVersionRecord& b) {
  return a.wPublisherID == b.wPublisherID && a.wBookID == b.wBookID && a.byLCSMajor == b.byLCSMajor &&
         a.byLCSMinor == b.byLCSMinor;
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

struct PresentFile {
  DWORD bit;
  const char* name;
  VersionHead head;
};

// The book files in `folder`, in the order of their bits, with their version records.
std::vector<PresentFile> PresentFiles(const std::string& folder) {
  std::vector<PresentFile> files;
  for (DWORD bit : kFileBits) {
    const char* name = FileNameOfBit(bit);
    if (IsFile(folder + name)) files.push_back({bit, name, ReadVersionHead(folder + name)});
  }
  return files;
}

// The publisher and book that most of the files name (the first of equal counts).
sVersionRecord Identity(const std::vector<PresentFile>& files) {
  auto same = [](const sVersionRecord& a, const sVersionRecord& b) {
    return a.wPublisherID == b.wPublisherID && a.wBookID == b.wBookID;
  };
  sVersionRecord best{};
  int bestCount = 0;
  for (const PresentFile& file : files) {
    int count = 0;
    for (const PresentFile& other : files) count += other.head.whole && same(other.head.record, file.head.record);
    if (file.head.whole && count > bestCount) {
      best = file.head.record;
      bestCount = count;
    }
  }
  return best;
}

// False, after a fault, for a file whose version record cannot be read, names
// another book than `identity` or needs a newer format: it is not opened.
bool Openable(Checker& c, const PresentFile& file, const sVersionRecord& identity) {
  const sVersionRecord& record = file.head.record;
  if (!file.head.whole) {
    c.faults.Add(file.name, "version record", "", "the file is shorter than its version record");
  } else if (record.wPublisherID != identity.wPublisherID || record.wBookID != identity.wBookID) {
    c.faults.Add(file.name, "version record", "",
                 Describe(record) + ": another book than the other files' (publisher " +
                     std::to_string(identity.wPublisherID) + ", book " + std::to_string(identity.wBookID) + ")");
  } else if (record.byLCSMajor * 256 + record.byLCSMinor > GetCurrentORVAVersionInfo()) {
    c.faults.Add(file.name, "version record", "", Describe(record) + ": newer than this library reads (2.0)");
  } else {
    return true;
  }
  return false;
}

// Opens one part on its own, so that one that fails does not keep the others
// closed. Open leaves out the sync files of other sync types.
void OpenPart(Checker& c, const PresentFile& file) {
  try {
    const int code = c.book.Open(file.bit);
    if (code != 0) {
      const CString message = c.book.GetErrorString(code);
      c.faults.Add(file.name, "open", "", std::string("cannot be opened: ") + static_cast<const char*>(message));
    }
  } catch (CException* e) {
    c.faults.Add(file.name, "open", "", "cannot be opened: " + DescribeAndDelete(e));
  }
}

void RunChecks(Checker& c) {
  try {
    if (c.book.IsOpen(ORVA_TEXT)) c.language = BookLanguage(c.book);
  } catch (CException* e) {
    e->Delete();  // the text check reports a damaged header text
  }
  check::CheckVersionRecords(c);
  check::Guarded(c, "book.dat", [&] { check::CheckText(c); });
  check::Guarded(c, "sections.idx", [&] { check::CheckSections(c); });
  check::Guarded(c, "verses.idx", [&] { check::CheckVerses(c); });
  check::Guarded(c, "concord.idx", [&] { check::CheckConcordance(c); });
  if (const char* sync = FileNameOfBit(c.book.GetSyncTypeFlag())) {
    check::Guarded(c, sync, [&] {
      check::CheckSyncIndex(c);
      check::CheckVerseSync(c);
    });
  }
  c.faults.Finish();
}

}  // namespace

namespace check {

void CheckVersionRecords(Checker& c) {
  const char* firstName = nullptr;
  sVersionRecord first{};
  for (DWORD bit : kFileBits) {
    // Not IsOpen: it counts sync bits of other sync types as open.
    if (!(c.book.OpenFlags() & bit)) continue;
    const VersionHead head = ReadVersionHead(c.PathOf(bit));
    const char* name = FileNameOfBit(bit);
    if (!head.whole) {
      c.faults.Add(name, "version record", "", "the file is shorter than its version record");
    } else if (!firstName) {
      firstName = name;
      first = head.record;
    } else if (!SameIdentity(head.record, first)) {
      c.faults.Add(name, "version record", "",
                   Describe(head.record) + ", where " + firstName + " has " + Describe(first));
    } else if (std::memcmp(&head.record, &first, sizeof first) != 0) {
      // The files of a book are written with one version record.
      c.faults.Add(
          name, "version record", "",
          std::string("its version record differs from ") + firstName + "'s in the bytes the library carries unread");
    }
  }
}

}  // namespace check

BookCheck CheckBook(cORVABookBase& book) {
  BookCheck result;
  Checker c(book, result);
  RunChecks(c);
  return result;
}

BookCheck CheckBookFolder(const std::string& dir) {
  struct stat info {};
  if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) throw BookError(dir + ": no such book folder");
  const std::string folder = dir.empty() || dir.back() != '/' ? dir + "/" : dir;
  const std::vector<PresentFile> files = PresentFiles(folder);
  if (files.empty()) throw BookError(dir + ": no book files in this folder");

  BookCheck result;
  cORVABookBase book;
  Checker c(book, result);
  const sVersionRecord identity = Identity(files);
  DWORD present = 0;
  const char* syncType = "";
  for (const PresentFile& file : files) {
    present |= file.bit;
    if (!*syncType && (file.bit & (ORVA_VSYNC | ORVA_WSYNC | ORVA_SSYNC | ORVA_DSYNC))) {
      syncType = SyncTypeOfBit(file.bit);
    }
  }
  if (((present & ORVA_TEXT) != 0) != ((present & ORVA_VIEWABLE) != 0)) {
    c.faults.Add(present & ORVA_TEXT ? "book.dat" : "viewable.idx", "missing file", "",
                 std::string("the book has no ") + (present & ORVA_TEXT ? "viewable.idx" : "book.dat") +
                     ": the text needs both");
  }
  orva::PointBookAt(book, folder, identity.wPublisherID, identity.wBookID, syncType);
  for (const PresentFile& file : files) {
    if (Openable(c, file, identity)) OpenPart(c, file);
  }
  RunChecks(c);
  return result;
}

}  // namespace orva::query
