// What the parts of the book check share: the fault list with its per-kind limit,
// a file's raw bytes with bounded reads, coded lists decoded from those bytes,
// and the facts one file's check leaves for the checks of the files after it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "orvada.h"
#include "query/book_access.h"
#include "query/check.h"

namespace orva::query::check {

// Collects faults into a BookCheck, listing the first kListedPerKind of each
// kind of each file and counting the rest.
class FaultList {
 public:
  explicit FaultList(BookCheck& out) : m_out(out) {}
  // Counts a fault of `kind` in `file`; when it is to be listed, `describe`
  // fills in its place and message (so that faults past the limit cost nothing
  // to describe).
  template <class Describe>
  void Add(const std::string& file, const char* kind, Describe describe) {
    ++m_out.faultCount;
    if (++m_seen[{file, kind}] > BookCheck::kListedPerKind) return;
    BookFault fault;
    fault.file = file;
    fault.kind = kind;
    describe(fault);
    m_out.faults.push_back(std::move(fault));
  }
  void Add(const std::string& file, const char* kind, std::string place, std::string message) {
    Add(file, kind, [&](BookFault& f) {
      f.place = std::move(place);
      f.message = std::move(message);
    });
  }
  // Fills in the unlisted counts; call once, after the last Add.
  void Finish();

 private:
  BookCheck& m_out;
  std::map<std::pair<std::string, std::string>, long long> m_seen;  // (file, kind): count
};

// The bytes of one book file, read whole, with reads that the caller bounds
// with Has first.
class FileBytes {
 public:
  // Reads the file at `path`; Loaded() is false when it cannot be read.
  explicit FileBytes(const std::string& path);
  bool Loaded() const { return m_loaded; }
  std::uint64_t Size() const { return m_bytes.size(); }
  // True when `count` bytes lie at `position`.
  bool Has(std::uint64_t position, std::uint64_t count) const {
    return position <= Size() && Size() - position >= count;
  }
  std::uint8_t U8(std::uint64_t position) const { return m_bytes[position]; }
  std::uint16_t U16(std::uint64_t position) const;
  std::uint32_t U32(std::uint64_t position) const;
  std::int16_t I16(std::uint64_t position) const { return static_cast<std::int16_t>(U16(position)); }
  const unsigned char* At(std::uint64_t position) const { return m_bytes.data() + position; }
  // The first min(length, sizeof record) bytes at `position` over a zeroed
  // `record`, as the library holds a record that may be shorter than its
  // structure; false (and `record` zeroed) when those bytes are not all there.
  template <class Record>
  bool ReadRecord(std::uint64_t position, std::uint64_t length, Record& record) const {
    record = Record{};
    const std::uint64_t count = length < sizeof record ? length : sizeof record;
    if (!Has(position, count)) return false;
    CopyOut(position, count, &record);
    return true;
  }
  // The version record's length V: where the header record of an index file
  // begins; 0 when the file is shorter than two bytes.
  std::uint16_t VersionLength() const { return Has(0, 2) ? U16(0) : 0; }

 private:
  void CopyOut(std::uint64_t position, std::uint64_t count, void* to) const;
  std::vector<unsigned char> m_bytes;
  bool m_loaded = false;
};

// Reads ascending lists from a file's bytes: coded lists (Golomb codes of the
// gaps) and plain ones, into 64-bit entries so that no sum wraps: an entry of
// 2^32 or more is a fault for the caller to find. Every value read counts
// against a budget of eight per byte of the file, the most that lists which do
// not overlap can hold, so that records pointing again and again at one long
// list cannot make the check run long.
class ListReader {
 public:
  explicit ListReader(const FileBytes& file) : m_file(file), m_budget(8 * file.Size() + 64) {}
  enum Result { kRead, kPastEnd, kOverBudget };
  // `values` entries of a coded list at `position` whose parameter comes from
  // `range` and `count`; `start` null for a list that starts its own sequence,
  // else the entry before the first.
  Result Coded(std::uint64_t position, std::uint32_t count, std::uint32_t values, std::uint32_t range,
               const std::uint64_t* start, std::vector<std::uint64_t>& out);
  // `count` plain values of `width` bytes (1, 2 or 4) at `position`, appended.
  Result Plain(std::uint64_t position, std::uint64_t count, int width, std::vector<std::uint64_t>& out);
  bool OverBudget() const { return m_over; }

 private:
  bool Spend(std::uint64_t values);
  const FileBytes& m_file;
  std::uint64_t m_budget;
  bool m_over = false;
};

// The message for a list that ListReader could not read.
const char* ListFailure(ListReader::Result result);

// The index of the first entry of `list` that does not ascend strictly, or -1.
long long FirstNotAscending(const std::vector<std::uint64_t>& list);

// What the check of one file leaves for the files checked after it.
struct SectionFacts {
  bool known = false;                   // sections.idx was checked
  long long sections = 0, entries = 0;  // S and S + G
  std::vector<int> wordCounts;          // per section key, -1 without a word-count table
  std::vector<std::uint8_t> hasChild;   // per section key: a section on a deeper level follows it
  bool IsSection(std::uint64_t key) const { return key < static_cast<std::uint64_t>(sections); }
  bool IsEntry(std::uint64_t key) const { return key < static_cast<std::uint64_t>(entries); }
};

struct VerseFacts {
  bool known = false;                 // verses.idx was checked
  // verses.idx of a book that is no Bible (its sync type is not verse): its lists
  // name the entries that refer to each verse (writer/book_builder.h), which may
  // be glossary entries, and say nothing of what the concordance lists.
  bool reverse = false;
  std::vector<std::uint8_t> isVerse;  // per section key: listed by a verse of verses.idx
  long long verses = 0;               // the verse records of verses.idx
};

struct Checker {
  Checker(cORVABookBase& book, BookCheck& out);
  cORVABookBase& book;
  FaultList faults;
  BookCheck& out;
  SectionFacts sections;
  VerseFacts verses;
  unsigned short language = 1033;  // of the book's text, for names in messages

  // The path of the file of `bit`, from the book's path members.
  std::string PathOf(DWORD bit) const;
  // "key 4 (Genesis\1\3)", or "key 4" when the key names no entry or its path
  // cannot be read.
  std::string KeyPlace(std::uint64_t key);
  // 8-bit text of the book as UTF-8.
  std::string Text(const std::string& narrow) const;
};

// The checks of each file, in the order they run: later ones use the facts of
// earlier ones.
void CheckVersionRecords(Checker& c);
void CheckText(Checker& c);
void CheckSections(Checker& c);
void CheckVerses(Checker& c);
void CheckConcordance(Checker& c);
void CheckSyncIndex(Checker& c);
void CheckVerseSync(Checker& c);

// Runs `check`; a library exception it lets through becomes a fault of `file`.
template <class F>
void Guarded(Checker& c, const char* file, F check) {
  try {
    check();
  } catch (CException* e) {
    c.faults.Add(file, "read", "", "reading failed: " + DescribeAndDelete(e));
  }
}

}  // namespace orva::query::check
