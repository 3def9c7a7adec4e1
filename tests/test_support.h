// Helpers shared by the test suites: checking the framework's file exceptions,
// capturing message-box texts, and a fixture with a book written into a temporary
// directory.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/book_store.h"
#include "orvada.h"
#include "platform/exceptions.h"
#include "platform/msgbox.h"
#include "writer/book_dir.h"
#include "writer/version_record_writer.h"

namespace orva::test {

// What a statement raised, as far as the framework's file exception tells it.
struct CaughtFileException {
  bool thrown = false;       // a CFileException* arrived (and was deleted)
  bool otherThrown = false;  // some other CException* arrived (and was deleted)
  int cause = -1;
  LONG osError = 0;
  std::string fileName;
};

// Runs `statement`, catching the framework's exceptions and deleting them.
template <class F>
CaughtFileException CatchFileException(F&& statement) {
  CaughtFileException caught;
  try {
    statement();
  } catch (CFileException* e) {
    caught.thrown = true;
    caught.cause = e->m_cause;
    caught.osError = e->m_lOsError;
    caught.fileName = static_cast<const char*>(e->m_strFileName);
    e->Delete();
  } catch (CException* e) {
    caught.otherThrown = true;
    e->Delete();
  }
  return caught;
}

// Expects `statement` to raise CFileException* with `expected_cause`, OS error -1
// and no file name: the form of the library's own not-open and end-of-file
// exceptions.
#define EXPECT_ORVA_FILE_EXCEPTION(statement, expected_cause)                                      \
  do {                                                                                             \
    const ::orva::test::CaughtFileException caught_ =                                              \
        ::orva::test::CatchFileException([&] { statement; });                                      \
    EXPECT_TRUE(caught_.thrown && !caught_.otherThrown) << #statement " raised no CFileException"; \
    EXPECT_EQ(caught_.cause, (expected_cause)) << #statement;                                      \
    EXPECT_EQ(caught_.osError, -1) << #statement;                                                  \
    EXPECT_EQ(caught_.fileName, "") << #statement;                                                 \
  } while (0)

// One notice shown through AfxMessageBox.
struct MessageBoxCall {
  std::string text;
  UINT type;
  UINT help;
};

// Installs a message-box handler that records every notice (so that nothing is
// written to standard error) and restores the previous handler when destroyed.
class MessageBoxCapture {
 public:
  MessageBoxCapture() : m_previous(AfxSetMessageBoxHandler(&Record)) { Calls().clear(); }
  ~MessageBoxCapture() {
    AfxSetMessageBoxHandler(m_previous);
    Calls().clear();
  }
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  const std::vector<MessageBoxCall>& Shown() const { return Calls(); }
  void Clear() { Calls().clear(); }

 private:
  static std::vector<MessageBoxCall>& Calls() {
    static std::vector<MessageBoxCall> calls;
    return calls;
  }
  static int Record(const char* text, UINT type, UINT help) {
    Calls().push_back({text ? text : "", type, help});
    return IDOK;
  }

  AFX_MSGBOX_HANDLER m_previous;
};

// The store shared by book objects with the key of `book`, or null when there is none.
inline cBookStore* FindStore(const cORVABookBase& book) { return cBookStore::Find(cBookStore::KeyOf(book)); }

// The use count of the file of `bit` in the store of `book`, 0 without a store.
inline int UseCount(cORVABookBase& book, DWORD bit) {
  cBookStore* store = FindStore(book);
  return store ? store->GetRefCount(bit) : 0;
}

// A book whose every file is just its version record (the concordance also holds
// its header and the language 1033), written into a temporary directory. Every
// test must leave the store list as it found it.
class SkeletonBookTest : public ::testing::Test {
 protected:
  static writer::VersionFields DefaultVersion() {
    writer::VersionFields version;
    version.publisherID = 7;
    version.bookID = 42;
    return version;
  }

  void SetUp() override {
    m_storesBefore = cBookStore::GetStoreCount();
    writer::WriteSkeletonBook(m_dir, m_version);
  }
  void TearDown() override { EXPECT_EQ(cBookStore::GetStoreCount(), m_storesBefore) << "a store was left behind"; }

  // Points every path of `book` at the directory and sets the book's identifiers.
  void Point(cORVABookBase& book, const char* syncType = "word") const {
    writer::PointBookAt(book, m_dir.Path(), m_version, syncType);
  }
  // Replaces one file with new contents (as a new file: an open one stays intact).
  void Replace(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    m_dir.RemoveFile(name);
    m_dir.WriteFile(name, bytes);
  }
  int StoresAdded() const { return cBookStore::GetStoreCount() - m_storesBefore; }

  writer::TempBookDir m_dir;
  writer::VersionFields m_version = DefaultVersion();
  int m_storesBefore = 0;
};

}  // namespace orva::test
