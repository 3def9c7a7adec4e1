// The check of the sync index of the book's sync type: the word, Strong's and
// date indexes are sorted as _mbsicmp sorts and hold entry keys; the verse sync
// index ascends by chapter and verse within each book and names verse sections.
#include <string>
#include <vector>

#include "platform/winapi.h"
#include "query/check_internal.h"
#include "book/book_folder.h"

namespace orva::query::check {

namespace {

// The header fields a sync index cannot do without end with the entry size (or
// the verse entry size) at offset 8.
constexpr std::uint16_t kShortestHeader = 10;

int CompareWords(const std::string& a, const std::string& b) {
  // As the library compares them: up to the first zero byte.
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()), reinterpret_cast<const unsigned char*>(b.c_str()));
}

// The sync key `key` of the entry at `place` must be an entry of sections.idx.
bool CheckKey(Checker& c, const char* file, std::uint64_t key, const std::string& place) {
  if (!c.sections.known || c.sections.IsEntry(key)) return true;
  c.faults.Add(file, "key", place, "sync key " + std::to_string(key) + " names no entry of sections.idx");
  return false;
}

// verse `place` of vsync.idx names section `key`: a verse section.
void CheckVerseKey(Checker& c, int book, int chapter, int verse, std::uint64_t key, const std::string& place) {
  const char* file = "vsync.idx";
  if (c.sections.known && !c.sections.IsSection(key)) {
    c.faults.Add(file, "key", place, "sync key " + std::to_string(key) + " names no section of sections.idx");
    return;
  }
  if (c.verses.known) {
    CUIntArray keys;
    try {
      c.book.GetVerseOccurrences(static_cast<unsigned short>(book), static_cast<unsigned short>(chapter),
                                 static_cast<unsigned short>(verse), keys);
    } catch (CException* e) {
      c.faults.Add(file, "verse", place, "verses.idx cannot be read for it: " + DescribeAndDelete(e));
      return;
    }
    for (int i = 0; i < keys.GetSize(); ++i) {
      if (keys[i] == key) return;
    }
    c.faults.Add(file, "verse", [&](BookFault& f) {
      f.place = place;
      f.message = "names " + c.KeyPlace(key) + ", but verses.idx lists " +
                  (keys.GetSize() == 0 ? std::string("no such verse") : c.KeyPlace(keys[0])) + " for it";
    });
  } else if (c.sections.known && c.sections.hasChild[key]) {
    c.faults.Add(file, "verse", [&](BookFault& f) {
      f.place = place;
      f.message = "names " + c.KeyPlace(key) + ", a section with sections below it, not a verse";
    });
  }
}

}  // namespace

void CheckSyncIndex(Checker& c) {
  const DWORD flag = c.book.GetSyncTypeFlag();
  if ((flag != ORVA_WSYNC && flag != ORVA_SSYNC && flag != ORVA_DSYNC) || !c.book.IsOpen(flag)) return;
  const char* name = FileNameOfBit(flag);
  const FileBytes file(c.PathOf(flag));
  const std::uint64_t at = file.VersionLength();
  sSyncHeader header;
  if (!file.Loaded() || !file.Has(at, 2) || !file.ReadRecord(at, file.U16(at), header) ||
      header.wRecordLength < kShortestHeader || header.wEntrySize < sizeof(sSyncEntry)) {
    c.faults.Add(name, "header", "", "the header record cannot be read, or its entries are shorter than 8 bytes");
    return;
  }
  const std::uint64_t table = at + header.wRecordLength;
  std::uint64_t count = header.dwWordCount;
  if (!file.Has(table, count * header.wEntrySize)) {
    c.faults.Add(name, "table", "", "the table of " + std::to_string(count) + " entries runs past the end of the file");
    count = file.Has(table, 0) ? (file.Size() - table) / header.wEntrySize : 0;
  }
  // Words do not overlap, so together they take at most the file.
  std::uint64_t budget = file.Size();
  std::string word, previous;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t entry = table + i * header.wEntrySize;
    const std::uint64_t key = file.U32(entry);
    const std::uint64_t offset = file.U32(entry + 4);
    const std::string place = "entry " + std::to_string(i);
    if (!file.Has(offset, 2) || file.I16(offset) < 0 ||
        !file.Has(offset + 2, static_cast<std::uint64_t>(file.I16(offset)))) {
      c.faults.Add(name, "word", place,
                   "its word at position " + std::to_string(offset) + " runs past the end of the file");
      previous.clear();
      continue;
    }
    const auto length = static_cast<std::uint64_t>(file.I16(offset));
    if (2 + length > budget) {
      c.faults.Add(name, "word", place, "the words so far take more bytes than the file holds: words overlap");
      break;
    }
    budget -= 2 + length;
    word.assign(reinterpret_cast<const char*>(file.At(offset + 2)), length);
    if (i > 0 && CompareWords(previous, word) > 0) {
      c.faults.Add(name, "word order", place + " (\"" + c.Text(word) + "\")",
                   "sorts before the word of the entry ahead of it, \"" + c.Text(previous) + "\"");
    }
    CheckKey(c, name, key, place + " (\"" + c.Text(word) + "\")");
    previous.swap(word);
  }
  c.out.checked.push_back(std::string(name) + ": " + std::to_string(count) + " words");
}

void CheckVerseSync(Checker& c) {
  if (c.book.GetSyncTypeFlag() != ORVA_VSYNC || !c.book.IsOpen(ORVA_VSYNC)) return;
  const char* name = "vsync.idx";
  const FileBytes file(c.PathOf(ORVA_VSYNC));
  const std::uint64_t at = file.VersionLength();
  sVSyncHeader header;
  if (!file.Loaded() || !file.Has(at, 2) || !file.ReadRecord(at, file.U16(at), header) ||
      header.wRecordLength < kShortestHeader || header.wBookRecordSize < sizeof(sVSyncBookRec) ||
      header.wVerseEntrySize < sizeof(sVSyncVerseRec)) {
    c.faults.Add(name, "header", "", "the header record cannot be read, or its records are shorter than their fields");
    return;
  }
  const std::uint64_t table = at + header.wRecordLength;
  if (header.wLastBook + 1 < header.wFirstBook) {
    c.faults.Add(name, "header", "",
                 "the last book, " + std::to_string(header.wLastBook) + ", lies more than one below the first, " +
                     std::to_string(header.wFirstBook));
  }
  std::uint64_t books = header.wLastBook >= header.wFirstBook ? header.wLastBook - header.wFirstBook + 1u : 0;
  if (!file.Has(table, books * header.wBookRecordSize)) {
    c.faults.Add(name, "table", "", "the table of " + std::to_string(books) + " books runs past the end of the file");
    books = file.Has(table, 0) ? (file.Size() - table) / header.wBookRecordSize : 0;
  }
  // Verse tables do not overlap, so together they take at most the file.
  std::uint64_t budget = file.Size();
  std::uint64_t verses = 0;
  for (std::uint64_t i = 0; i < books; ++i) {
    const int book = static_cast<int>(header.wFirstBook + i);
    sVSyncBookRec record;
    file.ReadRecord(table + i * header.wBookRecordSize, header.wBookRecordSize, record);
    const std::string place = "book " + std::to_string(book);
    const std::uint64_t bytes = static_cast<std::uint64_t>(record.wVerseCount) * header.wVerseEntrySize;
    if (record.dwVerseTableOffset == 0) {
      if (record.wVerseCount != 0) {
        c.faults.Add(name, "table", place, std::to_string(record.wVerseCount) + " verses, but no verse table");
      }
      continue;
    }
    if (!file.Has(record.dwVerseTableOffset, bytes)) {
      c.faults.Add(name, "table", place, "its verse table runs past the end of the file");
      continue;
    }
    if (bytes > budget) {
      c.faults.Add(name, "table", place, "the verse tables so far take more bytes than the file holds: tables overlap");
      break;
    }
    budget -= bytes;
    int previousChapter = -1, previousVerse = -1;
    for (std::uint64_t j = 0; j < record.wVerseCount; ++j) {
      sVSyncVerseRec verse;
      file.ReadRecord(record.dwVerseTableOffset + j * header.wVerseEntrySize, header.wVerseEntrySize, verse);
      const std::string here =
          "verse " + std::to_string(book) + "," + std::to_string(verse.wChapter) + "," + std::to_string(verse.wVerse);
      if (verse.wChapter < previousChapter || (verse.wChapter == previousChapter && verse.wVerse <= previousVerse)) {
        c.faults.Add(name, "order", here,
                     "follows verse " + std::to_string(book) + "," + std::to_string(previousChapter) + "," +
                         std::to_string(previousVerse) + ": a book's verses ascend by chapter and verse");
      }
      previousChapter = verse.wChapter;
      previousVerse = verse.wVerse;
      CheckVerseKey(c, book, verse.wChapter, verse.wVerse, verse.dwValue, here);
      ++verses;
    }
  }
  // Each verse above is one of verses.idx: the same number means the same verses.
  if (c.verses.known && static_cast<long long>(verses) != c.verses.verses) {
    c.faults.Add(name, "verse", "",
                 "it holds " + std::to_string(verses) + " verses, verses.idx " + std::to_string(c.verses.verses));
  }
  c.out.checked.push_back(std::string(name) + ": " + std::to_string(books) + " books, " + std::to_string(verses) +
                          " verses");
}

}  // namespace orva::query::check
