// verses.idx: occurrence lists by book, chapter and verse.
//
// File layout: version record, header (H bytes), the book table (BR bytes per
// book), then each book's chapter table (CR bytes per chapter) in book order, then
// each chapter's verse table (VR bytes per verse), then the occurrence lists (u32
// count, then u32 values or a coded list). Tables are written sorted by number
// (unsigned); records are padded with zeros or cut to their sizes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "writer/version_record_writer.h"

namespace orva::writer {

// An occurrence list; none gives the offset 0.
using OccurrenceList = std::optional<std::vector<std::uint32_t>>;

struct VerseEntry {
  std::uint16_t number = 0;
  OccurrenceList list;
};

struct ChapterEntry {
  std::uint16_t number = 0;
  OccurrenceList list, allVerses;
  std::vector<VerseEntry> verses;
};

struct BookEntry {
  std::uint16_t number = 0;
  OccurrenceList list, allChapters, allVerses;
  std::vector<ChapterEntry> chapters;
};

struct VersesDescription {
  VersionFields version;
  bool coded = false;
  // G; default: the largest value of any list plus 1 (1 to 65535).
  std::optional<std::uint16_t> occurrenceRange;
  std::uint16_t headerLength = 14;
  std::uint16_t bookRecSize = 20, chapterRecSize = 16, verseRecSize = 6;
  std::vector<BookEntry> books;
};

// Throws std::invalid_argument for coded lists that do not ascend strictly. A
// coded list without values is written as its count 0 alone.
std::vector<std::uint8_t> EncodeVersesIndex(const VersesDescription& verses);

}  // namespace orva::writer
