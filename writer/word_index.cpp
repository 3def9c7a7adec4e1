#include "writer/word_index.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/exceptions.h"
#include "zalang/words.h"

namespace orva::writer {

namespace {

constexpr size_t kMaxWordLength = 32767;

}  // namespace

size_t WordIndexBuilder::Add(std::uint32_t key, const std::u16string& text) {
  const std::vector<zalang::WordSpan> spans = zalang::SplitWords(text);
  if (spans.size() > 65535) throw std::length_error("more than 65535 words");
  for (const zalang::WordSpan& span : spans) {
    // Folding drops marks only: a word short enough unfolded is short enough.
    if (span.end - span.begin <= kMaxWordLength) continue;
    m_folded = zalang::FoldWord(text.substr(span.begin, span.end - span.begin));
    if (m_folded.size() > kMaxWordLength) {
      throw std::length_error("a word of more than " + std::to_string(kMaxWordLength) + " characters");
    }
  }
  for (size_t n = 0; n < spans.size(); ++n) {
    m_folded.assign(text, spans[n].begin, spans[n].end - spans[n].begin);
    zalang::FoldWordInPlace(m_folded);
    AddAt(key, m_folded, static_cast<std::uint16_t>(n + 1));
  }
  return spans.size();
}

void WordIndexBuilder::AddAt(std::uint32_t key, const std::u16string& text, std::uint16_t position) {
  AfxAllocating([&] {
    auto at = m_index.find(text);
    if (at == m_index.end()) {
      at = m_index.emplace(text, m_words.size()).first;
      m_words.push_back({text, {}, {}});
    }
    IndexedWord& word = m_words[at->second];
    if (word.keys.empty() || word.keys.back() != key) {
      word.keys.push_back(key);
      word.positions.emplace_back();
    }
    word.positions.back().push_back(position);
  });
}

std::vector<IndexedWord> WordIndexBuilder::Take() {
  m_index.clear();
  return std::exchange(m_words, {});
}

}  // namespace orva::writer
