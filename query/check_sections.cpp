// The check of sections.idx: links, levels, book keys and key ranges of every
// entry, and the tables after the entries.
#include <string>
#include <vector>

#include "query/check_internal.h"

namespace orva::query::check {

namespace {

constexpr const char* kFile = "sections.idx";
constexpr int kBroken = -2;  // a link that is not the position of an entry

struct Entry {
  bool read = false;
  int parent = -1, prev = -1, next = -1;
  int level = 0;
  int bookKey = 0;
  int levelCount = 0;
};

const char* const kLinkNames[] = {"parent", "previous-sibling", "next-sibling"};

class SectionsCheck {
 public:
  SectionsCheck(Checker& c, const FileBytes& file, const sSectionsHeader& header)
      : m_c(c),
        m_file(file),
        m_header(header),
        m_sections(header.lSectionCount),
        m_entries(static_cast<long long>(header.lSectionCount) + header.lGlossaryCount),
        m_first(static_cast<std::uint64_t>(file.VersionLength()) + header.wRecordLength),
        m_entry(static_cast<size_t>(m_entries)) {}

  void Run() {
    for (long long k = 0; k < m_entries; ++k) ReadEntry(static_cast<int>(k));
    CheckTree();
    CheckGlossary();
    CheckBookKeys();
    for (long long k = 0; k + 1 < m_sections; ++k) {
      m_c.sections.hasChild[k] = m_entry[k + 1].level > m_entry[k].level;
    }
  }

 private:
  std::string Name(int key) { return key == -1 ? std::string("none") : m_c.KeyPlace(static_cast<std::uint64_t>(key)); }

  void Fault(int key, const char* kind, const std::string& message) {
    m_c.faults.Add(kFile, kind, [&](BookFault& f) {
      f.place = m_c.KeyPlace(static_cast<std::uint64_t>(key));
      f.message = message;
    });
  }

  // The record's own link fields, to tell a link that is the position of an
  // entry from one that only rounds down to it.
  void CheckLinkPositions(int key, Entry& e) {
    const std::uint64_t record = m_first + static_cast<std::uint64_t>(key) * m_header.wRecordSize;
    int* keys[] = {&e.parent, &e.prev, &e.next};
    for (int i = 0; i < 3; ++i) {
      const std::uint64_t field = record + 4 * static_cast<unsigned>(i);
      if (4 * (i + 1) > m_header.wRecordSize || !m_file.Has(field, 4)) continue;
      const std::uint64_t link = m_file.U32(field);
      if (link == 0) continue;
      const std::uint64_t size = m_header.wRecordSize;
      if (link < m_first || (link - m_first) % size != 0 ||
          (link - m_first) / size >= static_cast<std::uint64_t>(m_entries)) {
        *keys[i] = kBroken;
        Fault(key, "link",
              std::string("its ") + kLinkNames[i] + " link, position " + std::to_string(link) +
                  ", is not the position of an entry");
      }
    }
  }

  void ReadEntry(int key) {
    cSectionsData d;
    try {
      m_c.book.GetEntry(key, d);
    } catch (CException* e) {
      m_c.faults.Add(kFile, "entry", "key " + std::to_string(key), "cannot be read: " + DescribeAndDelete(e));
      return;
    }
    Entry& e = m_entry[key];
    e.read = true;
    e.parent = d.GetParentKey();
    e.prev = d.GetPrevKey();
    e.next = d.GetNextKey();
    e.level = d.GetLevel();
    e.bookKey = d.GetBookKey();
    e.levelCount = d.GetLevelCount();
    CheckLinkPositions(key, e);
  }

  void Expect(int key, int link, int expected, int which) {
    if (link == kBroken || link == expected) return;
    Fault(key, "link",
          std::string("its ") + kLinkNames[which] + " link names " + Name(link) + ", but its " +
              (which == 0   ? "parent"
               : which == 1 ? "previous sibling"
                            : "next sibling") +
              " is " + Name(expected));
  }

  // Sections are stored depth first: each follows its parent or a section on its
  // own level or above, one level at most below the one before it. So the
  // levels alone say each section's parent and siblings.
  void CheckTree() {
    std::vector<int> lastOnLevel(256, -1);  // the section last seen on each level, under the current parents
    std::vector<int> expectedNext(static_cast<size_t>(m_sections), -1);
    int previousLevel = 0;
    for (int k = 0; k < m_sections; ++k) {
      const Entry& e = m_entry[k];
      if (!e.read) {
        previousLevel = 0;
        continue;
      }
      if (e.level == 0 || (k == 0 && e.level != 1)) {
        Fault(k, "level",
              "level " + std::to_string(e.level) + ", but " +
                  (k == 0 ? "the first section is on level 1" : "sections begin on level 1"));
        continue;
      }
      if (previousLevel > 0 && e.level > previousLevel + 1) {
        Fault(k, "level",
              "level " + std::to_string(e.level) + " right after a section on level " + std::to_string(previousLevel) +
                  ": a level is skipped");
      }
      previousLevel = e.level;
      const int parent = e.level > 1 ? lastOnLevel[e.level - 1] : -1;
      const int prev = lastOnLevel[e.level];
      Expect(k, e.parent, parent, 0);
      Expect(k, e.prev, prev, 1);
      if (prev >= 0) expectedNext[prev] = k;
      lastOnLevel[e.level] = k;
      for (int level = e.level + 1; level < 256 && lastOnLevel[level] != -1; ++level) lastOnLevel[level] = -1;
    }
    for (int k = 0; k < m_sections; ++k) {
      if (m_entry[k].read && m_entry[k].level > 0) Expect(k, m_entry[k].next, expectedNext[k], 2);
    }
  }

  // The glossary entries are one chain in key order, under no parent.
  void CheckGlossary() {
    for (long long k = m_sections; k < m_entries; ++k) {
      const Entry& e = m_entry[k];
      if (!e.read) continue;
      const int key = static_cast<int>(k);
      Expect(key, e.parent, -1, 0);
      Expect(key, e.prev, k == m_sections ? -1 : key - 1, 1);
      Expect(key, e.next, k + 1 == m_entries ? -1 : key + 1, 2);
    }
  }

  // A book's entries share a book key, and the key changes where the next book
  // begins: the key range of an entry runs over its neighbours with its book key,
  // and begins where its level count leads back to.
  void CheckBookKeys() {
    long long bookStart = 0;
    for (long long k = 0; k < m_entries; ++k) {
      const Entry& e = m_entry[k];
      const int key = static_cast<int>(k);
      if (!e.read) continue;
      const bool sameAsBefore = k > 0 && m_entry[k - 1].read && m_entry[k - 1].bookKey == e.bookKey;
      if (!sameAsBefore) bookStart = k;
      const bool startsBook = k == m_sections || (k < m_sections && e.level == 1);
      if (startsBook && sameAsBefore) {
        Fault(key, "book key",
              "book key " + std::to_string(e.bookKey) + ", that of the entry before it: " +
                  (k == m_sections ? "the glossary" : "a top-level section") + " begins a key range of its own");
      } else if (k < m_sections && e.level > 1 && e.parent >= 0 && m_entry[e.parent].read &&
                 m_entry[e.parent].bookKey != e.bookKey) {
        Fault(key, "book key",
              "book key " + std::to_string(e.bookKey) + ", where its parent has " +
                  std::to_string(m_entry[e.parent].bookKey));
      }
      // Level counts are 16-bit: they lead back modulo 2^16.
      if (static_cast<std::int16_t>(k - bookStart) != e.levelCount) {
        Fault(key, "level count",
              "level count " + std::to_string(e.levelCount) + " leads back to key " + std::to_string(k - e.levelCount) +
                  ", but its book key begins at key " + std::to_string(bookStart));
      }
    }
  }

  Checker& m_c;
  const FileBytes& m_file;
  const sSectionsHeader& m_header;
  const long long m_sections, m_entries;
  const std::uint64_t m_first;
  std::vector<Entry> m_entry;
};

// The non-Bible list and the word-count table; the word counts go to the facts.
void CheckTables(Checker& c, const FileBytes& file, const sSectionsHeader& header) {
  const long long sections = header.lSectionCount;
  try {
    CWordArray nonBible;
    c.book.GetNonBibleSections(nonBible);
  } catch (CException* e) {
    c.faults.Add(kFile, "table", "", "the non-Bible list cannot be read: " + DescribeAndDelete(e));
  }
  // Both tables follow the entries (the non-Bible list ends where the word
  // counts begin).
  const std::uint64_t entriesEnd = file.VersionLength() + static_cast<std::uint64_t>(header.wRecordLength) +
                                   static_cast<std::uint64_t>(c.sections.entries) * header.wRecordSize;
  if (header.dwNonBibleOffset != header.dwWordCountOffset && header.dwNonBibleOffset < entriesEnd) {
    c.faults.Add(kFile, "table", "", "the non-Bible list lies inside the entry table");
  }
  if (header.dwWordCountOffset == 0) return;
  if (header.dwWordCountOffset < entriesEnd) {
    c.faults.Add(kFile, "table", "", "the word-count table lies inside the entry table");
    return;
  }
  if (!file.Has(header.dwWordCountOffset, 2 * static_cast<std::uint64_t>(sections))) {
    c.faults.Add(kFile, "table", "", "the word-count table runs past the end of the file");
    return;
  }
  for (long long k = 0; k < sections; ++k) c.sections.wordCounts[k] = c.book.SectionWordCount(static_cast<int>(k));
}

}  // namespace

void CheckSections(Checker& c) {
  if (!c.book.IsOpen(ORVA_SECTIONS)) return;
  sSectionsHeader header{};
  c.book.GetSectionHeader(&header);
  const FileBytes file(c.PathOf(ORVA_SECTIONS));
  // The library refuses to open an index with negative counts or a table past
  // the end of the file, so the counts bound what follows.
  if (!file.Loaded() || header.lSectionCount < 0 || header.lGlossaryCount < 0) {
    c.faults.Add(kFile, "header", "", "the header cannot be read");
    return;
  }
  c.sections.known = true;
  c.sections.sections = header.lSectionCount;
  c.sections.entries = static_cast<long long>(header.lSectionCount) + header.lGlossaryCount;
  c.sections.wordCounts.assign(static_cast<size_t>(header.lSectionCount), -1);
  c.sections.hasChild.assign(static_cast<size_t>(header.lSectionCount), 0);
  CheckTables(c, file, header);
  SectionsCheck(c, file, header).Run();
  c.out.checked.push_back("sections.idx: " + std::to_string(header.lSectionCount) + " sections, " +
                          std::to_string(header.lGlossaryCount) + " glossary entries");
}

}  // namespace orva::query::check
