// Reading a whole book's text through the book object, in MB/s of area text:
// area by area (GetViewableAreaSize + GetViewableArea) and in 4 KiB chunks
// (GetFirstViewableAreaChunk + GetNextViewableAreaChunk), from a stored and from
// an LZSS-compressed book of 1,000 areas (about 5 MB of generated prose). The
// baselines of the same run: memcpy of the same bytes, and for the compressed
// book the plain reference decode loop over its blocks already in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/lzss_reference.h"
#include "bench/prose.h"
#include "orvada.h"
#include "writer/book_dir.h"
#include "writer/text_writer.h"

namespace {

constexpr int kAreas = 1000;

struct Book {
  orva::writer::TempBookDir dir;
  std::string stored, compressed;       // the folders of the two books
  std::vector<std::string> blocks;      // the preamble, then one block per area
  std::vector<std::vector<std::uint8_t>> streams;  // the blocks LZSS-compressed
  size_t areaBytes = 0;                 // the text of areas 1 .. kAreas, preamble included
  size_t largestArea = 0;

  Book() {
    orva::writer::TextBook text;
    text.version.publisherID = 7;
    text.version.bookID = 42;
    text.blocks.push_back("<preamble style=\"verse\"/>\n");
    const std::string prose = orva::bench::Prose(5 << 20);
    std::mt19937 random(5);
    for (size_t at = 0; text.blocks.size() <= kAreas; ) {
      const size_t size = 2048 + random() % 6144;
      text.blocks.push_back(prose.substr(at, size));
      at += size;
    }
    blocks = text.blocks;
    for (const std::string& block : blocks) streams.push_back(orva::writer::LzssCompress(block));
    for (int area = 1; area <= kAreas; ++area) {
      const size_t size = blocks[0].size() + blocks[static_cast<size_t>(area)].size();
      areaBytes += size;
      largestArea = std::max(largestArea, size);
    }
    stored = dir.SubDir("stored");
    orva::writer::WriteTextBook(stored, text);
    text.compressed = true;
    compressed = dir.SubDir("compressed");
    orva::writer::WriteTextBook(compressed, text);
  }
};

Book& TheBook() {
  static Book book;
  return book;
}

void OpenBook(cORVABookBase& book, bool compressed) {
  orva::writer::VersionFields ids;
  ids.publisherID = 7;
  ids.bookID = 42;
  orva::writer::PointBookAt(book, compressed ? TheBook().compressed : TheBook().stored, ids);
  if (book.Open(ORVA_TEXT | ORVA_VIEWABLE) != 0) {
    std::fprintf(stderr, "text_read_bench: the book does not open\n");
    std::exit(1);
  }
}

void Count(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TheBook().areaBytes));
  if (state.range(0) >= 0) state.SetLabel(state.range(0) ? "compressed" : "stored");
}

void BM_MemcpyAreas(benchmark::State& state) {
  const Book& book = TheBook();
  std::vector<char> area(book.largestArea);
  for (auto _ : state) {
    for (int a = 1; a <= kAreas; ++a) {
      const std::string& text = book.blocks[static_cast<size_t>(a)];
      std::memcpy(area.data(), book.blocks[0].data(), book.blocks[0].size());
      std::memcpy(area.data() + book.blocks[0].size(), text.data(), text.size());
      benchmark::ClobberMemory();
    }
  }
  Count(state);
}

void BM_ReferenceDecodeAreas(benchmark::State& state) {
  const Book& book = TheBook();
  std::vector<std::uint8_t> area(book.largestArea);
  for (auto _ : state) {
    for (int a = 1; a <= kAreas; ++a) {
      const auto& stream = book.streams[static_cast<size_t>(a)];
      std::memcpy(area.data(), book.blocks[0].data(), book.blocks[0].size());
      benchmark::DoNotOptimize(orva::reference::LzssDecode(stream.data(), stream.size(),
                                                           area.data() + book.blocks[0].size(),
                                                           book.blocks[static_cast<size_t>(a)].size()));
    }
  }
  Count(state);
}

void BM_ReadAreas(benchmark::State& state) {
  cORVABookBase book;
  OpenBook(book, state.range(0) != 0);
  std::vector<char> area(TheBook().largestArea);
  for (auto _ : state) {
    for (int a = 1; a <= kAreas; ++a) {
      if (book.GetViewableAreaSize(a) <= 0 || book.GetViewableArea(a, area.data()) != 0) state.SkipWithError("read");
    }
    benchmark::ClobberMemory();
  }
  Count(state);
}

void BM_ReadChunks4K(benchmark::State& state) {
  cORVABookBase book;
  OpenBook(book, state.range(0) != 0);
  std::vector<char> chunk(4096);
  size_t total = 0;
  for (auto _ : state) {
    for (int a = 1; a <= kAreas; ++a) {
      for (int n = book.GetFirstViewableAreaChunk(a, 4096, chunk.data()); n != 0;
           n = book.GetNextViewableAreaChunk(chunk.data())) {
        total += static_cast<size_t>(n);
      }
    }
    benchmark::ClobberMemory();
  }
  if (total != state.iterations() * TheBook().areaBytes) state.SkipWithError("the chunks do not add up");
  Count(state);
}

BENCHMARK(BM_MemcpyAreas)->Arg(-1);
BENCHMARK(BM_ReferenceDecodeAreas)->Arg(-1);
BENCHMARK(BM_ReadAreas)->Arg(0)->Arg(1);
BENCHMARK(BM_ReadChunks4K)->Arg(0)->Arg(1);

}  // namespace
