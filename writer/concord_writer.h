// concord.idx: the concordance of a book, written from its words. Each language's
// words are sorted in the collation the library searches with (the language
// library's Compare with (0, 1), on the words as the library reads them back).
//
// File layout: version record, header (H bytes), the key range (coded lists only),
// the language table (LR bytes per language); then per language its word table
// (WR bytes per word), the lists its words share (with `shareLists`), and word
// by word the word entry (i16 length, text, key list), the word's own position
// lists and its position-offset table (plain) or position directory (coded; none
// when an earlier word's is the same).
//
// Plain lists: with `narrowPlain` the leading keys below 65536 are written as u16
// (K16) and the rest as u32 (K32), the leading positions below 256 as bytes and the
// rest as u16; without it every key is a u32 and every position a u16.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "writer/version_record_writer.h"

namespace orva::writer {

struct ConcordWord {
  // The characters; words of language 1033 are written as their 8-bit form.
  std::u16string text;
  std::vector<std::uint32_t> keys;  // ascending
  // One ascending list per key, in key order; missing lists are empty.
  std::vector<std::vector<std::uint16_t>> positions;
  std::uint32_t data = 0;       // the record's first field
  std::uint16_t codedData = 0;  // the last two bytes of a coded record
};

struct ConcordLanguage {
  std::uint16_t id = 1033;
  std::vector<ConcordWord> words;  // any order: written sorted
  std::uint16_t wordRecSize = 18;  // WR; records are padded with zeros or cut to it
  // P; default: the largest position of the language plus 1 (1 to 65535).
  std::optional<std::uint16_t> positionRange;
  // Damage for tests: written instead of the computed values.
  std::optional<std::uint32_t> wordCount, wordTableOffset;
};

struct ConcordDescription {
  VersionFields version;
  bool coded = false;
  // N, written only with coded lists; default: the largest key plus 1.
  std::optional<std::uint32_t> keyRange;
  bool narrowPlain = true;
  // Coded lists only: the words of a language share position lists where that
  // makes the file smaller (writer/list_pool.h), written after the language's
  // word table; words with equal position directories share one.
  bool shareLists = false;
  std::uint16_t headerLength = 8;      // H; the header is padded with zeros or cut
  std::uint16_t languageRecSize = 16;  // LR; records are padded or cut to it
  std::vector<ConcordLanguage> languages = std::vector<ConcordLanguage>(1);  // 1033, no words
};

// A language without words, or with `wordCount` announced and no word table.
inline ConcordLanguage EmptyLanguage(std::uint16_t id, std::optional<std::uint32_t> wordCount = std::nullopt) {
  ConcordLanguage language;
  language.id = id;
  language.wordCount = wordCount;
  return language;
}

// Where the encoder put things, for tests that damage a file at chosen places.
struct ConcordWordLayout {
  std::uint32_t record = 0;     // the word record
  std::uint32_t entry = 0;      // the word entry (length, text, keys)
  std::uint32_t keyList = 0;    // the key list, after the text
  std::uint32_t offsets = 0;    // the position-offset table or directory
  std::vector<std::uint32_t> lists;  // the position lists, one per key
};
struct ConcordLayout {
  std::uint32_t languageTable = 0;
  // Per language, per word in the order written (sorted).
  std::vector<std::vector<ConcordWordLayout>> words;
};

// Throws std::invalid_argument for coded lists that do not ascend strictly, and
// for a plain position list of more than 65535 positions.
std::vector<std::uint8_t> EncodeConcordIndex(const ConcordDescription& concord, ConcordLayout* layout = nullptr);

// The words of `language` in the order they are written.
std::vector<ConcordWord> SortedWords(const ConcordLanguage& language);

}  // namespace orva::writer
