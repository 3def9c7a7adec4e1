// The check of verses.idx: its tables ascend, its occurrence lists ascend and
// name sections (or, in a book that is no Bible, entries), and the lists of all
// chapters and all verses hold exactly the lists below them.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "query/check_internal.h"

namespace orva::query::check {

namespace {

constexpr const char* kFile = "verses.idx";
using List = std::vector<std::uint64_t>;

class VersesCheck {
 public:
  VersesCheck(Checker& c, const FileBytes& file, const sVersesHeader& header)
      : m_c(c), m_file(file), m_header(header), m_lists(file), m_recordBudget(file.Size() / 6 + 1) {}

  void Run() {
    const std::uint64_t table = static_cast<std::uint64_t>(m_file.VersionLength()) + m_header.wRecordLength;
    int previous = -1;
    ForEachRecord(table, m_header.wBookCount, m_header.wBookRecSize, "", "book", [&](std::uint64_t at) {
      sBookRec book;
      m_file.ReadRecord(at, m_header.wBookRecSize, book);
      CheckOrder(previous, book.wBook, "book " + std::to_string(book.wBook), "book");
      CheckBook(book);
      ++m_books;
    });
  }

  long long Books() const { return m_books; }
  long long Chapters() const { return m_chapters; }
  long long Verses() const { return m_verses; }

 private:
  // Calls `visit` with the position of each of `count` records of `size` bytes
  // at `table`. Records of all tables together are bounded by the file's size,
  // as tables that do not overlap are.
  template <class Visit>
  bool ForEachRecord(std::uint64_t table, std::uint64_t count, std::uint64_t size, const std::string& place,
                     const char* what, Visit visit) {
    if (!m_file.Has(table, count * size)) {
      m_c.faults.Add(
          kFile, "table", place,
          std::string("its ") + what + " table of " + std::to_string(count) + " records runs past the end of the file");
      return false;
    }
    if (count > m_recordBudget) {
      m_c.faults.Add(kFile, "table", place, "the tables so far take more records than the file holds: tables overlap");
      m_recordBudget = 0;
      return false;
    }
    m_recordBudget -= count;
    for (std::uint64_t i = 0; i < count; ++i) visit(table + i * size);
    return true;
  }

  void CheckOrder(int& previous, int number, const std::string& place, const char* what) {
    if (previous >= number) {
      m_c.faults.Add(kFile, "order", place,
                     std::string("follows ") + what + " " + std::to_string(previous) + ": the table must ascend");
    }
    previous = number;
  }

  // The list at `offset`; nullopt for none (offset 0), and after a fault when it
  // cannot be read.
  std::optional<List> ReadList(std::uint32_t offset, const std::string& place, const char* what) {
    if (offset == 0) return std::nullopt;
    const std::string its = std::string("its ") + what + " list ";
    if (!m_file.Has(offset, 4)) {
      m_c.faults.Add(kFile, "list", place, its + "runs past the end of the file");
      return std::nullopt;
    }
    const std::uint32_t count = m_file.U32(offset);
    if (m_header.byCoded && count == 0) {
      m_c.faults.Add(kFile, "list", place, its + "is a coded list of no values");
      return std::nullopt;
    }
    List list;
    const ListReader::Result result =
        m_header.byCoded ? m_lists.Coded(offset + 4ull, count, count, m_header.wOccurrenceRange, nullptr, list)
                         : m_lists.Plain(offset + 4ull, count, 4, list);
    if (result != ListReader::kRead) {
      m_c.faults.Add(kFile, "list", place, its + ListFailure(result));
      return std::nullopt;
    }
    if (const long long at = FirstNotAscending(list); at >= 0) {
      m_c.faults.Add(kFile, "list", place,
                     its + "does not ascend: " + std::to_string(list[at]) + " after " + std::to_string(list[at - 1]));
    }
    for (std::uint64_t key : list) {
      const bool named = m_c.verses.reverse ? m_c.sections.IsEntry(key) : m_c.sections.IsSection(key);
      if (m_c.sections.known && !named) {
        m_c.faults.Add(kFile, "list", place,
                       its + "holds " + std::to_string(key) + ", which is no " +
                           (m_c.verses.reverse ? "entry key" : "section key"));
        break;
      }
    }
    return list;
  }

  // Appends `list` to `parts`; a list missing or unreadable leaves `parts` incomplete.
  static void Gather(const std::optional<List>& list, List& parts, bool& complete) {
    if (list)
      parts.insert(parts.end(), list->begin(), list->end());
    else
      complete = false;
  }

  // `all` (when the index has it) must hold exactly the values of `parts`, each
  // once: a verse that covers several numbers is listed under each of them.
  void CheckUnion(const std::optional<List>& all, List parts, bool complete, const std::string& place,
                  const char* what) {
    if (!all || !complete) return;
    std::sort(parts.begin(), parts.end());
    parts.erase(std::unique(parts.begin(), parts.end()), parts.end());
    if (*all != parts) {
      m_c.faults.Add(kFile, "union", place,
                     std::string("its ") + what + " list holds " + std::to_string(all->size()) + " keys, not the " +
                         std::to_string(parts.size()) + " of the lists below it");
    }
  }

  void CheckBook(const sBookRec& book) {
    const std::string place = "book " + std::to_string(book.wBook);
    ReadList(book.dwBookList, place, "book");
    const std::optional<List> allChapters = ReadList(book.dwAllChaptersList, place, "all-chapters");
    const std::optional<List> allVerses = ReadList(book.dwAllVersesList, place, "all-verses");
    List chapterLists, verseLists;
    bool chaptersComplete = true, versesComplete = true;
    int previous = -1;
    const bool whole = ForEachRecord(
        book.dwChapterTable, book.wChapterCount, m_header.wChapterRecSize, place, "chapter", [&](std::uint64_t at) {
          sChapterRec chapter;
          m_file.ReadRecord(at, m_header.wChapterRecSize, chapter);
          const std::string here = place + ", chapter " + std::to_string(chapter.wChapter);
          CheckOrder(previous, chapter.wChapter, here, "chapter");
          Gather(ReadList(chapter.dwChapterList, here, "chapter"), chapterLists, chaptersComplete);
          const std::optional<List> chapterVerses = ReadList(chapter.dwAllVersesList, here, "all-verses");
          Gather(chapterVerses, verseLists, versesComplete);
          CheckChapterVerses(book.wBook, chapter, chapterVerses);
          ++m_chapters;
        });
    CheckUnion(allChapters, std::move(chapterLists), whole && chaptersComplete, place, "all-chapters");
    CheckUnion(allVerses, std::move(verseLists), whole && versesComplete, place, "all-verses");
  }

  void CheckChapterVerses(int bookNumber, const sChapterRec& chapter, const std::optional<List>& allVerses) {
    const std::string place = "book " + std::to_string(bookNumber) + ", chapter " + std::to_string(chapter.wChapter);
    List verseLists;
    bool complete = true;
    int previous = -1;
    const bool whole = ForEachRecord(
        chapter.dwVerseTable, chapter.wVerseCount, m_header.wVerseRecSize, place, "verse", [&](std::uint64_t at) {
          sVerseRec verse;
          m_file.ReadRecord(at, m_header.wVerseRecSize, verse);
          const std::string here = "verse " + std::to_string(bookNumber) + "," + std::to_string(chapter.wChapter) +
                                   "," + std::to_string(verse.wVerse);
          CheckOrder(previous, verse.wVerse, here, "verse");
          const std::optional<List> list = ReadList(verse.dwVerseList, here, "verse");
          if (list && !m_c.verses.reverse) {
            for (std::uint64_t key : *list) {
              if (m_c.sections.IsSection(key)) m_c.verses.isVerse[key] = 1;
            }
          }
          Gather(list, verseLists, complete);
          ++m_verses;
        });
    CheckUnion(allVerses, std::move(verseLists), whole && complete, place, "all-verses");
  }

  Checker& m_c;
  const FileBytes& m_file;
  const sVersesHeader& m_header;
  ListReader m_lists;
  std::uint64_t m_recordBudget;  // records a table may still take: verse records are 6 bytes at least
  long long m_books = 0, m_chapters = 0, m_verses = 0;
};

}  // namespace

void CheckVerses(Checker& c) {
  if (!c.book.IsOpen(ORVA_VERSES)) return;
  const FileBytes file(c.PathOf(ORVA_VERSES));
  const std::uint64_t at = file.VersionLength();
  sVersesHeader header;
  if (!file.Loaded() || !file.Has(at, 2) || !file.ReadRecord(at, file.U16(at), header)) {
    c.faults.Add(kFile, "header", "", "the header record cannot be read");
    return;
  }
  if (header.wBookRecSize < sizeof(sBookRec) || header.wChapterRecSize < sizeof(sChapterRec) ||
      header.wVerseRecSize < sizeof(sVerseRec)) {
    c.faults.Add(kFile, "header", "",
                 "records of " + std::to_string(header.wBookRecSize) + ", " + std::to_string(header.wChapterRecSize) +
                     " and " + std::to_string(header.wVerseRecSize) +
                     " bytes, fewer than the 20, 16 and 6 of book, chapter and verse records");
    return;
  }
  c.verses.known = true;
  c.verses.reverse = c.book.GetSyncTypeFlag() != ORVA_VSYNC;
  c.verses.isVerse.assign(static_cast<size_t>(c.sections.sections), 0);
  VersesCheck check(c, file, header);
  check.Run();
  c.verses.verses = check.Verses();
  c.out.checked.push_back("verses.idx: " + std::to_string(check.Books()) + " books, " +
                          std::to_string(check.Chapters()) + " chapters, " + std::to_string(check.Verses()) +
                          " verses, " + (header.byCoded ? "coded" : "plain") + " lists");
}

}  // namespace orva::query::check
