// The language library in the loops its callers run: a binary search of a sorted
// 15,000-word list with the collation (as the concordance looks words up), the
// ordinal operators, and the conversions and matches of sync keys. Each figure has
// its baseline in the same run: the same search with a plain 16-bit comparison
// loop, and a plain byte-widening loop for the conversions. Compare the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "langtext/tagged_string.h"

namespace {

constexpr int kWords = 15000;

struct Words {
  std::vector<cLanguageString> sorted;  // by Compare(0, 1)
  std::vector<cLanguageString> searches;
  std::vector<std::u16string> plainSorted;  // the same words as plain 16-bit strings
  std::vector<std::u16string> plainSearches;
  std::vector<CString> packaged;  // the searches as packaged strings

  Words() {
    std::mt19937 random(11);
    const std::u16string letters = u"abcdefghijklmnopqrstuvwxyzabcdeeeeiioouu\u00E9\u00F6\u00E8";
    for (int i = 0; i < kWords; ++i) {
      std::u16string word;
      const int length = 3 + static_cast<int>(random() % 8);
      for (int k = 0; k < length; ++k) word += letters[random() % letters.size()];
      if (random() % 8 == 0) word[0] = static_cast<char16_t>(word[0] - 0x20);
      if (random() % 16 == 0) word += u'\u2019';
      cLanguageString s;
      s.AssignCopy(1033, reinterpret_cast<const unsigned short*>(word.c_str()), -1);
      sorted.push_back(s);
    }
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.Compare(b, 0, 1) < 0; });
    sorted = std::vector<cLanguageString>(sorted);  // allocated in order, as the baseline's strings
    for (const auto& s : sorted) plainSorted.emplace_back(reinterpret_cast<const char16_t*>(s.GetString()));
    std::sort(plainSorted.begin(), plainSorted.end());
    for (int i = 0; i < 1024; ++i) {
      searches.push_back(sorted[random() % sorted.size()]);
      plainSearches.emplace_back(reinterpret_cast<const char16_t*>(searches.back().GetString()));
      packaged.push_back(LangToPackagedString(searches.back()));
    }
  }
};

const Words& Data() {
  static const Words words;
  return words;
}

// Baseline: the same binary search, comparing code units in a plain loop.
int PlainCompare(const std::u16string& a, const std::u16string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return a.size() < b.size() ? -1 : a.size() > b.size();
}

void BM_BaselinePlainBinarySearch(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  for (auto _ : state) {
    const std::u16string& search = w.plainSearches[i++ % w.plainSearches.size()];
    int lo = 0, hi = kWords - 1, found = -1;
    while (lo <= hi && found < 0) {
      const int mid = (lo + hi) / 2;
      const int cmp = PlainCompare(search, w.plainSorted[static_cast<size_t>(mid)]);
      if (cmp == 0) found = mid;
      (cmp < 0 ? hi = mid - 1 : lo = mid + 1);
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// An exact look-up as the concordance makes it: collation (0, 1) down to the word,
// then (0, 0) to confirm it.
void BM_CollatedBinarySearch(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  for (auto _ : state) {
    const cLanguageString& search = w.searches[i++ % w.searches.size()];
    int lo = 0, hi = kWords - 1, found = -1;
    while (lo <= hi && found < 0) {
      const int mid = (lo + hi) / 2;
      const int cmp = search.Compare(w.sorted[static_cast<size_t>(mid)], 0, 1);
      if (cmp == 0) found = mid;
      (cmp < 0 ? hi = mid - 1 : lo = mid + 1);
    }
    benchmark::DoNotOptimize(search.Compare(w.sorted[static_cast<size_t>(found)], 0, 0));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_OrdinalOperators(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  for (auto _ : state) {
    const cLanguageString& a = w.sorted[i % kWords];
    const cLanguageString& b = w.searches[i++ % w.searches.size()];
    benchmark::DoNotOptimize(a < b);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// Baseline for the conversions: widening a word's bytes in a plain loop.
void BM_BaselineWiden(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  unsigned short out[64];
  for (auto _ : state) {
    const CString& bytes = w.packaged[i++ % w.packaged.size()];
    const char* p = bytes;
    int n = 0;
    for (; p[n] && n < 63; ++n) out[n] = static_cast<unsigned char>(p[n]);
    benchmark::DoNotOptimize(out);
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_LangToPackagedString(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(LangToPackagedString(w.searches[i++ % w.searches.size()]));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_TaggedStringToLang(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TaggedStringToLang(w.packaged[i++ % w.packaged.size()]));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_MatchPackagedAmbiguous(benchmark::State& state) {
  const Words& w = Data();
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ % w.packaged.size();
    benchmark::DoNotOptimize(MatchPackagedAmbiguous(CString(w.searches[k]), w.packaged[k], 4, 0));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

BENCHMARK(BM_BaselinePlainBinarySearch);
BENCHMARK(BM_CollatedBinarySearch);
BENCHMARK(BM_OrdinalOperators);
BENCHMARK(BM_BaselineWiden);
BENCHMARK(BM_LangToPackagedString);
BENCHMARK(BM_TaggedStringToLang);
BENCHMARK(BM_MatchPackagedAmbiguous);

}  // namespace

namespace {

// One pair of words already in the cache, differing at the fourth letter.
void BM_BaselinePlainCompareHot(benchmark::State& state) {
  const std::u16string a = u"beginning", b = u"begotten";
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlainCompare(a, b));
    benchmark::ClobberMemory();
  }
}

void BM_CollatedCompareHot(benchmark::State& state) {
  const cLanguageString a("beginning"), b("begotten");
  for (auto _ : state) {
    benchmark::DoNotOptimize(a.Compare(b, 0, 1));
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_BaselinePlainCompareHot);
BENCHMARK(BM_CollatedCompareHot);

}  // namespace
