// The King James Version book (samples/kjv.txt.gz, 31,102 verses) through the
// library, each figure beside a baseline of the same run:
// - building the book (compressed, coded) in memory, beside reading and parsing
//   the source alone;
// - exact word look-ups (FindExactMatchingWord over every word of the
//   concordance) beside std::lower_bound over the same words in memory;
// - verse look-ups (GetVSyncKey of "book,chapter,verse" over every verse) beside
//   parsing the same references and indexing a plain array;
// - reading the whole text area by area, stored and LZSS-compressed, in MB/s,
//   beside memcpy of the same bytes;
// - searches through the query library: the first ten hits of "the" (24,091
//   verses) with their positions, its count alone, and every hit with its
//   reference, beside copying its key list in memory. "Warm" runs ask the same
//   word again, so the library still holds its key list; "cold" ones have it
//   read another word's list first.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "orvada.h"
#include "query/reference.h"
#include "query/search.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"

namespace {

using namespace orva::writer;

const std::string& SourceText() {
  static const std::string text = ReadSourceFile(ORVADA_SOURCE_DIR "/samples/kjv.txt.gz");
  return text;
}

Scripture ParseKjv() {
  std::istringstream in(SourceText());
  return ParseScripture(in, "kjv.txt.gz");
}

BookOptions Options(bool compressed) {
  BookOptions options;
  options.publisherID = 1;
  options.bookID = compressed ? 1 : 2;  // two books: two stores
  options.compress = compressed;
  options.coded = true;
  return options;
}

// The KJV book written into a temporary folder, opened whole.
struct KjvBook {
  explicit KjvBook(bool compressed) {
    const BuiltBook built = BuildScriptureBook(ParseKjv(), Options(compressed), "kjv.txt.gz");
    verses = built.verses;
    WriteBookDirectory(dir.Path() + "book", built.files);
    VersionFields version;
    version.publisherID = 1;
    version.bookID = compressed ? 1 : 2;
    PointBookAt(book, dir.Path() + "book/", version, "verse");
    if (book.Open(ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | ORVA_VSYNC) != 0) std::abort();
  }
  TempBookDir dir;
  cORVABookBase book;
  int verses = 0;
};

KjvBook& Compressed() {
  static KjvBook book(true);
  return book;
}
KjvBook& Stored() {
  static KjvBook book(false);
  return book;
}

void BM_ParseSource(benchmark::State& state) {
  SourceText();
  for (auto _ : state) benchmark::DoNotOptimize(ParseKjv());
}
BENCHMARK(BM_ParseSource)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BuildBook(benchmark::State& state) {
  const Scripture source = ParseKjv();
  for (auto _ : state) benchmark::DoNotOptimize(BuildScriptureBook(source, Options(true), "kjv.txt.gz"));
}
BENCHMARK(BM_BuildBook)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every word of the concordance, in list order.
std::vector<cLanguageString> AllWords(cORVABookBase& book) {
  std::vector<cLanguageString> words;
  cLanguageString word;
  for (int key = book.GetFirstWord(1033, word); key >= 0; key = book.GetNextWord(word)) words.push_back(word);
  return words;
}

void BM_FindExactWord(benchmark::State& state) {
  cORVABookBase& book = Compressed().book;
  std::vector<cLanguageString> words = AllWords(book);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(book.FindExactMatchingWord(words[i]));
    i = (i + 7919) % words.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindExactWord);

void BM_FindWordBaseline(benchmark::State& state) {
  std::vector<std::u16string> words;
  for (const cLanguageString& w : AllWords(Compressed().book)) {
    words.emplace_back(w.GetString(), w.GetString() + w.GetLength());
  }
  std::vector<std::u16string> sorted = words;
  std::sort(sorted.begin(), sorted.end());
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::lower_bound(sorted.begin(), sorted.end(), words[i]));
    i = (i + 7919) % words.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindWordBaseline);

// "book,chapter,verse" of every verse, in order.
std::vector<std::string> References() {
  std::vector<std::string> references;
  const Scripture source = ParseKjv();
  for (size_t b = 0; b < source.books.size(); ++b) {
    for (const SourceChapter& chapter : source.books[b].chapters) {
      for (const SourceVerse& verse : chapter.verses) {
        references.push_back(std::to_string(b + 1) + "," + std::to_string(chapter.number) + "," +
                             std::to_string(verse.number));
      }
    }
  }
  return references;
}

void BM_VerseLookup(benchmark::State& state) {
  cORVABookBase& book = Compressed().book;
  const std::vector<std::string> references = References();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(book.GetVSyncKey(references[i].c_str()));
    i = (i + 7919) % references.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VerseLookup);

void BM_VerseLookupBaseline(benchmark::State& state) {
  const std::vector<std::string> references = References();
  std::vector<int> index(67 * 151 * 177, -1);
  for (size_t k = 0; k < references.size(); ++k) {
    const char* r = references[k].c_str();
    const int b = std::atoi(r), c = std::atoi(std::strchr(r, ',') + 1), v = std::atoi(std::strrchr(r, ',') + 1);
    index[static_cast<size_t>((b * 151 + c) * 177 + v)] = static_cast<int>(k);
  }
  size_t i = 0;
  for (auto _ : state) {
    const char* r = references[i].c_str();
    const int b = std::atoi(r), c = std::atoi(std::strchr(r, ',') + 1), v = std::atoi(std::strrchr(r, ',') + 1);
    benchmark::DoNotOptimize(index[static_cast<size_t>((b * 151 + c) * 177 + v)]);
    i = (i + 7919) % references.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VerseLookupBaseline);

// Areas 1 to the last chapter's, each read whole.
void ReadWholeText(benchmark::State& state, KjvBook& kjv) {
  cORVABookBase& book = kjv.book;
  const int areas = 1189;
  std::vector<char> buffer;
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (int area = 1; area <= areas; ++area) {
      const int size = book.GetViewableAreaSize(area);
      buffer.resize(static_cast<size_t>(size));
      book.GetViewableArea(area, buffer.data());
      bytes += static_cast<size_t>(size);
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
void BM_ReadTextStored(benchmark::State& state) { ReadWholeText(state, Stored()); }
void BM_ReadTextCompressed(benchmark::State& state) { ReadWholeText(state, Compressed()); }
BENCHMARK(BM_ReadTextStored)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTextCompressed)->Unit(benchmark::kMillisecond);

void BM_ReadTextBaselineMemcpy(benchmark::State& state) {
  const std::string& text = SourceText();
  std::vector<char> copy(text.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadTextBaselineMemcpy)->Unit(benchmark::kMillisecond);

// ---- Searches.

orva::query::SearchResult FindThe(cORVABookBase& book) {
  return orva::query::FindWords(book, {"the"}, 1033, orva::query::SearchOptions());
}

// Makes the library read another word's key list, so that the next search of
// "the" finds nothing of it cached.
void ForgetThe(benchmark::State& state, cORVABookBase& book) {
  state.PauseTiming();
  CUIntArray keys;
  cLanguageString other("and", 1033);
  book.GetKeysForWord(other, keys);
  state.ResumeTiming();
}

void FirstTen(benchmark::State& state, bool cold) {
  cORVABookBase& book = Compressed().book;
  for (auto _ : state) {
    if (cold) ForgetThe(state, book);
    const orva::query::SearchResult result = FindThe(book);
    benchmark::DoNotOptimize(result.Hits(0, 10));
  }
}
void BM_FindTheFirstTenWarm(benchmark::State& state) { FirstTen(state, false); }
void BM_FindTheFirstTenCold(benchmark::State& state) { FirstTen(state, true); }
BENCHMARK(BM_FindTheFirstTenWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindTheFirstTenCold)->Unit(benchmark::kMicrosecond);

void Count(benchmark::State& state, bool cold) {
  cORVABookBase& book = Compressed().book;
  for (auto _ : state) {
    if (cold) ForgetThe(state, book);
    benchmark::DoNotOptimize(FindThe(book).Count());
  }
}
void BM_CountTheWarm(benchmark::State& state) { Count(state, false); }
void BM_CountTheCold(benchmark::State& state) { Count(state, true); }
BENCHMARK(BM_CountTheWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountTheCold)->Unit(benchmark::kMicrosecond);

// What `orva find the` computes: every hit with its positions and reference.
void BM_FindTheEverything(benchmark::State& state) {
  cORVABookBase& book = Compressed().book;
  for (auto _ : state) {
    const orva::query::SearchResult result = FindThe(book);
    orva::query::ReferenceFormatter references(book, 1033);
    std::string text;
    for (size_t first = 0; first < result.Count(); first += 4096) {
      const orva::query::SearchPage page = result.Hits(first, 4096);
      for (size_t hit = 0; hit < page.Size(); ++hit) references.AppendTo(text, static_cast<int>(page.Key(hit)));
    }
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_FindTheEverything)->Unit(benchmark::kMicrosecond);

void BM_FindBaselineCopyKeys(benchmark::State& state) {
  CUIntArray keys;
  cLanguageString the("the", 1033);
  Compressed().book.GetKeysForWord(the, keys);
  std::vector<std::uint32_t> copy(static_cast<size_t>(keys.GetSize()));
  for (auto _ : state) {
    std::memcpy(copy.data(), keys.GetData(), copy.size() * sizeof copy[0]);
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_FindBaselineCopyKeys)->Unit(benchmark::kMicrosecond);

}  // namespace
