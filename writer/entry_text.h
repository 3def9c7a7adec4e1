// The text of the entries of glossaries, topical indexes, lexicons and reading
// plans (writer/book_builder.h): written in several scripts as one tagged string,
// with its references checked and written in the book's form, its words gathered
// for the concordance by language and its verse references for the verses index.
// Internal to the writer.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "writer/builder_support.h"
#include "writer/verses_writer.h"
#include "writer/word_index.h"

namespace orva::writer::build {

// The 8-bit form of `text`, one paragraph (no tab), starting in the book's
// language (that of `converter`) and ending in whichever `current` says: each
// character in the language of its script (Greek and Hebrew letters, anything
// else that makes words in the book's language, blanks and punctuation and
// marks in the language of what stands before them); a character that
// language's table cannot write, or a mark after it, in the first language that
// can: the run's, the book's, then the library's in order. A language tag stands
// where the language changes. Raises SourceError at `line` for a character no
// table can write and for text that would read as a language tag.
std::string EncodeMultiScript(const std::u16string& text, const TextConverter& converter, int line,
                              std::uint16_t& current);

struct EntryCounts {
  long long verseReferences = 0;  // references to verses, chapters and books
  long long otherReferences = 0;  // to Strong's numbers, headwords and dates
};

class EntryTexts {
 public:
  explicit EntryTexts(const TextConverter& converter) : m_converter(converter) {}

  // The 8-bit form of an entry's text (UTF-8: paragraphs apart at tabs,
  // references written inline; writer/source_text.h), as the entry's line holds
  // it. Adds its words under `key` to the concordance (positions from 1 in the
  // order the words stand, references left out) and the places its verse
  // references name to the verses index; `words` becomes its number of words.
  // Entries are added in ascending order of their keys. Raises SourceError at
  // `line`.
  std::string Add(std::uint32_t key, const std::string& text, int line, size_t& words);

  const EntryCounts& Counts() const { return m_counts; }
  // The words by language: the book's language first (also when it has none),
  // then each other language that has words, by id. The builder is empty of
  // words afterwards.
  std::vector<std::pair<std::uint16_t, std::vector<IndexedWord>>> TakeWords();
  // The verses index by the places that entries refer to: per verse, chapter and
  // book the keys of the entries that name it as a whole, and the all-chapters
  // and all-verses lists of each book and chapter the keys of those that name
  // something in it; none when no entry refers to a verse.
  std::optional<VersesDescription> Verses(const BookOptions& options, const VersionFields& version) const;

 private:
  std::string Reference(const std::string& paragraph, size_t at, std::uint32_t key, int line, size_t& end,
                        std::uint16_t& current);
  std::string VerseKey(const std::string& written, std::uint32_t key, int line);

  const TextConverter& m_converter;
  std::map<std::uint16_t, WordIndexBuilder> m_words;  // by language
  // Keys by place: (book, chapter, verse), chapter 0 for a whole book, verse 0 for
  // a whole chapter.
  std::map<std::array<int, 3>, std::vector<std::uint32_t>> m_places;
  EntryCounts m_counts;
};

// Adds to `book` the concordance of the entries' words (when any entry has a
// word) and their verses index (when any refers to a verse), with their counts.
void AddEntryIndexes(BuiltBook& book, EntryTexts& texts, const BookOptions& options, const VersionFields& version);

}  // namespace orva::writer::build
