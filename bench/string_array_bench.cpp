// Flattening and loading string arrays of several megabytes, in MB/s of flattened
// bytes, beside memcpy of the same number of bytes in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "orvada.h"

namespace {

// 16 MiB of 100-byte strings.
const CStringArray& Strings() {
  static const CStringArray strings = [] {
    CStringArray a;
    const CString text(std::string(100, 'w').c_str());
    for (int i = 0; i < (16 << 20) / 101; ++i) a.Add(text);
    return a;
  }();
  return strings;
}

struct Flattened {
  char* data = nullptr;
  int length = 0;
  Flattened() { length = cORVABookBase().StoreCStringArray(&data, Strings()); }
  ~Flattened() { ::operator delete(data); }
};

const Flattened& Flat() {
  static const Flattened flat;
  return flat;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<char> to(static_cast<size_t>(Flat().length));
  for (auto _ : state) {
    std::memcpy(to.data(), Flat().data, to.size());
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(state.iterations() * Flat().length);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_StoreCStringArray(benchmark::State& state) {
  cORVABookBase book;
  for (auto _ : state) {
    char* buffer = nullptr;
    benchmark::DoNotOptimize(book.StoreCStringArray(&buffer, Strings()));
    ::operator delete(buffer);
  }
  state.SetBytesProcessed(state.iterations() * Flat().length);
}
BENCHMARK(BM_StoreCStringArray)->Unit(benchmark::kMillisecond);

void BM_LoadCStringArray(benchmark::State& state) {
  cORVABookBase book;
  for (auto _ : state) {
    CStringArray loaded;
    book.LoadCStringArray(Flat().data, loaded);
    benchmark::DoNotOptimize(loaded.GetData());
  }
  state.SetBytesProcessed(state.iterations() * Flat().length);
}
BENCHMARK(BM_LoadCStringArray)->Unit(benchmark::kMillisecond);

}  // namespace
