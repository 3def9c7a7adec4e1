// A small concordance for the concordance suites, in each of its layouts, and a
// fixture that writes it and opens it in a book object.
#pragma once

#include <string>
#include <vector>

#include "tests/lang_test_support.h"
#include "tests/test_support.h"
#include "writer/concord_writer.h"

namespace orva::test {

enum : unsigned short { kFrench = 1036, kSpanish = 1034 };

// The layouts of the lists: plain with narrow fields where values fit (16-bit keys,
// byte positions), plain with wide fields only, and coded.
enum class Lists { kNarrow, kWide, kCoded };
inline const Lists kAllLists[] = {Lists::kNarrow, Lists::kWide, Lists::kCoded};

inline writer::ConcordWord Word(std::u16string text, std::vector<std::uint32_t> keys,
                                std::vector<std::vector<std::uint16_t>> positions) {
  writer::ConcordWord word;
  word.text = std::move(text);
  word.keys = std::move(keys);
  word.positions = std::move(positions);
  return word;
}

// English (given unsorted; word keys 0 apple, 1 Babel, 2 cedar, 3 dove, 4 eden),
// German (0 Ähre, 1 Wort, 2 Zeit) and French without words. Keys of 65536 and
// above and positions of 256 and above sit behind smaller ones; position
// directories hold one, two and five keys.
inline writer::ConcordDescription SmallConcordance(Lists lists) {
  writer::ConcordDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  d.coded = lists == Lists::kCoded;
  d.narrowPlain = lists == Lists::kNarrow;
  writer::ConcordLanguage english;
  english.words = {Word(u"eden", {4, 9}, {{1}, {2}}),
                   Word(u"Babel", {5}, {{7}}),
                   Word(u"apple", {3, 70000}, {{1, 300}, {2}}),
                   Word(u"dove", {2}, {{1}}),
                   Word(u"cedar", {1, 2, 3, 100000, 200000}, {{4}, {1, 2, 255, 256, 1000}, {9}, {60000}, {5, 6}})};
  for (size_t i = 0; i < english.words.size(); ++i) english.words[i].data = 0xA0 + static_cast<std::uint32_t>(i);
  writer::ConcordLanguage german;
  german.id = kGerman;
  german.words = {Word(u"Wort", {7}, {{3}}), Word(u"Zeit", {1}, {{1}}), Word(u"\u00C4hre", {8, 9}, {{1}, {2}})};
  d.languages = {english, german, writer::EmptyLanguage(kFrench)};
  return d;
}

class ConcordTest : public OneIndexTest {
 protected:
  // Writes the concordance and opens it in m_book; the result of Open.
  int Write(const writer::ConcordDescription& d, writer::ConcordLayout* layout = nullptr) {
    return WriteBytes(writer::EncodeConcordIndex(d, layout));
  }
  int WriteBytes(const std::vector<std::uint8_t>& bytes) { return Reopen(ORVA_CONCORD, bytes); }
  cConcordFile& File() { return FindStore(m_book)->m_ConcordFile; }
};

}  // namespace orva::test
