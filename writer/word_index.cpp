#include "writer/word_index.h"

#include <stdexcept>
#include <utility>

#include "platform/exceptions.h"
#include "writer/text_words.h"

namespace orva::writer {

size_t WordIndexBuilder::Add(std::uint32_t key, const std::u16string& text) {
  const std::vector<std::u16string> words = FoldedWords(text);
  if (words.size() > 65535) throw std::length_error("more than 65535 words");
  AfxAllocating([&] {
    for (size_t n = 0; n < words.size(); ++n) {
      const auto [at, added] = m_index.try_emplace(words[n], m_words.size());
      if (added) m_words.push_back({words[n], {}, {}});
      IndexedWord& word = m_words[at->second];
      if (word.keys.empty() || word.keys.back() != key) {
        word.keys.push_back(key);
        word.positions.emplace_back();
      }
      word.positions.back().push_back(static_cast<std::uint16_t>(n + 1));
    }
  });
  return words.size();
}

std::vector<IndexedWord> WordIndexBuilder::Take() {
  m_index.clear();
  return std::exchange(m_words, {});
}

}  // namespace orva::writer
