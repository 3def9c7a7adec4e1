// Running out of memory inside the library: each allocation of an operation is
// made to fail in turn, and every failure must reach the host as the framework's
// memory exception (or as the operation's own failure value), never as
// std::bad_alloc, and must leave nothing behind.
#include <string>

#include "tests/allocation_hooks.h"
#include "tests/test_support.h"
#include "writer/sync_writer.h"

namespace {

using AllocationFailureTest = orva::test::SkeletonBookTest;

// Runs `operation` once per allocation it makes, with that allocation failing, and
// then `cleanup`. Returns how many allocations the operation makes.
template <class Operation, class Cleanup>
int FailEachAllocation(Operation operation, Cleanup cleanup) {
  for (long n = 1;; ++n) {
    orva::test::ArmAllocationFailure(n);
    try {
      operation();
    } catch (CMemoryException* e) {
      e->Delete();
    } catch (const std::bad_alloc&) {
      orva::test::DisarmAllocationFailure();
      ADD_FAILURE() << "std::bad_alloc escaped at allocation " << n;
    }
    const bool reached = orva::test::DisarmAllocationFailure();
    cleanup();
    if (!reached) return static_cast<int>(n - 1);
  }
}

TEST_F(AllocationFailureTest, OpeningAndClosingABook) {
  cORVABookBase book;
  Point(book);
  const DWORD everything = ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | ORVA_VERSES | ORVA_WSYNC |
                           ORVA_MEDIA;
  const int allocations = FailEachAllocation(
      [&] {
        const int result = book.Open(everything);
        EXPECT_TRUE(result == 0 || book.IsClosed()) << result;
      },
      [&] {
        book.Close(ORVA_ALL_OPEN);
        EXPECT_EQ(StoresAdded(), 0);
      });
  EXPECT_GT(allocations, 5);
}

TEST_F(AllocationFailureTest, MediaAvailabilityAnswersNo) {
  cORVABookBase book;
  Point(book);
  const std::string name(100, 'm');  // beyond any small-string buffer
  const CString expected = (m_dir.Path() + name).c_str(), unchanged = "unchanged";
  int answeredYes = 0;
  // Only the library allocates inside the operation.
  const int allocations = FailEachAllocation(
      [&] {
        CString path = unchanged;
        const BOOL available = book.IsMediaAvailable(name.c_str(), path);
        answeredYes += available;
        EXPECT_TRUE(path == (available ? expected : unchanged));
      },
      [&] { book.Close(ORVA_ALL_OPEN); });
  EXPECT_GT(allocations, 2);
  EXPECT_EQ(answeredYes, 1) << "only the run without a failure finds the media";
}

TEST_F(AllocationFailureTest, StringsArraysAndCopies) {
  CStringArray strings;
  strings.Add(CString(std::string(300, 's').c_str()));
  strings.Add(CString(std::string(40, 't').c_str()));
  cORVABookBase source;
  Point(source);
  const int allocations = FailEachAllocation(
      [&] {
        char* buffer = nullptr;
        const int length = source.StoreCStringArray(&buffer, strings);
        struct Owner {
          char* p;
          ~Owner() { ::operator delete(p); }
        } owner{buffer};
        CStringArray loaded;
        source.LoadCStringArray(buffer, loaded);
        EXPECT_EQ(length, 8 + 3 + 300 + 1 + 40);
        cORVABookBase copy(source);
        CString message = copy.GetErrorString(15) + copy.GetSectionsPath();
        EXPECT_EQ(loaded[0], strings[0]);
      },
      [] {});
  EXPECT_GT(allocations, 8);
}

TEST_F(AllocationFailureTest, SyncLookUps) {
  orva::writer::SyncDescription d;
  d.version = m_version;
  d.words = {{"<Hebrew:\xE1\xC0\xCC<English:'", 1}, {std::string(300, 'w'), 2}};
  Replace("wsync.idx", orva::writer::EncodeSyncIndex(d));
  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_WSYNC), 0);
  const std::string key = "<Hebrew:\xE1\xCC\xC0<English:\xAD\xAC\x27\x92", prefix(300, 'v');
  int found = 0;
  const int allocations = FailEachAllocation(
      [&] {
        CString word;
        found += book.GetWSyncKey(key.c_str()) == 1;
        found += book.GetWSyncKeyPartialMatch(prefix.c_str(), word) == 2;
        found += book.GetSyncWordAt(1, word);
      },
      [] {});
  EXPECT_GT(allocations, 10);
  EXPECT_GE(found, 3) << "the run without a failure finds every word";
}

}  // namespace
