#include "writer/vsync_writer.h"

#include <algorithm>
#include <tuple>

namespace orva::writer {

std::uint32_t VerseSyncTableOffset(const VerseSyncDescription& sync) {
  return static_cast<std::uint32_t>(std::max<std::uint16_t>(sync.version.length, 2)) +
         std::max<std::uint16_t>(sync.headerLength, 2);
}

std::vector<std::uint8_t> EncodeVerseSyncIndex(const VerseSyncDescription& sync) {
  const auto books = static_cast<std::uint32_t>(sync.books.size());
  const auto lastBook = sync.lastBook.value_or(static_cast<std::uint16_t>(sync.firstBook + books - 1));

  ByteWriter out;
  WriteVersionRecord(out, sync.version);
  ByteWriter header;
  header.U16(sync.headerLength).U16(sync.firstBook).U16(lastBook).U16(sync.bookRecordSize).U16(sync.verseEntrySize);
  out.Record(header, std::max<std::uint16_t>(sync.headerLength, 2));

  std::uint32_t tableAt = VerseSyncTableOffset(sync) + books * sync.bookRecordSize;
  std::vector<std::vector<VerseSyncVerse>> tables;
  tables.reserve(sync.books.size());
  ByteWriter record;
  for (const VerseSyncBook& book : sync.books) {
    std::vector<VerseSyncVerse> verses = book.verses;
    std::stable_sort(verses.begin(), verses.end(), [](const VerseSyncVerse& a, const VerseSyncVerse& b) {
      return std::tie(a.chapter, a.verse) < std::tie(b.chapter, b.verse);
    });
    const std::uint32_t at = verses.empty() ? 0 : tableAt;
    record.Clear().U32(book.tableOffset.value_or(at))
        .U16(book.verseCount.value_or(static_cast<std::uint16_t>(verses.size())));
    out.Record(record, sync.bookRecordSize);
    tableAt += static_cast<std::uint32_t>(verses.size()) * sync.verseEntrySize;
    tables.push_back(std::move(verses));
  }
  ByteWriter entry;
  for (const auto& verses : tables) {
    for (const VerseSyncVerse& v : verses) {
      entry.Clear().U16(v.chapter).U16(v.verse).U32(v.value);
      out.Record(entry, sync.verseEntrySize);
    }
  }
  return out.Take();
}

}  // namespace orva::writer
