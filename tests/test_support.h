// Helpers shared by the test suites: exceptions, notices, hooks, and a fixture with
// a book written into a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "book/book_folder.h"
#include "book/book_store.h"
#include "orvada.h"
#include "platform/exceptions.h"
#include "platform/msgbox.h"
#include "tests/allocation_hooks.h"
#include "writer/book_dir.h"
#include "writer/version_record_writer.h"

namespace orva::test {

// What `statement` raised, deleting it: "cause/OS error/file name" for a
// CFileException*, "other" for another CException*, "none" for nothing.
template <class F>
std::string Raised(F&& statement) {
  try {
    statement();
  } catch (CFileException* e) {
    const std::string what = std::to_string(e->m_cause) + "/" + std::to_string(e->m_lOsError) + "/" +
                             static_cast<const char*>(e->m_strFileName);
    e->Delete();
    return what;
  } catch (CException* e) {
    e->Delete();
    return "other";
  }
  return "none";
}

// Raised(statement), adding a failure when the statement takes more than a second
// of processor time (five in a build without optimisation) or allocates more than
// 64 MB in all: generous bounds for the hostile files of the tests, which make a
// runaway reader cross them several times over.
template <class F>
std::string RaisedWithinBounds(F&& statement) {
#ifdef NDEBUG
  constexpr double kSeconds = 1;
#else
  constexpr double kSeconds = 5;
#endif
  ResetLargestAllocation();
  const std::clock_t start = std::clock();
  const std::string raised = Raised(statement);
  EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, kSeconds);
  EXPECT_LT(AllocatedBytes(), 64u << 20);
  return raised;
}

// The library's own not-open and end-of-file exceptions: OS error -1 and no file name.
#define EXPECT_ORVA_FILE_EXCEPTION(statement, cause) \
  EXPECT_EQ(::orva::test::Raised([&] { statement; }), std::to_string(cause) + "/-1/") << #statement

// Records the text of every notice shown through AfxMessageBox while it lives; the
// library's notices are plain OK boxes without help context.
class MessageBoxCapture {
 public:
  MessageBoxCapture() : m_previous(AfxSetMessageBoxHandler(&Record)) { Shown().clear(); }
  ~MessageBoxCapture() { AfxSetMessageBoxHandler(m_previous); }
  static std::vector<std::string>& Shown() {
    static std::vector<std::string> texts;
    return texts;
  }

 private:
  static int Record(const char* text, UINT type, UINT help) {
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(help, 0u);
    Shown().push_back(text ? text : "");
    return IDOK;
  }
  AFX_MSGBOX_HANDLER m_previous;
};

// A book object that records what its hooks receive instead of showing notices;
// PreOpenFiles answers `preResult`. The check hooks add one line each to `calls`.
class HookBook : public cORVABookBase {
 public:
  explicit HookBook(const char* publisher = "", const char* book = "") {
    SetPublisherID(publisher);
    SetBookID(book);
  }
  int PreOpenFiles(DWORD request) override {
    pre.push_back(request);
    return preResult;
  }
  void PostOpenFiles(DWORD request) override { post.push_back(request); }
  void PubIDBookIDMismatch(const char* path, WORD pub, WORD book, WORD filePub, WORD fileBook) override {
    Record("ids", path, {pub, book, filePub, fileBook});
  }
  void LeastCompatibleORVAVersionError(const char* path, BYTE major, BYTE minor, BYTE fileMajor,
                                       BYTE fileMinor) override {
    Record("version", path, {major, minor, fileMajor, fileMinor});
  }

  int preResult = 0;
  std::vector<DWORD> pre, post;
  std::vector<std::string> calls;

 private:
  void Record(const char* hook, const char* path, std::initializer_list<int> values) {
    calls.push_back(std::string(hook) + " " + path);
    for (int v : values) calls.back() += " " + std::to_string(v);
  }
};

// The elements of one of the framework's arrays.
template <class T, class Arg>
std::vector<T> Values(const CArray<T, Arg>& a) {
  return {a.GetData(), a.GetData() + a.GetSize()};
}

// A section record's fields: "name level book level-count | key parent child next
// prev", and its sync data (the 32-bit and the 16-bit word).
inline std::string FieldsOf(const cSectionsData& s) {
  std::string text = static_cast<const char*>(s.GetName());
  const int fields[] = {s.GetLevel(),     s.GetBookKey(),   s.GetLevelCount(), s.GetSectionKey(),
                        s.GetParentKey(), s.GetChildKey(),  s.GetNextKey(),    s.GetPrevKey()};
  for (size_t i = 0; i < std::size(fields); ++i) text += (i == 3 ? " | " : " ") + std::to_string(fields[i]);
  return text;
}
using Sync = std::pair<DWORD, WORD>;
inline Sync SyncOf(const cSectionsData& s) {
  SYNC_DATA sync{};
  s.GetSyncData(&sync);
  return {sync.words.dwValue, sync.words.wValue};
}

// The 18 bytes of a version record as they lie in the file.
inline std::vector<std::uint8_t> BytesOf(const sVersionRecord& r) {
  return {reinterpret_cast<const BYTE*>(&r), reinterpret_cast<const BYTE*>(&r + 1)};
}

// The store of the book objects with the key of `book` (or null), and the use count
// of the file of `bit` in it (0 without a store).
inline cBookStore* FindStore(const cORVABookBase& book) { return cBookStore::Find(cBookStore::KeyOf(book)); }
inline int UseCount(cORVABookBase& book, DWORD bit) { return FindStore(book) ? FindStore(book)->GetRefCount(bit) : 0; }

// The skeleton book (publisher 7, book 42) of writer::WriteSkeletonBook, written
// into a temporary directory: a small text, and every other file just its version
// record (the concordance also holds its header and the language 1033). Every test must leave the store list as it found it.
class SkeletonBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_version.publisherID = 7;
    m_version.bookID = 42;
    m_storesBefore = cBookStore::GetStoreCount();
    writer::WriteSkeletonBook(m_dir, m_version);
  }
  void TearDown() override { EXPECT_EQ(cBookStore::GetStoreCount(), m_storesBefore) << "a store was left behind"; }

  // Points every path of `book` at the directory and sets the book's identifiers.
  void Point(cORVABookBase& book, const char* syncType = "word") const {
    writer::PointBookAt(book, m_dir.Path(), m_version, syncType);
  }
  // Replaces one file (as a new file: an open one stays intact).
  void Replace(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    m_dir.RemoveFile(name);
    m_dir.WriteFile(name, bytes);
  }
  // A version record of this book with one field changed by `change`.
  template <class F>
  std::vector<std::uint8_t> VersionWith(F&& change) const {
    writer::VersionFields version = m_version;
    change(version);
    return writer::EncodeVersionRecord(version);
  }
  // The file `name` of a skeleton book whose version record `change` alters.
  template <class F>
  std::vector<std::uint8_t> SkeletonFileWith(const std::string& name, F&& change) const {
    writer::VersionFields version = m_version;
    change(version);
    writer::TempBookDir dir;
    writer::WriteSkeletonBook(dir, version);
    std::ifstream in(dir.FilePath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  int StoresAdded() const { return cBookStore::GetStoreCount() - m_storesBefore; }

  writer::TempBookDir m_dir;
  writer::VersionFields m_version;
  int m_storesBefore = 0;
};

// A skeleton book and a book object, m_book, in which a test opens one index.
class OneIndexTest : public SkeletonBookTest {
 protected:
  void TearDown() override {
    m_book.Close(ORVA_ALL_OPEN);
    SkeletonBookTest::TearDown();
  }
  // Replaces the file of `bit` with `bytes` and opens it alone in m_book (closing
  // what was open) under the bit's sync type; the result of Open.
  int Reopen(DWORD bit, const std::vector<std::uint8_t>& bytes) {
    m_book.Close(ORVA_ALL_OPEN);
    Replace(FileNameOfBit(bit), bytes);
    Point(m_book, SyncTypeOfBit(bit));
    return m_book.Open(bit);
  }

  cORVABookBase m_book;
};

}  // namespace orva::test
