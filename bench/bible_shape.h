// The shape of a whole Bible for the benchmarks: 66 books, 1,189 chapters and
// 31,102 verses, with each book's real chapter count and verse counts spread over
// the chapters (5 to 48 each, evened out to the total). Names and text are the
// benchmark's own.
#pragma once

#include <vector>

namespace orva::bench {

constexpr int kBooks = 66;
constexpr int kVerses = 31102;
// Chapters per book (1,189 in all).
constexpr int kChapters[kBooks] = {50, 40, 27, 36, 34, 24, 21, 4,  31, 24, 22, 25, 29, 36, 10, 13, 10,
                                   42, 150, 31, 12, 8, 66, 52, 5,  48, 12, 14, 3,  9,  1,  4,  7,  3,
                                   3,  3,  2,  14, 4,  28, 16, 24, 21, 28, 16, 16, 13, 6,  6,  4,  4,
                                   5,  3,  6,  4,  3,  1,  13, 5,  5,  3,  5,  1,  1,  1,  22};

// The verse count of each of the 1,189 chapters, in order.
inline std::vector<int> VersesPerChapter() {
  std::vector<int> verses;
  for (int c = 0; c < 1189; ++c) verses.push_back(5 + (c * 7919) % 44);
  int total = 0;
  for (int v : verses) total += v;
  for (size_t c = 0; total != kVerses; c = (c + 1) % verses.size()) {
    const int step = total < kVerses ? 1 : -1;
    verses[c] += step;
    total += step;
  }
  return verses;
}

}  // namespace orva::bench
