#include "writer/verses_writer.h"

#include <algorithm>

#include "writer/golomb_writer.h"

namespace orva::writer {

namespace {

template <class T>
std::vector<T> ByNumber(std::vector<T> entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const T& a, const T& b) { return a.number < b.number; });
  return entries;
}

std::uint16_t OccurrenceRange(const VersesDescription& d) {
  if (d.occurrenceRange) return *d.occurrenceRange;
  std::uint32_t largest = 0;
  auto see = [&](const OccurrenceList& list) {
    if (list && !list->empty()) largest = std::max(largest, list->back());
  };
  for (const BookEntry& book : d.books) {
    see(book.list), see(book.allChapters), see(book.allVerses);
    for (const ChapterEntry& chapter : book.chapters) {
      see(chapter.list), see(chapter.allVerses);
      for (const VerseEntry& verse : chapter.verses) see(verse.list);
    }
  }
  return static_cast<std::uint16_t>(std::min<std::uint32_t>(largest + 1, 0xFFFF));
}

class VersesEncoder {
 public:
  explicit VersesEncoder(const VersesDescription& d) : m_d(d), m_range(OccurrenceRange(d)) {}

  std::vector<std::uint8_t> Encode() {
    ByteWriter out;
    WriteVersionRecord(out, m_d.version);
    ByteWriter header;
    header.U16(m_d.headerLength).U16(static_cast<std::uint16_t>(m_d.books.size())).U16(m_d.bookRecSize);
    header.U16(m_d.chapterRecSize).U16(m_d.verseRecSize).U8(m_d.coded ? 1 : 0).U16(m_range).U8(0);
    out.Record(header, m_d.headerLength);

    // The tables come first, so the lists start at a known place.
    const std::vector<BookEntry> books = ByNumber(m_d.books);
    size_t tables = books.size() * m_d.bookRecSize;
    for (const BookEntry& book : books) {
      tables += book.chapters.size() * m_d.chapterRecSize;
      for (const ChapterEntry& chapter : book.chapters) tables += chapter.verses.size() * m_d.verseRecSize;
    }
    m_listBase = out.Size() + tables;

    ByteWriter bookTable, chapterTables, verseTables;
    ByteWriter bookRecord, chapterRecord, verseRecord;
    size_t chapterAt = out.Size() + books.size() * m_d.bookRecSize;
    size_t verseAt = chapterAt;
    for (const BookEntry& book : books) verseAt += book.chapters.size() * m_d.chapterRecSize;
    for (const BookEntry& book : books) {
      const std::vector<ChapterEntry> chapters = ByNumber(book.chapters);
      bookRecord.Clear().U16(book.number).U16(static_cast<std::uint16_t>(chapters.size()));
      bookRecord.U32(static_cast<std::uint32_t>(chapterAt));
      bookRecord.U32(List(book.list)).U32(List(book.allChapters)).U32(List(book.allVerses));
      bookTable.Record(bookRecord, m_d.bookRecSize);
      chapterAt += chapters.size() * m_d.chapterRecSize;
      for (const ChapterEntry& chapter : chapters) {
        const std::vector<VerseEntry> verses = ByNumber(chapter.verses);
        chapterRecord.Clear().U16(chapter.number).U16(static_cast<std::uint16_t>(verses.size()));
        chapterRecord.U32(static_cast<std::uint32_t>(verseAt));
        chapterRecord.U32(List(chapter.list)).U32(List(chapter.allVerses));
        chapterTables.Record(chapterRecord, m_d.chapterRecSize);
        verseAt += verses.size() * m_d.verseRecSize;
        for (const VerseEntry& verse : verses) {
          verseRecord.Clear().U16(verse.number).U32(List(verse.list));
          verseTables.Record(verseRecord, m_d.verseRecSize);
        }
      }
    }
    out.Bytes(bookTable.Data()).Bytes(chapterTables.Data()).Bytes(verseTables.Data()).Bytes(m_lists.Data());
    return out.Take();
  }

 private:
  // Appends the list to the lists and returns its offset in the file; 0 for none.
  std::uint32_t List(const OccurrenceList& list) {
    if (!list) return 0;
    const auto offset = static_cast<std::uint32_t>(m_listBase + m_lists.Size());
    m_lists.U32(static_cast<std::uint32_t>(list->size()));
    if (m_d.coded) {
      if (!list->empty()) m_lists.Bytes(EncodeCodedList(*list, m_range));
    } else {
      for (std::uint32_t value : *list) m_lists.U32(value);
    }
    return offset;
  }

  const VersesDescription& m_d;
  const std::uint16_t m_range;
  size_t m_listBase = 0;
  ByteWriter m_lists;
};

}  // namespace

std::vector<std::uint8_t> EncodeVersesIndex(const VersesDescription& verses) { return VersesEncoder(verses).Encode(); }

}  // namespace orva::writer
