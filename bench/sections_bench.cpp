// Path look-ups on a sections index the size of a whole Bible (66 books, 1,189
// chapters, 31,102 verses): path -> key, and key -> formatted path with the path
// cache cold (keys in random order, so the chapter above is rarely the one cached)
// and warm (verses in order, so the chapter above is nearly always cached). Each
// sits beside a baseline over the same records in memory, measured in the same
// run: the same walks over a std::vector, and a std::unordered_map of the paths.
// Compare the ratios, not the absolute times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/bible_shape.h"
#include "orvada.h"
#include "platform/winapi.h"
#include "writer/book_dir.h"
#include "writer/sections_writer.h"

namespace {

using orva::bench::kChapters;
using orva::bench::kVerses;
constexpr size_t kBatch = 1024;

// An entry as the baselines keep it in memory.
struct Node {
  std::string name;
  int parent, next, child;
};

struct Bible {
  orva::writer::TempBookDir dir;
  cORVABookBase book;
  std::vector<Node> nodes;
  std::vector<int> verseKeys;       // in key order
  std::vector<std::string> paths;   // "Book 7\12\3" for a sample of verses
  std::vector<int> shuffledVerses;  // a sample of verse keys in random order
  std::unordered_map<std::string, int> byPath;

  Bible() {
    // Verses per chapter: spread between 5 and 48, then evened out to the total.
    const std::vector<int> verses = orva::bench::VersesPerChapter();

    orva::writer::SectionsDescription d;
    d.version.publisherID = 7;
    d.version.bookID = 42;
    auto add = [&](std::string name, std::uint8_t level, int parent) {
      orva::writer::SectionEntry e;
      e.name = name;
      e.level = level;
      d.sections.push_back(e);
      nodes.push_back({name, parent, -1, -1});
      return static_cast<int>(nodes.size()) - 1;
    };
    size_t chapter = 0;
    for (int b = 0; b < 66; ++b) {
      const int bookKey = add("Book " + std::to_string(b + 1), 1, -1);
      for (int c = 1; c <= kChapters[b]; ++c, ++chapter) {
        const int chapterKey = add(std::to_string(c), 2, bookKey);
        for (int v = 1; v <= verses[chapter]; ++v) {
          verseKeys.push_back(add(std::to_string(v), 3, chapterKey));
          byPath[nodes[bookKey].name + "\\" + std::to_string(c) + "\\" + std::to_string(v)] = verseKeys.back();
        }
      }
    }
    LinkNodes();
    dir.WriteFile("sections.idx", orva::writer::EncodeSectionsIndex(d));
    orva::writer::PointBookAt(book, dir.Path(), d.version);
    if (book.Open(ORVA_SECTIONS) != 0) std::abort();

    std::mt19937 random(11);
    for (size_t i = 0; i < kBatch; ++i) {
      const int key = verseKeys[random() % verseKeys.size()];
      shuffledVerses.push_back(key);
      paths.push_back(nodes[nodes[nodes[key].parent].parent].name + "\\" + nodes[nodes[key].parent].name + "\\" +
                      nodes[key].name);
    }
  }

  void LinkNodes() {
    std::vector<int> last(nodes.size() + 1, -1);
    for (int k = 0; k < static_cast<int>(nodes.size()); ++k) {
      const int parent = nodes[k].parent;
      int& previous = last[parent == -1 ? nodes.size() : static_cast<size_t>(parent)];
      if (previous != -1) nodes[previous].next = k;
      else if (parent != -1) nodes[parent].child = k;
      previous = k;
    }
  }
};

Bible& Data() {
  static Bible bible;
  return bible;
}

bool SameName(const std::string& a, const char* b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()), reinterpret_cast<const unsigned char*>(b)) == 0;
}

// Baseline: the same walk as GetSectionKey over the records in memory.
int FindInMemory(const std::vector<Node>& nodes, const std::string& path) {
  int search = 0, matched = -1;
  for (size_t at = 0; at < path.size();) {
    const size_t end = std::min(path.find('\\', at), path.size());
    if (end == at) {
      ++at;
      continue;
    }
    const std::string component = path.substr(at, end - at);
    at = end;
    while (search != -1 && !SameName(nodes[search].name, component.c_str())) search = nodes[search].next;
    if (search == -1) return -1;
    matched = search;
    search = nodes[search].child;
  }
  return matched;
}

// Baseline: the same walk as GetFormattedPathFromKey over the records in memory.
std::string PathInMemory(const std::vector<Node>& nodes, int key, const char* separator) {
  std::string path = nodes[key].name;
  for (int at = nodes[key].parent; at != -1; at = nodes[at].parent) path = nodes[at].name + separator + path;
  return path;
}

void BM_PathToKey_Library(benchmark::State& state) {
  Bible& b = Data();
  for (auto _ : state) {
    for (const std::string& path : b.paths) benchmark::DoNotOptimize(b.book.GetSectionKey(path.c_str()));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_PathToKey_MemoryWalk(benchmark::State& state) {
  Bible& b = Data();
  for (auto _ : state) {
    for (const std::string& path : b.paths) benchmark::DoNotOptimize(FindInMemory(b.nodes, path));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_PathToKey_HashMap(benchmark::State& state) {
  Bible& b = Data();
  for (auto _ : state) {
    for (const std::string& path : b.paths) benchmark::DoNotOptimize(b.byPath.find(path)->second);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_KeyToPath_LibraryCold(benchmark::State& state) {
  Bible& b = Data();
  for (auto _ : state) {
    for (int key : b.shuffledVerses) benchmark::DoNotOptimize(b.book.GetFormattedPathFromKey(key, " "));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_KeyToPath_LibraryWarm(benchmark::State& state) {
  Bible& b = Data();
  size_t next = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < kBatch; ++i, next = (next + 1) % b.verseKeys.size()) {
      benchmark::DoNotOptimize(b.book.GetFormattedPathFromKey(b.verseKeys[next], " "));
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_KeyToPath_LibraryUncached(benchmark::State& state) {
  Bible& b = Data();
  for (auto _ : state) {
    for (int key : b.shuffledVerses) benchmark::DoNotOptimize(b.book.GetPathFromKey(key));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_KeyToPath_MemoryWalk(benchmark::State& state) {
  Bible& b = Data();
  for (auto _ : state) {
    for (int key : b.shuffledVerses) benchmark::DoNotOptimize(PathInMemory(b.nodes, key, " "));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

BENCHMARK(BM_PathToKey_MemoryWalk);
BENCHMARK(BM_PathToKey_HashMap);
BENCHMARK(BM_PathToKey_Library);
BENCHMARK(BM_KeyToPath_MemoryWalk);
BENCHMARK(BM_KeyToPath_LibraryCold);
BENCHMARK(BM_KeyToPath_LibraryWarm);
BENCHMARK(BM_KeyToPath_LibraryUncached);

}  // namespace
