// vsync.idx: the verse sync index of a book whose sync type is "verse", mapping
// book, chapter and verse to a section key.
//
// File layout: version record, header (16 bytes unless told otherwise: length,
// first book, last book, book record size, verse entry size, six zero bytes), the
// book table (verse table position, verse count, zero padding to the record
// size), then each book's verse table (chapter, verse, value, zero padding to the
// entry size), in book order.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "writer/version_record_writer.h"

namespace orva::writer {

struct VerseSyncVerse {
  std::uint16_t chapter = 0;
  std::uint16_t verse = 0;
  std::uint32_t value = 0;
};

struct VerseSyncBook {
  // Any order: written sorted by chapter, then verse. A book without verses has
  // the table position 0.
  std::vector<VerseSyncVerse> verses;

  // Damage for tests: raw values written instead of the computed ones.
  std::optional<std::uint32_t> tableOffset;
  std::optional<std::uint16_t> verseCount;
};

struct VerseSyncDescription {
  VersionFields version;
  // books[i] is book number firstBook + i.
  std::uint16_t firstBook = 1;
  std::vector<VerseSyncBook> books;
  // Default: the number of the last book of `books` (firstBook - 1 without any).
  // A larger value leaves the book table short.
  std::optional<std::uint16_t> lastBook;
  // Records and entries longer than their fields are padded with zeros, shorter
  // ones cut; a header shorter than 16 bytes is cut (never below its two length
  // bytes), a longer one padded.
  std::uint16_t bookRecordSize = 6;
  std::uint16_t verseEntrySize = 8;
  std::uint16_t headerLength = 16;
};

// The position of the book table (version record + header).
std::uint32_t VerseSyncTableOffset(const VerseSyncDescription& sync);

std::vector<std::uint8_t> EncodeVerseSyncIndex(const VerseSyncDescription& sync);

}  // namespace orva::writer
