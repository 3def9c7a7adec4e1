// Sync look-ups: exact and partial look-ups on a word sync index of 50,000 words,
// and verse look-ups on the verse sync index of a whole Bible (66 books, 1,189
// chapters, 31,102 verses). Each sits beside a baseline measured in the same run:
// std::lower_bound over the same words in memory, sorted by the same comparison,
// and a plain array index of the verses (with and without parsing the reference).
// Compare the ratios, not the absolute times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/bible_shape.h"
#include "orvada.h"
#include "platform/winapi.h"
#include "writer/book_dir.h"
#include "writer/sync_writer.h"
#include "writer/vsync_writer.h"

namespace {

constexpr int kWords = 50000;
constexpr size_t kBatch = 1024;
using orva::bench::kChapters;
using orva::bench::kVerses;

bool Below(const std::string& a, const std::string& b) {
  const auto* left = reinterpret_cast<const unsigned char*>(a.c_str());
  return _mbsicmp(left, reinterpret_cast<const unsigned char*>(b.c_str())) < 0;
}

// A word sync index of kWords distinct words (one in 16 with an apostrophe) and
// the same words in memory.
struct WordIndex {
  orva::writer::TempBookDir dir;
  cORVABookBase book;
  std::vector<std::string> words;  // sorted as the file
  std::vector<int> keys;           // sync key of each word in `words`
  std::vector<std::string> hits;   // a sample of stored words
  std::vector<std::string> gaps;   // a sample of keys between stored words
  std::vector<std::string> ambiguous;  // packaged keys of stored words with an apostrophe

  WordIndex() {
    std::mt19937 random(7);
    orva::writer::SyncDescription d;
    d.version.publisherID = 7;
    d.version.bookID = 42;
    std::vector<std::string> made;
    while (made.size() < static_cast<size_t>(kWords) * 11 / 10) {
      std::string w(4 + random() % 8, 'a');
      for (char& c : w) c = static_cast<char>('a' + random() % 26);
      if (random() % 16 == 0) w.insert(w.size() - 1, "'");
      if (random() % 4 == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
      made.push_back(w);
    }
    std::stable_sort(made.begin(), made.end(), Below);
    made.erase(std::unique(made.begin(), made.end(), [](const std::string& a, const std::string& b) {
                 return !Below(a, b) && !Below(b, a);
               }), made.end());
    made.resize(kWords);
    for (int i = 0; i < kWords; ++i) d.words.emplace_back(made[i], static_cast<std::uint32_t>(i * 3));
    d.words = orva::writer::SortedSyncWords(d.words);
    for (const auto& w : d.words) {
      words.push_back(w.word);
      keys.push_back(static_cast<int>(w.syncKey));
    }
    dir.WriteFile("wsync.idx", orva::writer::EncodeSyncIndex(d));
    orva::writer::PointBookAt(book, dir.Path(), d.version, "word");
    if (book.Open(ORVA_WSYNC) != 0) std::abort();

    while (hits.size() < kBatch || gaps.size() < kBatch || ambiguous.size() < kBatch) {
      const std::string& w = words[random() % words.size()];
      if (hits.size() < kBatch) hits.push_back(w);
      if (gaps.size() < kBatch) gaps.push_back(w + "0");  // just above w
      const size_t apostrophe = w.find('\'');
      if (apostrophe != std::string::npos && ambiguous.size() < kBatch) {
        std::vector<unsigned short> text(w.begin(), w.end());
        text[apostrophe] = 0x2019;  // right single quotation mark: forms 0x27 and 0x92
        cLanguageString language;
        language.AssignCopy(1033, text.data(), static_cast<int>(text.size()));
        const CString key = LangToPackagedString(language);
        ambiguous.emplace_back(static_cast<const char*>(key), static_cast<size_t>(key.GetLength()));
      }
    }
  }

  // Baseline: the exact look-up as std::lower_bound over the words in memory.
  int LowerBoundKey(const std::string& key) const {
    const auto at = std::lower_bound(words.begin(), words.end(), key, Below);
    return at != words.end() && !Below(key, *at) ? keys[at - words.begin()] : -1;
  }
};

WordIndex& Words() {
  static WordIndex index;
  return index;
}

void BM_ExactSync_Library(benchmark::State& state) {
  WordIndex& w = Words();
  for (auto _ : state) {
    for (const std::string& key : w.hits) benchmark::DoNotOptimize(w.book.GetWSyncKey(key.c_str()));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_ExactSync_LowerBound(benchmark::State& state) {
  WordIndex& w = Words();
  for (auto _ : state) {
    for (const std::string& key : w.hits) benchmark::DoNotOptimize(w.LowerBoundKey(key));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_ExactSync_LibraryMiss(benchmark::State& state) {
  WordIndex& w = Words();
  for (auto _ : state) {
    for (const std::string& key : w.gaps) benchmark::DoNotOptimize(w.book.GetWSyncKey(key.c_str()));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_ExactSync_LibraryPlaceholder(benchmark::State& state) {
  WordIndex& w = Words();
  for (auto _ : state) {
    for (const std::string& key : w.ambiguous) benchmark::DoNotOptimize(w.book.GetWSyncKey(key.c_str()));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_PartialSync_Library(benchmark::State& state) {
  WordIndex& w = Words();
  CString word;
  for (auto _ : state) {
    for (const std::string& key : w.gaps) benchmark::DoNotOptimize(w.book.GetWSyncKeyPartialMatch(key.c_str(), word));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_PartialSync_LowerBound(benchmark::State& state) {
  WordIndex& w = Words();
  std::string word;
  for (auto _ : state) {
    for (const std::string& key : w.gaps) {
      const auto at = std::lower_bound(w.words.begin(), w.words.end(), key, Below);
      word = at != w.words.end() ? *at : std::string();
      benchmark::DoNotOptimize(at != w.words.end() ? w.keys[at - w.words.begin()] : -1);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

// The verse sync index of a whole Bible, each verse's value its index, and the
// same values in a plain array.
struct VerseIndex {
  orva::writer::TempBookDir dir;
  cORVABookBase book;
  std::vector<int> values;       // by verse index
  std::vector<int> bookStart;    // index of the first chapter of each book
  std::vector<int> chapterStart; // verse index of verse 1 of each chapter
  std::vector<std::string> references;
  std::vector<int> numbers;      // book, chapter, verse of each reference

  VerseIndex() {
    const std::vector<int> verses = orva::bench::VersesPerChapter();
    orva::writer::VerseSyncDescription d;
    d.version.publisherID = 7;
    d.version.bookID = 42;
    int chapter = 0;
    for (int b = 0; b < 66; ++b) {
      bookStart.push_back(chapter);
      d.books.emplace_back();
      for (int c = 1; c <= kChapters[b]; ++c, ++chapter) {
        chapterStart.push_back(static_cast<int>(values.size()) - 1);  // verse v at start + v
        for (int v = 1; v <= verses[chapter]; ++v) {
          d.books.back().verses.push_back({static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(v),
                                           static_cast<std::uint32_t>(values.size())});
          values.push_back(static_cast<int>(values.size()));
        }
      }
    }
    bookStart.push_back(chapter);
    dir.WriteFile("vsync.idx", orva::writer::EncodeVerseSyncIndex(d));
    orva::writer::PointBookAt(book, dir.Path(), d.version, "verse");
    if (book.Open(ORVA_VSYNC) != 0) std::abort();

    std::mt19937 random(3);
    for (size_t i = 0; i < kBatch; ++i) {
      const int b = static_cast<int>(random() % 66);
      const int c = 1 + static_cast<int>(random() % kChapters[b]);
      const int v = 1 + static_cast<int>(random() % verses[bookStart[b] + c - 1]);
      references.push_back(std::to_string(b + 1) + "," + std::to_string(c) + "," + std::to_string(v));
      numbers.insert(numbers.end(), {b + 1, c, v});
    }
  }

  int Indexed(int b, int c, int v) const { return values[chapterStart[bookStart[b - 1] + c - 1] + v]; }
};

VerseIndex& Verses() {
  static VerseIndex index;
  return index;
}

void BM_Verse_Library(benchmark::State& state) {
  VerseIndex& v = Verses();
  for (auto _ : state) {
    for (const std::string& r : v.references) benchmark::DoNotOptimize(v.book.GetVSyncKey(r.c_str()));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_Verse_ArrayIndex(benchmark::State& state) {
  VerseIndex& v = Verses();
  for (auto _ : state) {
    for (size_t i = 0; i < kBatch; ++i) {
      benchmark::DoNotOptimize(v.Indexed(v.numbers[3 * i], v.numbers[3 * i + 1], v.numbers[3 * i + 2]));
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

void BM_Verse_ParseAndArrayIndex(benchmark::State& state) {
  VerseIndex& v = Verses();
  for (auto _ : state) {
    for (const std::string& r : v.references) {
      const char* text = r.c_str();
      const char* chapter = std::strchr(text, ',') + 1;
      const char* verse = std::strchr(chapter, ',') + 1;
      benchmark::DoNotOptimize(v.Indexed(RuntimeAtoi(text), RuntimeAtoi(chapter), RuntimeAtoi(verse)));
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

BENCHMARK(BM_ExactSync_LowerBound);
BENCHMARK(BM_ExactSync_Library);
BENCHMARK(BM_ExactSync_LibraryMiss);
BENCHMARK(BM_ExactSync_LibraryPlaceholder);
BENCHMARK(BM_PartialSync_LowerBound);
BENCHMARK(BM_PartialSync_Library);
BENCHMARK(BM_Verse_ArrayIndex);
BENCHMARK(BM_Verse_ParseAndArrayIndex);
BENCHMARK(BM_Verse_Library);

}  // namespace
