// The check of concord.idx: each language's word order, every key and position
// list, and how the lists agree with the word counts of sections.idx and the
// verses of verses.idx.
#include <set>
#include <string>
#include <vector>

#include "query/check_internal.h"

namespace orva::query::check {

namespace {

constexpr const char* kFile = "concord.idx";
constexpr std::uint16_t kByteLanguage = 1033;
constexpr std::uint64_t kMostPositions = 0xFFFF;
// The bitmap of which word numbers of each section the concordance lists is kept
// only up to this many bits (32 MiB); a book with more words goes without the
// check for words listed twice.
constexpr std::uint64_t kMostBits = 1ull << 28;

using List = std::vector<std::uint64_t>;

std::string Counted(std::uint64_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Which positions of each section key the concordance lists, and how many.
class PositionTally {
 public:
  // `wordCounts` per section key, -1 for unknown.
  void Start(const std::vector<int>& wordCounts) {
    m_counts.assign(wordCounts.size(), 0);
    m_first.assign(wordCounts.size() + 1, 0);
    std::uint64_t bits = 0;
    for (size_t k = 0; k < wordCounts.size(); ++k) {
      m_first[k] = bits;
      bits += wordCounts[k] > 0 ? static_cast<std::uint64_t>(wordCounts[k]) : 0;
    }
    m_first.back() = bits;
    if (bits <= kMostBits) m_seen.assign(bits, false);
  }
  // Adds the positions of one word at section key `key` (each 1 ... its word
  // count); returns the first position another word listed already, or 0.
  std::uint64_t Add(std::uint64_t key, const List& positions) {
    m_counts[key] += positions.size();
    if (m_seen.empty()) return 0;
    std::uint64_t twice = 0;
    for (std::uint64_t p : positions) {
      const std::uint64_t bit = m_first[key] + p - 1;
      if (m_seen[bit] && twice == 0) twice = p;
      m_seen[bit] = true;
    }
    return twice;
  }
  std::uint64_t Count(size_t key) const { return m_counts[key]; }

 private:
  std::vector<std::uint64_t> m_counts;
  std::vector<std::uint64_t> m_first;
  std::vector<bool> m_seen;
};

class ConcordanceCheck {
 public:
  ConcordanceCheck(Checker& c, const FileBytes& file, const sConcordHeader& header, std::uint32_t keyRange)
      : m_c(c), m_file(file), m_header(header), m_keyRange(keyRange), m_lists(file) {}

  void CheckLanguage(const sLanguageRec& language, bool tallied) {
    m_language = language;
    m_tallied = tallied;
    const std::string place = "language " + std::to_string(language.wLanguageID);
    const unsigned minimum = m_header.byCoded ? 16 : 18;
    if (language.wWordRecSize < minimum) {
      m_c.faults.Add(kFile, "language", place,
                     "word records of " + std::to_string(language.wWordRecSize) + " bytes, fewer than the " +
                         std::to_string(minimum) + " of a word");
      return;
    }
    if (!m_file.Has(language.dwWordTableOffset,
                    static_cast<std::uint64_t>(language.dwWordCount) * language.wWordRecSize)) {
      m_c.faults.Add(kFile, "language", place,
                     "its table of " + std::to_string(language.dwWordCount) + " words runs past the end of the file");
      return;
    }
    if (m_c.book.SelectCurrentLanguage(language.wLanguageID, nullptr) != 0) {
      m_c.faults.Add(kFile, "language", place, "the library cannot select it");
      return;
    }
    m_haveWord = false;
    m_wordBytes = 0;
    m_wordsOverlap = false;
    for (std::uint32_t k = 0; k < language.dwWordCount && !m_lists.OverBudget(); ++k) CheckWord(static_cast<int>(k));
    m_words += language.dwWordCount;
  }

  // Compares what the lists say about each section with sections.idx and
  // verses.idx: each key the concordance lists is a verse, and it lists every
  // word the section's word count counts.
  void CheckAgreement() {
    const SectionFacts& sections = m_c.sections;
    for (size_t k = 0; k < static_cast<size_t>(sections.sections); ++k) {
      const std::uint64_t listed = m_tally.Count(k);
      const bool verse = m_c.verses.known && !m_c.verses.reverse ? m_c.verses.isVerse[k] != 0 : listed > 0;
      const int words = sections.wordCounts[k];
      if (listed > 0 && !verse) {
        m_c.faults.Add(kFile, "agreement", [&](BookFault& f) {
          f.place = m_c.KeyPlace(k);
          f.message = "the concordance lists " + Counted(listed, "word") + " there, but verses.idx no verse";
        });
      } else if (verse && words >= 0 && static_cast<std::uint64_t>(words) < kMostPositions &&
                 listed != static_cast<std::uint64_t>(words)) {
        m_c.faults.Add(kFile, "word count", [&](BookFault& f) {
          f.place = m_c.KeyPlace(k);
          f.message = "the concordance lists " + Counted(listed, "word") + " there, sections.idx counts " +
                      std::to_string(words);
        });
      }
    }
  }

  void StartTally() { m_tally.Start(m_c.sections.wordCounts); }
  long long Words() const { return m_words; }
  long long Keys() const { return m_keys; }
  long long Positions() const { return m_positions; }

 private:
  std::string WordPlace(int k) const {
    return m_haveWord ? "word \"" + ToUtf8(m_word) + "\"" : "word " + std::to_string(k);
  }

  void Fault(const char* kind, int k, const std::string& message) {
    m_c.faults.Add(kFile, kind, [&](BookFault& f) {
      f.place = WordPlace(k);
      f.message = message;
    });
  }
  void Fault(const char* kind, int k, std::uint64_t key, const std::string& message) {
    m_c.faults.Add(kFile, kind, [&](BookFault& f) {
      f.place = WordPlace(k) + ", " + m_c.KeyPlace(key);
      f.message = message;
    });
  }

  // The word through the library, in order after the one before it.
  void CheckWordOrder(int k, std::uint64_t entry, std::uint64_t textBytes) {
    // Word entries do not overlap, so together they take at most the file.
    if (m_wordsOverlap) return;
    m_wordBytes += 2 + textBytes;
    if (m_wordBytes > m_file.Size()) {
      m_wordsOverlap = true;
      m_haveWord = false;
      Fault("word", k,
            "the word entries so far take more bytes than the file holds: entries overlap (the words "
            "after this one are not compared)");
      return;
    }
    cLanguageString word;
    try {
      m_c.book.GetWord(k, word);
    } catch (CException* e) {
      m_haveWord = false;
      Fault("word", k, "its entry at position " + std::to_string(entry) + " cannot be read: " + DescribeAndDelete(e));
      return;
    }
    if (m_haveWord) {
      const int order = word.Compare(m_word, 0, 1);
      if (order <= 0) {
        const std::string before = ToUtf8(m_word);
        m_word = word;
        Fault("word order", k,
              order == 0 ? "stands twice in the word list" : "sorts before the word ahead of it, \"" + before + "\"");
        return;
      }
    }
    m_word = word;
    m_haveWord = true;
  }

  void CheckWord(int k) {
    sWordListRec record;
    m_file.ReadRecord(m_language.dwWordTableOffset + static_cast<std::uint64_t>(k) * m_language.wWordRecSize,
                      m_language.wWordRecSize, record);
    const std::uint64_t entry = record.dwEntryOffset;
    const std::uint64_t width = m_language.wLanguageID == kByteLanguage ? 1 : 2;
    if (!m_file.Has(entry, 2) || m_file.I16(entry) < 0 ||
        !m_file.Has(entry + 2, width * static_cast<std::uint64_t>(m_file.I16(entry)))) {
      m_haveWord = false;
      Fault("word", k, "its entry at position " + std::to_string(entry) + " runs past the end of the file");
      return;
    }
    const std::uint64_t textBytes = width * static_cast<std::uint64_t>(m_file.I16(entry));
    CheckWordOrder(k, entry, textBytes);

    List keys;
    if (!ReadKeys(k, record, entry + 2 + textBytes, keys)) return;
    List offsets;
    if (!ReadPositionOffsets(k, record, keys.size(), offsets)) return;
    m_keys += static_cast<long long>(keys.size());
    List positions;
    for (size_t i = 0; i < keys.size() && !m_lists.OverBudget(); ++i) CheckPositions(k, keys[i], offsets[i], positions);
  }

  bool ReadKeys(int k, const sWordListRec& record, std::uint64_t at, List& keys) {
    const std::uint64_t count = m_header.byCoded
                                    ? record.dwKeyCount
                                    : static_cast<std::uint64_t>(record.dwKeyCount) + record.lists.plain.wKey16Count;
    if (count == 0) {
      Fault("key", k, "it has no key");
      return false;
    }
    ListReader::Result result;
    if (m_header.byCoded) {
      result = m_lists.Coded(at, record.dwKeyCount, record.dwKeyCount, m_keyRange, nullptr, keys);
    } else {
      result = m_lists.Plain(at, record.lists.plain.wKey16Count, 2, keys);
      if (result == ListReader::kRead)
        result = m_lists.Plain(at + 2ull * record.lists.plain.wKey16Count, record.dwKeyCount, 4, keys);
    }
    if (result != ListReader::kRead) {
      Fault("key", k, std::string("its key list ") + ListFailure(result));
      return false;
    }
    if (const long long at = FirstNotAscending(keys); at >= 0) {
      Fault("key", k,
            "its key list does not ascend: " + std::to_string(keys[at]) + " after " + std::to_string(keys[at - 1]));
      return false;
    }
    for (std::uint64_t key : keys) {
      if (m_header.byCoded && key >= m_keyRange) {
        Fault("key", k, "key " + std::to_string(key) + " lies outside the key range " + std::to_string(m_keyRange));
        return false;
      }
      if (m_c.sections.known && !m_c.sections.IsEntry(key)) {
        Fault("key", k, "key " + std::to_string(key) + " names no entry of sections.idx");
        return false;
      }
    }
    return true;
  }

  // The file position of each key's position list.
  bool ReadPositionOffsets(int k, const sWordListRec& record, std::uint64_t keys, List& offsets) {
    ListReader::Result result = ListReader::kPastEnd;
    if (!m_header.byCoded) {
      result = m_lists.Plain(record.lists.plain.dwPositionTable, keys, 4, offsets);
    } else {
      // The span and the first offset, then the offsets between as gaps from it.
      const std::uint64_t at = record.lists.coded.dwPositionDirectory;
      const std::uint64_t head = keys > 1 ? 8 : 4;
      if (m_file.Has(at, head)) {
        const std::uint64_t span = keys > 1 ? m_file.U32(at) : 0;
        const std::uint64_t first = m_file.U32(at + head - 4);
        const auto count = static_cast<std::uint32_t>(keys);
        result = keys > 2
                     ? m_lists.Coded(at + head, count, count - 2, static_cast<std::uint32_t>(span), &first, offsets)
                     : ListReader::kRead;
        offsets.insert(offsets.begin(), first);
        if (keys > 1) offsets.push_back(first + span);
      }
    }
    if (result != ListReader::kRead) {
      Fault("position", k, std::string("its table of position lists ") + ListFailure(result));
      return false;
    }
    return true;
  }

  void CheckPositions(int k, std::uint64_t key, std::uint64_t at, List& positions) {
    positions.clear();
    ListReader::Result result = ListReader::kPastEnd;
    if (m_header.byCoded) {
      if (m_file.Has(at, 2)) {
        const std::uint32_t count = m_file.U16(at);
        result = count == 0 ? ListReader::kRead
                            : m_lists.Coded(at + 2, count, count, m_language.wPositionRange, nullptr, positions);
      }
    } else if (m_file.Has(at, 3)) {
      const std::uint8_t bytes = m_file.U8(at);
      result = m_lists.Plain(at + 3, bytes, 1, positions);
      if (result == ListReader::kRead) result = m_lists.Plain(at + 3 + bytes, m_file.U16(at + 1), 2, positions);
    }
    if (result != ListReader::kRead) {
      Fault("position", k, key, std::string("its position list ") + ListFailure(result));
      return;
    }
    m_positions += static_cast<long long>(positions.size());
    if (positions.empty() || positions.size() > kMostPositions) {
      Fault("position", k, key, "lists " + Counted(positions.size(), "position") + ", not 1 to 65535");
      return;
    }
    if (const long long i = FirstNotAscending(positions); i >= 0) {
      Fault("position", k, key,
            "its positions do not ascend: " + std::to_string(positions[i]) + " after " +
                std::to_string(positions[i - 1]));
      return;
    }
    const std::uint64_t range = m_language.wPositionRange;
    const std::uint64_t last = positions.back();
    if (last > kMostPositions || (m_header.byCoded && last >= range && range != kMostPositions)) {
      Fault("position", k, key,
            "position " + std::to_string(last) + " lies outside the position range " + std::to_string(range) + " (" +
                Counted(positions.size(), "position") + ")");
      return;
    }
    if (!m_c.sections.IsSection(key)) return;
    const int words = m_c.sections.wordCounts[key];
    if (words >= 0 && (positions.front() < 1 || last > static_cast<std::uint64_t>(words))) {
      Fault("position", k, key,
            "position " + std::to_string(positions.front() < 1 ? positions.front() : last) + " is not one of the " +
                Counted(static_cast<std::uint64_t>(words), "word") + " there (" +
                Counted(positions.size(), "position") + ")");
      return;
    }
    if (!m_tallied || words < 0) return;
    if (const std::uint64_t twice = m_tally.Add(key, positions)) {
      Fault("position", k, key, "position " + std::to_string(twice) + " is listed for another word too");
    }
  }

  Checker& m_c;
  const FileBytes& m_file;
  const sConcordHeader& m_header;
  const std::uint32_t m_keyRange;
  ListReader m_lists;
  PositionTally m_tally;
  sLanguageRec m_language{};
  bool m_tallied = false;
  // The word last read through the library, for the order of the next.
  cLanguageString m_word;
  bool m_haveWord = false;
  std::uint64_t m_wordBytes = 0;
  bool m_wordsOverlap = false;
  long long m_words = 0, m_keys = 0, m_positions = 0;
};

}  // namespace

void CheckConcordance(Checker& c) {
  if (!c.book.IsOpen(ORVA_CONCORD)) return;
  const FileBytes file(c.PathOf(ORVA_CONCORD));
  const std::uint64_t at = file.VersionLength();
  sConcordHeader header;
  if (!file.Loaded() || !file.Has(at, 2) || !file.ReadRecord(at, file.U16(at), header)) {
    c.faults.Add(kFile, "header", "", "the header record cannot be read");
    return;
  }
  std::uint64_t table = at + header.wRecordLength;
  std::uint32_t keyRange = 0;
  if (header.byCoded) {
    if (!file.Has(table, 4)) {
      c.faults.Add(kFile, "header", "", "the key range lies past the end of the file");
      return;
    }
    keyRange = file.U32(table);
    table += 4;
  }
  if (header.wLanguageRecSize < 14 ||
      !file.Has(table, static_cast<std::uint64_t>(header.wLanguageCount) * header.wLanguageRecSize)) {
    c.faults.Add(kFile, "header", "", "the language table cannot be read");
    return;
  }

  const unsigned short current = c.book.GetCurrentLanguage();
  ConcordanceCheck check(c, file, header, keyRange);
  // The word counts of sections count the words of one language.
  const bool tallied = header.wLanguageCount == 1 && c.sections.known;
  if (tallied) check.StartTally();
  std::set<unsigned> seen;
  for (unsigned i = 0; i < header.wLanguageCount; ++i) {
    sLanguageRec language;
    file.ReadRecord(table + static_cast<std::uint64_t>(i) * header.wLanguageRecSize, header.wLanguageRecSize, language);
    if (language.wLanguageID == 0 || !seen.insert(language.wLanguageID).second) {
      c.faults.Add(kFile, "language", "language " + std::to_string(language.wLanguageID),
                   language.wLanguageID == 0 ? "0 names no language" : "it stands twice in the language table");
      continue;
    }
    check.CheckLanguage(language, tallied);
  }
  if (tallied) check.CheckAgreement();
  c.book.SelectCurrentLanguage(current, nullptr);
  c.out.checked.push_back("concord.idx: " + std::to_string(header.wLanguageCount) + " language" +
                          (header.wLanguageCount == 1 ? "" : "s") + ", " + std::to_string(check.Words()) + " words, " +
                          std::to_string(check.Keys()) + " keys, " + std::to_string(check.Positions()) +
                          " positions, " + (header.byCoded ? "coded" : "plain") + " lists");
}

}  // namespace orva::query::check
