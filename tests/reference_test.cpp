// References as people write them: parsing, and book names with abbreviations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/query/reference.h"

namespace {

using orva::query::MatchBookName;
using orva::query::ParseReference;

std::string Parsed(const std::string& text) {
  const auto r = ParseReference(text);
  return r.book + "|" + std::to_string(r.chapter) + "|" + std::to_string(r.verse);
}

TEST(Reference, ParsesBookChapterAndVerse) {
  EXPECT_EQ(Parsed("John 3:16"), "John|3|16");
  EXPECT_EQ(Parsed("  Jn 3.16 "), "Jn|3|16");
  EXPECT_EQ(Parsed("john3:16"), "john|3|16");
  EXPECT_EQ(Parsed("1 Cor 13 : 13"), "1 Cor|13|13");
  EXPECT_EQ(Parsed("Psalm 119"), "Psalm|119|0");
  EXPECT_EQ(Parsed("1 John"), "1 John|0|0");
  EXPECT_EQ(Parsed("Song of Solomon 2:1"), "Song of Solomon|2|1");
  EXPECT_EQ(Parsed("John 3:"), "John 3:|0|0");
  EXPECT_EQ(Parsed(":16"), ":16|0|0");
  EXPECT_EQ(Parsed("John 999999"), "John|0|0");
}

TEST(Reference, BookNamesMatchInFullByAbbreviationPrefixOrLetters) {
  const std::vector<std::string> names = {"Genesis", "Judges", "Ruth", "1 John", "John", "Jude",
                                          "Song of Solomon", "Philippians", "Philemon", "Jonah"};
  const auto match = [&](const std::string& name) { return MatchBookName(names, name); };
  EXPECT_EQ(match("genesis"), 0);
  EXPECT_EQ(match("Gen."), 0);
  EXPECT_EQ(match("gn"), 0);
  EXPECT_EQ(match("Jn"), 4);        // the usual abbreviation, though Jonah has j..n too
  EXPECT_EQ(match("1 Jn"), 3);
  EXPECT_EQ(match("I John"), 3);
  EXPECT_EQ(match("first john"), 3);
  EXPECT_EQ(match("songofsolomon"), 6);
  EXPECT_EQ(match("Song"), 6);
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
