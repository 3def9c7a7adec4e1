// Deterministic English-like prose for benchmarks: verses of sentences drawn from
// a fixed vocabulary with a skewed word frequency, so that LZSS finds the repeats
// it finds in real scripture text (common words, recurring phrases, verse numbers).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace orva::bench {

inline std::string Prose(size_t size, unsigned seed = 1611) {
  static const char* const kWords[] = {
      "the",     "and",      "of",      "to",      "that",    "in",       "he",      "shall",   "unto",
      "for",     "i",        "his",     "a",       "lord",    "they",     "be",      "is",      "him",
      "not",     "them",     "it",      "with",    "all",     "thou",     "thy",     "was",     "god",
      "which",   "my",       "me",      "said",    "but",     "ye",       "their",   "have",    "will",
      "thee",    "from",     "as",      "are",     "when",    "this",     "out",     "were",    "upon",
      "man",     "by",       "you",     "israel",  "king",    "son",      "up",      "there",   "hath",
      "then",    "people",   "came",    "had",     "house",   "into",     "on",      "her",     "come",
      "one",     "we",       "children", "s",      "before",  "your",     "also",    "day",     "land",
      "men",     "shalt",    "let",     "go",      "us",      "made",     "no",      "hand",    "even",
      "went",    "every",    "if",      "now",     "saying",  "behold",   "things",  "earth",   "because",
      "city",    "heart",    "moses",   "father",  "among",   "days",     "name",    "water",   "word",
      "light",   "mountain", "river",   "servant", "covenant", "wilderness", "jerusalem", "brethren",
      "offering", "sanctuary", "generations", "righteousness", "commandments", "inheritance"};
  constexpr size_t kCount = sizeof kWords / sizeof kWords[0];
  std::mt19937 random(seed);
  // Word i is drawn with a weight of about 1 / (i + 1).
  std::vector<double> weights(kCount);
  for (size_t i = 0; i < kCount; ++i) weights[i] = 1.0 / static_cast<double>(i + 1);
  std::discrete_distribution<size_t> word(weights.begin(), weights.end());
  std::uniform_int_distribution<int> sentenceLength(4, 18), verses(10, 40);

  std::string text;
  text.reserve(size + 256);
  int chapter = 1;
  while (text.size() < size) {
    text += "CHAPTER " + std::to_string(chapter) + "\n";
    const int count = verses(random);
    for (int verse = 1; verse <= count && text.size() < size; ++verse) {
      text += std::to_string(chapter) + ":" + std::to_string(verse) + " ";
      const int sentences = 1 + static_cast<int>(random() % 3);
      for (int s = 0; s < sentences; ++s) {
        const int length = sentenceLength(random);
        for (int w = 0; w < length; ++w) {
          std::string next = kWords[word(random)];
          if (w == 0) next[0] = static_cast<char>(next[0] - 'a' + 'A');
          text += next;
          text += w + 1 < length ? (random() % 9 == 0 ? ", " : " ") : (s + 1 < sentences ? "; " : ".");
        }
      }
      text += "\n";
    }
    ++chapter;
  }
  text.resize(size);
  return text;
}

}  // namespace orva::bench
