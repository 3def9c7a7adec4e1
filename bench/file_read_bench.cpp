// How fast the library reads small pieces of a file: one byte at a time (as coded
// lists are read) and small records at scattered positions (as indexes are read),
// through a mapped file and through a buffered one. The baseline of each pair is
// the same loop over the bytes already in memory, measured in the same run:
// compare the ratio, not the absolute time.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "orvada.h"
#include "writer/book_dir.h"

namespace {

constexpr size_t kFileSize = 1 << 20;
constexpr UINT kRecordSize = 18;

struct Fixture {
  orva::writer::TempBookDir dir;
  std::vector<std::uint8_t> bytes;
  std::vector<LONG> positions;

  Fixture() : bytes(kFileSize) {
    std::mt19937 random(7);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    dir.WriteFile("data.bin", bytes);
    positions.resize(4096);
    for (auto& p : positions) p = static_cast<LONG>(random() % (kFileSize - kRecordSize));
  }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

// Baseline: the byte-at-a-time loop over memory.
void BM_BytesFromMemory(benchmark::State& state) {
  const auto& bytes = Data().bytes;
  for (auto _ : state) {
    unsigned sum = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      std::uint8_t b;
      std::memcpy(&b, &bytes[i], 1);
      sum += b;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BytesFromFile(benchmark::State& state, UINT flags) {
  CFile file;
  file.Open(Data().dir.FilePath("data.bin").c_str(), CFile::modeRead | flags);
  for (auto _ : state) {
    file.SeekToBegin();
    unsigned sum = 0;
    std::uint8_t b;
    while (file.Read(&b, 1) == 1) sum += b;
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_BytesFromMappedFile(benchmark::State& state) { BytesFromFile(state, 0); }
void BM_BytesFromBufferedFile(benchmark::State& state) { BytesFromFile(state, CFile::osBuffered); }

// Baseline: copying records at scattered positions out of memory.
void BM_RecordsFromMemory(benchmark::State& state) {
  const auto& f = Data();
  std::uint8_t record[kRecordSize];
  for (auto _ : state) {
    for (LONG p : f.positions) {
      std::memcpy(record, &f.bytes[static_cast<size_t>(p)], kRecordSize);
      benchmark::DoNotOptimize(record);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * f.positions.size()));
}

void RecordsFromFile(benchmark::State& state, UINT flags) {
  const auto& f = Data();
  CFile file;
  file.Open(f.dir.FilePath("data.bin").c_str(), CFile::modeRead | flags);
  std::uint8_t record[kRecordSize];
  for (auto _ : state) {
    for (LONG p : f.positions) {
      file.Seek(p, CFile::begin);
      file.Read(record, kRecordSize);
      benchmark::DoNotOptimize(record);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * f.positions.size()));
}

void BM_RecordsFromMappedFile(benchmark::State& state) { RecordsFromFile(state, 0); }
void BM_RecordsFromBufferedFile(benchmark::State& state) { RecordsFromFile(state, CFile::osBuffered); }

BENCHMARK(BM_BytesFromMemory);
BENCHMARK(BM_BytesFromMappedFile);
BENCHMARK(BM_BytesFromBufferedFile);
BENCHMARK(BM_RecordsFromMemory);
BENCHMARK(BM_RecordsFromMappedFile);
BENCHMARK(BM_RecordsFromBufferedFile);

}  // namespace
