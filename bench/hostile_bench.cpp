// Hostile files: index files of a megabyte or less that point many records at one
// long name or word, or into one long run of bytes (writer/hostile_books.h), read
// through the members they would make run away. Each sits beside a baseline
// measured in the same run: the same member on a file of the same shape whose
// names or words are 8 bytes long. Besides the time per call, the counter peak_MB
// is the most memory a call held at once (bytes from operator new, live above what
// was live before the call), and raised is 1 when the call refused the file with
// the generic file exception, as the bounds of the members make it.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "orvada.h"
#include "book/book_folder.h"
#include "writer/book_dir.h"
#include "writer/hostile_books.h"

namespace {

// The program's operator new counts the bytes live and their peak.
size_t g_live = 0;
size_t g_peak = 0;

// A book of one index file, with its own ids so that no two share a store.
std::uint16_t g_nextBookId = 100;
struct Book {
  orva::writer::TempBookDir dir;
  cORVABookBase book;

  template <class Make>
  Book(DWORD bit, Make make) {
    orva::writer::VersionFields version;
    version.publisherID = 7;
    version.bookID = g_nextBookId++;
    dir.WriteFile(orva::FileNameOfBit(bit), make(version));
    orva::writer::PointBookAt(book, dir.Path(), version, orva::SyncTypeOfBit(bit));
    if (book.Open(bit) != 0) std::abort();
  }
};

// The book of each file, made at its first use.
template <class Make>
cORVABookBase& BookOf(const std::string& name, DWORD bit, Make make) {
  static std::map<std::string, std::unique_ptr<Book>> books;
  std::unique_ptr<Book>& book = books[name];
  if (!book) book = std::make_unique<Book>(bit, make);
  return book->book;
}

// Runs `call` once per iteration and reports peak_MB and raised.
template <class Call>
void Measure(benchmark::State& state, Call call) {
  size_t peak = 0;
  bool raised = false;
  for (auto _ : state) {
    const size_t before = g_live;
    g_peak = g_live;
    try {
      call();
    } catch (CException* e) {
      e->Delete();
      raised = true;
    }
    peak = std::max(peak, g_peak - before);
  }
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["raised"] = raised ? 1 : 0;
}

constexpr int kLong = 32767;
constexpr int kShort = 8;

// sections.idx, 32,000 entries (1 MB) chained to their parents.
cORVABookBase& Chain(int nameLength) {
  return BookOf("chain" + std::to_string(nameLength), ORVA_SECTIONS, [&](const orva::writer::VersionFields& v) {
    return orva::writer::SharedNameSections(v, 32000, nameLength, true);
  });
}

// sections.idx, 8,000 top-level siblings (265 KB).
cORVABookBase& Siblings(int nameLength) {
  return BookOf("siblings" + std::to_string(nameLength), ORVA_SECTIONS, [&](const orva::writer::VersionFields& v) {
    return orva::writer::SharedNameSections(v, 8000, nameLength, false);
  });
}

// concord.idx, 2,000 word records on one word.
cORVABookBase& Concordance(int wordLength) {
  return BookOf("concord" + std::to_string(wordLength), ORVA_CONCORD, [&](const orva::writer::VersionFields& v) {
    return orva::writer::SharedWordConcordance(v, 2000, wordLength);
  });
}

// wsync.idx, 64,000 entries (673 KB for the shared word) walked to the end.
cORVABookBase& Walked(orva::writer::WalkedWords words, int sharedLength) {
  const std::string name = "sync" + std::to_string(static_cast<int>(words)) + "/" + std::to_string(sharedLength);
  return BookOf(name, ORVA_WSYNC, [&](const orva::writer::VersionFields& v) {
    return orva::writer::WalkedSyncIndex(v, 64000, words, sharedLength);
  });
}

void BM_PathFromKey_LastOfChain(benchmark::State& state) {
  cORVABookBase& book = Chain(static_cast<int>(state.range(0)));
  Measure(state, [&] { benchmark::DoNotOptimize(book.GetPathFromKey(31999)); });
}
BENCHMARK(BM_PathFromKey_LastOfChain)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

void BM_FormattedPathFromKey_LastOfChain(benchmark::State& state) {
  cORVABookBase& book = Chain(static_cast<int>(state.range(0)));
  Measure(state, [&] { benchmark::DoNotOptimize(book.GetFormattedPathFromKey(31999, "/")); });
}
BENCHMARK(BM_FormattedPathFromKey_LastOfChain)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

// The longest path the level rule lets through: 256 levels.
void BM_PathFromKey_256Levels(benchmark::State& state) {
  cORVABookBase& book = Chain(static_cast<int>(state.range(0)));
  Measure(state, [&] { benchmark::DoNotOptimize(book.GetPathFromKey(255)); });
}
BENCHMARK(BM_PathFromKey_256Levels)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

void BM_SectionsArray_Siblings(benchmark::State& state) {
  cORVABookBase& book = Siblings(static_cast<int>(state.range(0)));
  Measure(state, [&] {
    CArray<cSectionsData, cSectionsData&> sections;
    book.GetSectionsArray(0, sections);
  });
}
BENCHMARK(BM_SectionsArray_Siblings)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

void BM_SectionNamesForRange_Siblings(benchmark::State& state) {
  cORVABookBase& book = Siblings(static_cast<int>(state.range(0)));
  Measure(state, [&] {
    CStringArray names;
    book.GetSectionNamesForRange(0, 0, 8000, names);
  });
}
BENCHMARK(BM_SectionNamesForRange_Siblings)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

// A name that no sibling has: the walk compares all 8,000.
void BM_SectionKey_Siblings(benchmark::State& state) {
  cORVABookBase& book = Siblings(static_cast<int>(state.range(0)));
  Measure(state, [&] { benchmark::DoNotOptimize(book.GetSectionKey("x")); });
}
BENCHMARK(BM_SectionKey_Siblings)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

void BM_WordlistAtKey_SharedWord(benchmark::State& state) {
  cORVABookBase& book = Concordance(static_cast<int>(state.range(0)));
  Measure(state, [&] {
    CArray<cLanguageString, cLanguageString&> words;
    book.GetWordlistAtKey(0, 2000, words);
  });
}
BENCHMARK(BM_WordlistAtKey_SharedWord)->Arg(kLong)->Arg(kShort)->Unit(benchmark::kMillisecond);

// The exact and the partial look-up of "a" U+2019 "b", which walk all 64,000
// entries. Arguments: the kind of words (0 shared, 1 overlapping, 2 tag runs) and
// the length of the shared word.
void BM_SyncWalk(benchmark::State& state) {
  cORVABookBase& book =
      Walked(static_cast<orva::writer::WalkedWords>(state.range(0)), static_cast<int>(state.range(1)));
  const char* key = orva::writer::WalkedSyncKey();
  Measure(state, [&] {
    CString word;
    benchmark::DoNotOptimize(book.GetWSyncKey(key));
    benchmark::DoNotOptimize(book.GetWSyncKeyPartialMatch(key, word));
  });
}
BENCHMARK(BM_SyncWalk)
    ->Args({0, kLong})
    ->Args({1, kLong})
    ->Args({2, kLong})
    ->Args({0, kShort})
    ->Unit(benchmark::kMillisecond);

}  // namespace

// Not inlined into the library's containers, whose frees GCC would then take for
// frees of memory from another allocator.
[[gnu::noinline]] void* operator new(size_t size) {
  void* p = std::malloc(size != 0 ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  g_live += malloc_usable_size(p);
  g_peak = std::max(g_peak, g_live);
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
[[gnu::noinline]] void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  g_live -= malloc_usable_size(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
