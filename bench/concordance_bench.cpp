// The concordance and the verses index at the sizes of a whole Bible, each figure
// beside a baseline over the same data in memory, measured in the same run:
// - coded-list decoding (values per second) beside the plain in-memory reference
//   decoder, bit by bit over a byte array as the format describes it;
// - exact word look-ups on a concordance of 15,000 words beside the same bisection
//   over the words in memory;
// - the key list (20,000 keys) and the position lists of a frequent word, plain
//   and coded, beside memcpy of the keys and look-ups of the positions in memory;
// - occurrence look-ups of verses (66 books, 1,189 chapters, 31,102 verses) beside
//   the same three bisections over the tables in memory.
// Compare the ratios, not the absolute times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/bible_shape.h"
#include "concordance/coded_list.h"
#include "orvada.h"
#include "writer/book_dir.h"
#include "writer/concord_writer.h"
#include "writer/golomb_writer.h"
#include "writer/verses_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

using orva::bench::kChapters;
using orva::bench::kVerses;
constexpr int kWords = 15000;
constexpr int kFrequentKeys = 20000;
constexpr size_t kBatch = 1024;

// ---- The in-memory reference decoder: the format's algorithm, bit by bit.

struct MemoryBits {
  const std::uint8_t* data;
  int bit = -1;
  std::uint8_t byte = 0;
  int Next() {
    if (bit < 0) {
      byte = *data++;
      bit = 7;
    }
    return (byte >> bit--) & 1;
  }
};

void ReferenceDecode(const std::uint8_t* data, DWORD count, DWORD range, UINT* out) {
  const orva::GolombParameter p = orva::GolombParameterFor(range, count);
  MemoryBits bits{data};
  DWORD entry = 0;
  for (DWORD i = 0; i < count; ++i) {
    DWORD q = 0;
    while (bits.Next()) q += p.b;
    DWORD r = 0;
    for (int k = 1; k < p.k; ++k) r = 2 * r + static_cast<DWORD>(bits.Next());
    if (r >= p.t && p.b > 1) r = 2 * r + static_cast<DWORD>(bits.Next()) - p.t;
    entry = i == 0 ? q + r : entry + q + r + 1;
    out[i] = entry;
  }
}

// Ascending keys with random gaps averaging `meanGap`.
std::vector<std::uint32_t> AscendingKeys(size_t n, std::uint32_t meanGap, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint32_t> keys;
  std::uint32_t key = random() % meanGap;
  for (size_t i = 0; i < n; ++i, key += 1 + random() % (2 * meanGap - 1)) keys.push_back(key);
  return keys;
}

orva::writer::VersionFields Identity() {
  orva::writer::VersionFields v;
  v.publisherID = 7;
  v.bookID = 42;
  return v;
}

// ---- Coded-list decoding.

// Lists of 20,000 and of 2^20 keys, about 6 bits per value, one after the other
// in one file.
struct CodedList {
  std::vector<std::uint32_t> keys;
  DWORD range = 0;
  Bytes bytes;  // in memory, for the reference decoder
  LONG at = 0;  // in the file
};

struct CodedLists {
  orva::writer::TempBookDir dir;
  cORVABookBase book;
  cFileBase file;
  CodedList small, large;

  CodedLists() {
    Bytes bytes = orva::writer::EncodeVersionRecord(Identity());
    for (CodedList* list : {&small, &large}) {
      list->keys = AscendingKeys(list == &small ? kFrequentKeys : 1 << 20, 8, 3);
      list->range = list->keys.back() + 1;
      list->bytes = orva::writer::EncodeCodedList(list->keys, list->range);
      list->at = static_cast<LONG>(bytes.size());
      bytes.insert(bytes.end(), list->bytes.begin(), list->bytes.end());
    }
    dir.WriteFile("list", bytes);
    orva::writer::PointBookAt(book, dir.Path(), Identity());
    if (file.Open(dir.FilePath("list").c_str(), book) != 0) std::abort();
  }
  const CodedList& Of(int64_t n) const { return n == kFrequentKeys ? small : large; }
};

CodedLists& Lists() {
  static CodedLists lists;
  return lists;
}

void BM_Decode_Library(benchmark::State& state) {
  CodedLists& lists = Lists();
  const CodedList& l = lists.Of(state.range(0));
  const auto n = static_cast<DWORD>(l.keys.size());
  std::vector<UINT> out(n);
  for (auto _ : state) {
    lists.file.Seek(l.at, CFile::begin);
    orva::DecodeCodedList(lists.file, n, n, l.range, nullptr, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  if (!std::equal(out.begin(), out.end(), l.keys.begin())) state.SkipWithError("decoded wrongly");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
}

void BM_Decode_MemoryReference(benchmark::State& state) {
  const CodedList& l = Lists().Of(state.range(0));
  const auto n = static_cast<DWORD>(l.keys.size());
  std::vector<UINT> out(n);
  for (auto _ : state) {
    ReferenceDecode(l.bytes.data(), n, l.range, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  if (!std::equal(out.begin(), out.end(), l.keys.begin())) state.SkipWithError("decoded wrongly");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
}

// ---- Word look-ups and a frequent word's lists.

std::u16string RandomWord(std::mt19937& random) {
  std::u16string word;
  const int length = 3 + static_cast<int>(random() % 8);
  for (int i = 0; i < length; ++i) word += static_cast<char16_t>(u'a' + random() % 26);
  return word;
}

struct Concordance {
  orva::writer::TempBookDir dir;
  cORVABookBase book;
  std::vector<cLanguageString> sorted;    // the words in key order, in memory
  std::vector<cLanguageString> searches;  // words to look up, in random order
  std::vector<std::uint32_t> frequent;    // the keys of "the" and "and"

  explicit Concordance(bool coded) {
    std::mt19937 random(5);
    std::set<std::u16string> unique;
    while (unique.size() < kWords - 2) {
      const std::u16string word = RandomWord(random);
      if (word != u"the" && word != u"and") unique.insert(word);
    }
    orva::writer::ConcordDescription d;
    d.version = Identity();
    d.coded = coded;
    orva::writer::ConcordLanguage& english = d.languages[0];
    std::uint32_t next = 0;
    for (const std::u16string& text : unique) {
      orva::writer::ConcordWord word;
      word.text = text;
      word.keys = {next++ % kVerses};
      word.positions = {{static_cast<std::uint16_t>(1 + random() % 30)}};
      english.words.push_back(word);
    }
    frequent = AscendingKeys(kFrequentKeys, 2, 11);  // 20,000 keys below about 40,000
    for (const char16_t* text : {u"the", u"and"}) {
      orva::writer::ConcordWord word;
      word.text = text;
      word.keys = frequent;
      for (size_t i = 0; i < frequent.size(); ++i) {
        word.positions.push_back({static_cast<std::uint16_t>(1 + i % 7), static_cast<std::uint16_t>(9 + i % 13)});
      }
      english.words.push_back(word);
    }
    for (const orva::writer::ConcordWord& word : orva::writer::SortedWords(english)) {
      std::vector<unsigned short> chars(word.text.begin(), word.text.end());
      chars.push_back(0);
      sorted.emplace_back(chars.data(), 1033);
    }
    for (size_t i = 0; i < kBatch; ++i) searches.push_back(sorted[random() % sorted.size()]);
    dir.WriteFile("concord.idx", orva::writer::EncodeConcordIndex(d));
    orva::writer::PointBookAt(book, dir.Path(), d.version);
    book.SetEdition(coded ? "coded" : "plain");  // two stores, not one shared
    if (book.Open(ORVA_CONCORD) != 0 || book.WordCount(1033) != kWords) std::abort();
  }

  int KeyOf(const char16_t* text) {
    std::vector<unsigned short> chars(text, text + std::char_traits<char16_t>::length(text));
    chars.push_back(0);
    cLanguageString word(chars.data(), 1033);
    return book.FindExactMatchingWord(word);
  }
};

Concordance& Words(bool coded) {
  static Concordance plain(false), codedOne(true);
  return coded ? codedOne : plain;
}

void BM_ExactWord_Library(benchmark::State& state) {
  Concordance& c = Words(state.range(0) != 0);
  for (auto _ : state) {
    for (cLanguageString& word : c.searches) benchmark::DoNotOptimize(c.book.FindExactMatchingWord(word));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

// Baseline: the same bisection and confirmation over the words in memory.
void BM_ExactWord_MemoryBisection(benchmark::State& state) {
  Concordance& c = Words(false);
  for (auto _ : state) {
    for (const cLanguageString& word : c.searches) {
      const auto at = std::lower_bound(c.sorted.begin(), c.sorted.end(), word,
                                       [](const cLanguageString& a, const cLanguageString& b) {
                                         return a.Compare(b, 0, 1) < 0;
                                       });
      benchmark::DoNotOptimize(at != c.sorted.end() && word.Compare(*at, 0, 0) == 0 ? at - c.sorted.begin() : -1);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

// The key list of a frequent word, read afresh each time (two such words in turn,
// so the cache never holds the one asked for).
void BM_FrequentKeys_Library(benchmark::State& state) {
  Concordance& c = Words(state.range(0) != 0);
  const int words[2] = {c.KeyOf(u"the"), c.KeyOf(u"and")};
  CUIntArray keys;
  int turn = 0;
  for (auto _ : state) {
    c.book.GetKeysForWord(words[turn ^= 1], keys);
    benchmark::DoNotOptimize(keys.GetData());
  }
  if (keys.GetSize() != kFrequentKeys) state.SkipWithError("wrong key count");
  if (!std::equal(c.frequent.begin(), c.frequent.end(), keys.GetData())) state.SkipWithError("wrong keys");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFrequentKeys));
}

// The same key list again: a copy of the cached keys.
void BM_FrequentKeys_LibraryCached(benchmark::State& state) {
  Concordance& c = Words(state.range(0) != 0);
  const int word = c.KeyOf(u"the");
  CUIntArray keys;
  for (auto _ : state) {
    c.book.GetKeysForWord(word, keys);
    benchmark::DoNotOptimize(keys.GetData());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFrequentKeys));
}

// Baseline: copying 20,000 keys from memory.
void BM_FrequentKeys_Memcpy(benchmark::State& state) {
  Concordance& c = Words(false);
  std::vector<UINT> keys(c.frequent.size());
  for (auto _ : state) {
    std::memcpy(keys.data(), c.frequent.data(), keys.size() * sizeof(UINT));
    benchmark::DoNotOptimize(keys.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFrequentKeys));
}

// The positions of the frequent word at each of its 20,000 keys in turn.
void BM_FrequentPositions_Library(benchmark::State& state) {
  Concordance& c = Words(state.range(0) != 0);
  const int word = c.KeyOf(u"the");
  CWordArray positions;
  for (auto _ : state) {
    for (std::uint32_t key : c.frequent) {
      c.book.GetWordPositionList(word, static_cast<int>(key), positions);
      benchmark::DoNotOptimize(positions.GetData());
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFrequentKeys));
}

// Baseline: the same look-ups over the lists in memory: a bisection of the key
// list, then a copy of the key's positions into the array.
void BM_FrequentPositions_MemoryLookup(benchmark::State& state) {
  Concordance& c = Words(false);
  std::vector<std::vector<WORD>> lists;
  for (size_t i = 0; i < c.frequent.size(); ++i) {
    lists.push_back({static_cast<WORD>(1 + i % 7), static_cast<WORD>(9 + i % 13)});
  }
  CWordArray positions;
  for (auto _ : state) {
    for (std::uint32_t key : c.frequent) {
      const size_t at = static_cast<size_t>(std::lower_bound(c.frequent.begin(), c.frequent.end(), key) -
                                            c.frequent.begin());
      positions.SetSize(static_cast<int>(lists[at].size()));
      std::memcpy(positions.GetData(), lists[at].data(), lists[at].size() * sizeof(WORD));
      benchmark::DoNotOptimize(positions.GetData());
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFrequentKeys));
}

// ---- Occurrence look-ups.

struct Verse {
  WORD book, chapter, verse;
};

struct VersesIndex {
  orva::writer::TempBookDir dir;
  cORVABookBase book;
  orva::writer::VersesDescription d;
  std::vector<Verse> lookups;

  explicit VersesIndex(bool coded) {
    std::mt19937 random(13);
    d.version = Identity();
    d.coded = coded;
    std::uint32_t key = 0;
    std::vector<Verse> all;
    const std::vector<int> versesPerChapter = orva::bench::VersesPerChapter();
    size_t chapterIndex = 0;
    for (int b = 0; b < orva::bench::kBooks; ++b) {
      orva::writer::BookEntry book;
      book.number = static_cast<WORD>(b + 1);
      for (int c = 1; c <= kChapters[b]; ++c) {
        orva::writer::ChapterEntry chapter;
        chapter.number = static_cast<WORD>(c);
        const int verses = versesPerChapter[chapterIndex++];
        for (int v = 1; v <= verses; ++v, ++key) {
          orva::writer::VerseEntry verse;
          verse.number = static_cast<WORD>(v);
          verse.list = std::vector<std::uint32_t>{key * 4, key * 4 + 1 + static_cast<std::uint32_t>(random() % 2), key * 4 + 3};
          chapter.verses.push_back(verse);
          all.push_back({book.number, chapter.number, verse.number});
        }
        book.chapters.push_back(chapter);
      }
      d.books.push_back(book);
    }
    for (size_t i = 0; i < kBatch; ++i) lookups.push_back(all[random() % all.size()]);
    dir.WriteFile("verses.idx", orva::writer::EncodeVersesIndex(d));
    orva::writer::PointBookAt(book, dir.Path(), d.version);
    book.SetEdition(coded ? "coded" : "plain");  // two stores, not one shared
    if (book.Open(ORVA_VERSES) != 0) std::abort();
  }
};

VersesIndex& Occurrences(bool coded) {
  static VersesIndex plain(false), codedOne(true);
  return coded ? codedOne : plain;
}

void BM_VerseOccurrences_Library(benchmark::State& state) {
  VersesIndex& v = Occurrences(state.range(0) != 0);
  CUIntArray values;
  for (auto _ : state) {
    for (const Verse& ref : v.lookups) {
      benchmark::DoNotOptimize(v.book.GetVerseOccurrences(ref.book, ref.chapter, ref.verse, values));
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

// Baseline: the same three bisections over the tables in memory, and a copy of
// the list into the array.
void BM_VerseOccurrences_MemoryBisection(benchmark::State& state) {
  VersesIndex& v = Occurrences(false);
  CUIntArray values;
  auto byNumber = [](const auto& entry, WORD number) { return entry.number < number; };
  for (auto _ : state) {
    for (const Verse& ref : v.lookups) {
      const auto& books = v.d.books;
      const auto b = std::lower_bound(books.begin(), books.end(), ref.book, byNumber);
      const auto c = std::lower_bound(b->chapters.begin(), b->chapters.end(), ref.chapter, byNumber);
      const auto e = std::lower_bound(c->verses.begin(), c->verses.end(), ref.verse, byNumber);
      const std::vector<std::uint32_t>& list = *e->list;
      values.SetSize(static_cast<int>(list.size()));
      std::memcpy(values.GetData(), list.data(), list.size() * sizeof(UINT));
      benchmark::DoNotOptimize(values.GetData());
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBatch));
}

BENCHMARK(BM_Decode_MemoryReference)->Arg(kFrequentKeys)->Arg(1 << 20);
BENCHMARK(BM_Decode_Library)->Arg(kFrequentKeys)->Arg(1 << 20);
BENCHMARK(BM_ExactWord_MemoryBisection);
BENCHMARK(BM_ExactWord_Library)->ArgName("coded")->Arg(0)->Arg(1);
BENCHMARK(BM_FrequentKeys_Memcpy);
BENCHMARK(BM_FrequentKeys_Library)->ArgName("coded")->Arg(0)->Arg(1);
BENCHMARK(BM_FrequentKeys_LibraryCached)->ArgName("coded")->Arg(0)->Arg(1);
BENCHMARK(BM_FrequentPositions_MemoryLookup);
BENCHMARK(BM_FrequentPositions_Library)->ArgName("coded")->Arg(0)->Arg(1);
BENCHMARK(BM_VerseOccurrences_MemoryBisection);
BENCHMARK(BM_VerseOccurrences_Library)->ArgName("coded")->Arg(0)->Arg(1);

}  // namespace
