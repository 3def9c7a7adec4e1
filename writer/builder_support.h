// What the scripture and glossary builders share (writer/book_builder.h): source
// text converted with its faults reported at their lines, the header text, the
// text files, the concordance. Internal to the writer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "writer/book_builder.h"
#include "writer/version_record_writer.h"
#include "writer/word_index.h"

namespace orva::writer::build {

constexpr std::uint16_t kMaxCount = 0xFFFF;
// A name (of a section, of a sync index's word) is a signed 16-bit byte count and
// its bytes.
constexpr size_t kMaxNameLength = 0x7FFF;
// An entry counts back to the first entry of its book (or of the glossary) in a
// signed 16-bit level count.
constexpr size_t kMaxLevelCount = 0x7FFF;
// A text area (the preamble and one block) is measured in a signed 32-bit size.
constexpr size_t kMaxAreaSize = 0x7FFFFFFF;

// Converts source text, turning a character fault into a SourceError at the line.
class TextConverter {
 public:
  TextConverter(const std::string& sourceName, std::uint16_t language) : m_source(sourceName), m_language(language) {}

  std::u16string Wide(const std::string& utf8, int line) const;
  std::string Narrow(const std::u16string& text, int line) const;
  std::string Narrow(const std::string& utf8, int line) const { return Narrow(Wide(utf8, line), line); }
  // The 8-bit form of text that is shown and not searched: each character the
  // code page lacks is left out (and counted in `leftOut`), and the blanks
  // around it become one.
  std::string NarrowLeniently(const std::string& utf8, int line, int& leftOut) const;
  [[noreturn]] void Fail(int line, const std::string& message) const;
  std::uint16_t Language() const { return m_language; }

 private:
  const std::string& m_source;
  std::uint16_t m_language;
};

std::string DefaultTitle(const std::string& sourceName);
VersionFields Version(const BookOptions& options);
std::uint16_t Capped(long long count);

// The header text: the control words that have data, in their standard order.
std::string HeaderText(const BookOptions& options, const std::string& title, const std::string& copyright,
                       const char* syncType, const TextConverter& text);

void AddTextFiles(BuiltBook& book, const VersionFields& version, const std::string& header,
                  std::vector<std::string> blocks, bool compress);

// concord.idx with the words of `language` first and, when there are any, the
// Strong's numbers under zalang::kStrongsLanguage, each record's first field the
// bits of its keys (zalang::StrongsKeyBits) in a book of `sections` sections.
std::vector<std::uint8_t> EncodeConcordance(std::vector<IndexedWord> words, std::uint16_t language,
                                            std::vector<IndexedWord> strongs, std::uint32_t sections,
                                            const BookOptions& options, const VersionFields& version);
// concord.idx with the words of each language, in the order given.
std::vector<std::uint8_t> EncodeConcordance(std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> languages,
                                            const BookOptions& options, const VersionFields& version);

// Adds the words of one verse or entry to the index; a text of more words than
// positions can number is a fault of its line.
size_t IndexWords(WordIndexBuilder& words, std::uint32_t key, const std::u16string& text, int line,
                  const TextConverter& converter);

// Every file's offsets are 32-bit: a book whose files would grow past them is
// refused as a whole.
void CheckFileSizes(const BuiltBook& book, const TextConverter& converter);

}  // namespace orva::writer::build
