// Reading through the query library's Book and Library objects, the questions a
// reader program (the web reader, a Python host) asks most, over the demo's study
// library (ORVADA_LIBRARY, default build/library; build it with the demo first):
// - John 3:16 in the three Bibles at once (Library::Read), in the KJV alone by
//   reference and by its numbers (Book::Read, Book::Verse);
// - beside the baseline of the same run: copying the verse's text as many times
//   as the parallel reading returns it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "query/library.h"

namespace {

namespace query = orva::query;

query::Library* TheLibrary() {
  static std::unique_ptr<query::Library> library = [] {
    const char* folder = std::getenv("ORVADA_LIBRARY");
    try {
      return std::make_unique<query::Library>(folder ? folder : "build/library");
    } catch (const std::exception&) {
      return std::unique_ptr<query::Library>();
    }
  }();
  return library.get();
}

bool Skip(benchmark::State& state) {
  if (TheLibrary() && TheLibrary()->Named("kjv")) return false;
  state.SkipWithError("no library with a kjv book: build the demo, or set ORVADA_LIBRARY");
  return true;
}

void BM_LibraryReadVerse(benchmark::State& state) {
  if (Skip(state)) return;
  for (auto _ : state) benchmark::DoNotOptimize(TheLibrary()->Read("John 3:16"));
}
BENCHMARK(BM_LibraryReadVerse);

void BM_LibraryReadChapter(benchmark::State& state) {
  if (Skip(state)) return;
  for (auto _ : state) benchmark::DoNotOptimize(TheLibrary()->Read("John 3"));
}
BENCHMARK(BM_LibraryReadChapter);

void BM_BookReadByReference(benchmark::State& state) {
  if (Skip(state)) return;
  query::Book& kjv = *TheLibrary()->Named("kjv");
  for (auto _ : state) benchmark::DoNotOptimize(kjv.Read("John 3:16"));
}
BENCHMARK(BM_BookReadByReference);

void BM_BookReadByNumbers(benchmark::State& state) {
  if (Skip(state)) return;
  query::Book& kjv = *TheLibrary()->Named("kjv");
  for (auto _ : state) benchmark::DoNotOptimize(kjv.Verse("43,3,16"));
}
BENCHMARK(BM_BookReadByNumbers);

// The baseline: the parallel reading's texts copied, as a host copies its answer.
void BM_CopyVerseTexts(benchmark::State& state) {
  if (Skip(state)) return;
  const query::ParallelReading reading = TheLibrary()->Read("John 3:16");
  for (auto _ : state) {
    for (const auto& verse : reading.verses) {
      for (const auto& text : verse.texts) {
        std::string copy = text.passage.text;
        benchmark::DoNotOptimize(copy);
      }
    }
  }
}
BENCHMARK(BM_CopyVerseTexts);

}  // namespace
