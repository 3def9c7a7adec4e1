// References as people write them: lists and ranges parsed, and book names with
// abbreviations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "query/book_access.h"
#include "query/reference.h"
#include "tests/test_support.h"
#include "writer/sections_writer.h"

namespace {

using orva::query::MatchBookName;
using orva::query::ParseReferences;
using orva::query::WrittenPlace;

// Each item as "book|number|verse", a range as "first-last", after its separator.
std::string Parsed(const std::string& text) {
  const auto place = [](const WrittenPlace& p) { return p.book + "|" + p.number + "|" + p.verse; };
  std::string out;
  for (const auto& item : ParseReferences(text)) {
    if (item.separator) out += item.separator;
    out += place(item.first) + (item.range ? "-" + place(item.last) : "");
  }
  return out;
}

TEST(Reference, ParsesPlacesRangesAndLists) {
  EXPECT_EQ(Parsed("John 3:16"), "John|3|16");
  EXPECT_EQ(Parsed("  Jn 3.16 "), "Jn|3|16");
  EXPECT_EQ(Parsed("john3:16"), "john|3|16");
  EXPECT_EQ(Parsed("1 Cor 13 : 13"), "1 Cor|13|13");
  EXPECT_EQ(Parsed("Psalm 119"), "Psalm|119|");
  EXPECT_EQ(Parsed("Gen. 1"), "Gen.|1|");
  EXPECT_EQ(Parsed("1 John"), "1 John||");
  EXPECT_EQ(Parsed("Song of Solomon 2:1"), "Song of Solomon|2|1");
  EXPECT_EQ(Parsed("John 3:"), "John 3:||");
  // Numbers stay as written, whatever their size, so that a message can name them.
  EXPECT_EQ(Parsed("John 0:007"), "John|0|7");
  EXPECT_EQ(Parsed("John 99999999999999999999:1"), "John|99999999999999999999|1");
  EXPECT_EQ(Parsed("Gen 1:31\xE2\x80\x93" "2:3"), "Gen|1|31-|2|3");  // an en dash
  EXPECT_EQ(Parsed("Matt 5 - 7"), "Matt|5|-|7|");
  EXPECT_EQ(Parsed("Gen 50-Ex 2"), "Gen|50|-Ex|2|");
  EXPECT_EQ(Parsed("John 3:16,18; Ps 23"), "John|3|16,|18|;Ps|23|");
  for (const char* bad : {"", " ", "John 3:16,", ";Ps 23", "-3", "John 3:16 -", "1-2-3"}) {
    EXPECT_THROW(ParseReferences(bad), orva::query::BookError) << bad;
  }
}

TEST(Reference, BookNamesMatchInFullByAbbreviationPrefixOrLetters) {
  const std::vector<std::string> names = {"Genesis",     "Judges",      "Ruth",     "1 John", "John", "Jude",
                                          "Song of Solomon", "Philippians", "Philemon", "Jonah", "Colossians"};
  const auto match = [&](const std::string& name) { return MatchBookName(names, name); };
  EXPECT_EQ(match("genesis"), 0);
  EXPECT_EQ(match("Gen."), 0);
  EXPECT_EQ(match("gn"), 0);
  EXPECT_EQ(match("Jn"), 4);        // the usual abbreviation, though Jonah has j..n too
  EXPECT_EQ(match("1 Jn"), 3);
  EXPECT_EQ(match("I John"), 3);
  EXPECT_EQ(match("first john"), 3);
  EXPECT_EQ(match("songofsolomon"), 6);
  for (const char* song : {"Song", "Ca", "Can", "Cant", "Canticles"}) EXPECT_EQ(match(song), 6) << song;
  EXPECT_EQ(match("Col"), 10);
  EXPECT_EQ(match("Phm"), 8);
  EXPECT_EQ(match("Philem"), 8);
  EXPECT_EQ(match("Jdg"), 1);
  EXPECT_EQ(match("Rt"), 2);        // letters in order: R..t of Ruth
  bool ambiguous = false;
  EXPECT_EQ(MatchBookName(names, "Phil", &ambiguous), 7);  // the abbreviation decides
  EXPECT_EQ(MatchBookName(names, "Ph", &ambiguous), -1);
  EXPECT_TRUE(ambiguous);
  EXPECT_EQ(MatchBookName(names, "Exodus", &ambiguous), -1);
  EXPECT_FALSE(ambiguous);
  EXPECT_EQ(match(""), -1);
  // Abbreviations apply only to the names they stand for.
  EXPECT_EQ(MatchBookName({"Matthew's Notes"}, "Mt"), 0);  // by its letters
  EXPECT_EQ(MatchBookName({"Mark"}, "Mt"), -1);
}

}  // namespace

namespace {

using orva::writer::SectionEntry;

class ReferenceLookupTest : public orva::test::OneIndexTest {
 protected:
  // The first key that `text` names, or the message it raises.
  std::string Resolved(const std::string& text) {
    try {
      return std::to_string(orva::query::ResolveReferences(m_book, text, 1033).at(0).first);
    } catch (const orva::query::BookError& e) {
      return e.what();
    }
  }
};

// Sections found by name wherever they stand among their siblings: verses named
// out of the order of their keys, a chapter with fewer verses than the number
// asked (where the section that many keys on belongs to the next chapter), and
// chapters not named by numbers.
TEST_F(ReferenceLookupTest, SectionsAreFoundByTheirNamesNotWhereTheyStand) {
  const auto entry = [](const char* name, std::uint8_t level) {
    SectionEntry e;
    e.name = name;
    e.level = level;
    return e;
  };
  orva::writer::SectionsDescription d;
  d.version = m_version;
  d.sections = {entry("Genesis", 1), entry("1", 2), entry("2", 3), entry("1", 3), entry("3", 3),  // keys 0-4
                entry("2", 2),       entry("1", 3), entry("6", 3), entry("Odes", 1), entry("2", 2),  // 5-9
                entry("1", 3),       entry("1", 2), entry("1", 3)};                                   // 10-12
  Replace("sections.idx", orva::writer::EncodeSectionsIndex(d));
  Point(m_book, "verse");  // no headwords to fall back on
  ASSERT_EQ(m_book.Open(ORVA_SECTIONS), 0);
  EXPECT_EQ(Resolved("Gen 1:1"), "3");
  EXPECT_EQ(Resolved("Gen 1:2"), "2");
  EXPECT_EQ(Resolved("Gen 1:3"), "4");
  EXPECT_EQ(Resolved("Gen 2:6"), "7");
  EXPECT_EQ(Resolved("Gen 1:6"), "\"Gen 1:6\": Genesis 1 has no verse 6");  // 2 + 5 is 2:6
  EXPECT_EQ(Resolved("Gen 3"), "\"Gen 3\": Genesis has no chapter 3");
  EXPECT_EQ(Resolved("Odes 1:1"), "12");  // chapters named 2, then 1
  EXPECT_EQ(Resolved("Odes 2"), "9");
}

}  // namespace
