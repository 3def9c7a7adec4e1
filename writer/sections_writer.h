// sections.idx: the tree of sections and the glossary entries after it, written
// from an outline (entries in key order, each with its level), with the non-Bible
// section list and an optional word-count table.
//
// File layout: version record, header (20 bytes unless told otherwise), the entry
// table (sections, then glossary entries, R bytes each), the names (i16 length,
// bytes), the non-Bible list (u16 each), the word-count table (u16 per section).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "writer/version_record_writer.h"

namespace orva::writer {

struct SectionEntry {
  std::string name;
  // The level in the tree: 1 for top-level sections. The parent of a section is
  // the nearest section before it with a lower level; its siblings are the other
  // sections with the same parent. Glossary entries are siblings of each other.
  std::uint8_t level = 1;
  // Default: the key of the entry's level-1 ancestor (itself on level 1); for
  // glossary entries 0xFFFFFFFF.
  std::optional<std::uint32_t> bookKey;
  // Default: the entry's key minus the key of its level-1 ancestor; for glossary
  // entries its key minus the first glossary key.
  std::optional<std::int16_t> levelCount;
  std::uint32_t syncWord = 0;   // the sync data's 32-bit word
  std::uint16_t syncHalf = 0;   // and its 16-bit word
  std::uint16_t wordCount = 0;  // written when the index has a word-count table

  // Damage for tests: raw values written instead of the computed ones.
  std::optional<std::uint32_t> parentOffset, prevOffset, nextOffset, nameOffset;
  std::optional<std::int16_t> nameLength;  // the name's bytes are still written
};

struct SectionsDescription {
  VersionFields version;
  std::vector<SectionEntry> sections;  // keys 0 ... S-1, depth first
  std::vector<SectionEntry> glossary;  // keys S ... S+G-1
  std::vector<std::uint16_t> nonBible;
  // A non-Bible list needs the word-count table after it: the reader takes its end
  // from the table's offset. Encoding a non-empty list without one throws
  // std::invalid_argument; without either, both offsets are 0.
  bool wordCounts = false;
  // Entries with the same name (and no damaged name) point at one copy of it.
  bool shareNames = false;
  // R: records of 25 bytes lose the last four sync bytes; longer ones are padded
  // with zeros.
  std::uint16_t recordSize = 29;
  // H: a header shorter than 20 bytes is cut, a longer one padded with zeros.
  std::uint16_t headerLength = 20;

  // Damage for tests: header fields written instead of the computed ones.
  std::optional<std::int32_t> sectionCount, glossaryCount;
  std::optional<std::uint32_t> nonBibleOffset, wordCountOffset;
};

// The position of the first entry record (version record + header), and of the
// record of `key`: what a link to that entry holds.
std::uint32_t FirstRecordOffset(const SectionsDescription& sections);
std::uint32_t RecordOffset(const SectionsDescription& sections, int key);

std::vector<std::uint8_t> EncodeSectionsIndex(const SectionsDescription& sections);

}  // namespace orva::writer
