// The words of a book gathered for its concordance: for every folded word
// (zalang/words.h) the keys of the texts that hold it and, per key, the word
// numbers (from 1) where it stands.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace orva::writer {

struct IndexedWord {
  std::u16string text;              // folded
  std::vector<std::uint32_t> keys;  // ascending
  std::vector<std::vector<std::uint16_t>> positions;  // one ascending list per key
};

class WordIndexBuilder {
 public:
  // Adds the words of `text` under `key`. Keys are added in ascending order, each
  // once. Returns the number of words. Raises std::length_error, adding nothing,
  // for a text that a concordance cannot hold: one of more than 65535 words
  // (positions are 16-bit) or with a word of more than 32767 characters (a word's
  // length is a signed 16-bit count); its message says which.
  size_t Add(std::uint32_t key, const std::u16string& text);
  // Adds `word` as it is (not split or folded) at `position` of `key`. Keys are
  // added in ascending order, and the positions of one word at one key too.
  void AddAt(std::uint32_t key, const std::u16string& word, std::uint16_t position);
  // The words in the order first met; the builder is empty afterwards.
  std::vector<IndexedWord> Take();

 private:
  std::unordered_map<std::u16string, size_t> m_index;
  std::vector<IndexedWord> m_words;
  std::u16string m_folded;  // the word being looked up
};

}  // namespace orva::writer
