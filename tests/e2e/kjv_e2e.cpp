// The orva program on the whole King James Version, built once per test run by
// the CTest fixture (tests/CMakeLists.txt) into the folder given as argument, and
// the query library on the same book.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/e2e/run_orva.h"
#include "query/book_access.h"
#include "query/reference.h"
#include "writer/book_dir.h"

namespace {

using orva::e2e::Lines;

std::string g_book;

class Kjv : public ::testing::Test {
 protected:
  std::string Out(const std::vector<std::string>& args) const {
    std::vector<std::string> full = {args[0], g_book};
    full.insert(full.end(), args.begin() + 1, args.end());
    const orva::e2e::Result result = orva::e2e::RunOrva(full, m_dir.Path() + "stderr");
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  }
  orva::writer::TempBookDir m_dir;
};

TEST_F(Kjv, CountsAgreeWithTheSource) {
  EXPECT_EQ(Lines(Out({"toc"})).size(), 66u);
  const std::string info = Out({"info", "--json"});
  EXPECT_NE(info.find("\"sections\":32357,"), std::string::npos) << info;  // 66 + 1,189 + 31,102
  EXPECT_NE(info.find("\"TITLE\":\"King James Version\""), std::string::npos) << info;
  EXPECT_EQ(Lines(Out({"toc", "Psalms"})).size(), 150u);
  EXPECT_EQ(Lines(Out({"toc", "Ps 119"})).size(), 176u);
}

TEST_F(Kjv, FindsWordsPhrasesAndPrefixes) {
  const std::vector<std::string> light = Lines(Out({"find", "light"}));
  EXPECT_EQ(light.front(), "Genesis 1:3  (7 11)");
  EXPECT_EQ(light.back(), "235 places");  // grep -ciw light on the source's verses
  EXPECT_EQ(Out({"find", "faith", "hope", "charity"}),
            "1 Corinthians 13:13  (faith 4; hope 5; charity 6 15)\n1 place\n");
  const std::vector<std::string> beginning = Lines(Out({"find", "--phrase", "in", "the", "beginning"}));
  EXPECT_EQ(beginning.front(), "Genesis 1:1  (1)");
  EXPECT_NE(std::find(beginning.begin(), beginning.end(), "John 1:1  (1)"), beginning.end());
  EXPECT_EQ(beginning.back(), "17 places");
  EXPECT_EQ(Lines(Out({"find", "--prefix", "lightn"})).back(), "30 places");  // 3 + 13 + 14
  // Words in possessives and hyphenated compounds count ("LORD's", "father-in-law",
  // "loving-kindness"): the verses of Debian's bible -f '??lord' '?l', and of
  // grep -ciP '\blord\b' on the source's verses.
  EXPECT_EQ(Lines(Out({"find", "lord", "--limit", "1"})).back(), "6748 places");
  EXPECT_EQ(Lines(Out({"find", "father", "--limit", "1"})).back(), "970 places");
  EXPECT_EQ(Lines(Out({"find", "kindness", "--limit", "1"})).back(), "69 places");
  EXPECT_EQ(Lines(Out({"find", "--phrase", "loving", "kindness", "--limit", "1"})).back(), "26 places");
  const std::string json = Out({"find", "--json", "--limit", "2", "LIGHT"});
  EXPECT_NE(json.find("\"count\":235,\"references\":[\"Genesis 1:3\",\"Genesis 1:4\"]"), std::string::npos) << json;
  // A phrase reads each of its words once, however often it repeats one: 100
  // copies of "the" once took 148 MB here.
  std::string the100;
  for (int i = 0; i < 100; ++i) the100 += "the ";
  const orva::e2e::Result repeated =
      orva::e2e::RunOrva({"find", g_book, "--phrase", the100}, m_dir.Path() + "stderr", "ulimit -v 65536; ");
  EXPECT_EQ(repeated.out, "0 places\n") << repeated.err;
  EXPECT_EQ(Lines(Out({"words", "lightn"})),
            (std::vector<std::string>{"lightness                     3", "lightning                    13",
                                      "lightnings                   14"}));
}

TEST_F(Kjv, ReadsVersesByReferenceAndNumber) {
  const std::string john = "John 3:16 For God so loved the world, that he gave his only begotten Son, that whosoever "
                           "believeth in him should not perish, but have everlasting life.\n";
  EXPECT_EQ(Out({"read", "John 3:16"}), john);
  EXPECT_EQ(Out({"read", "Jn 3.16"}), john);
  EXPECT_EQ(Out({"verse", "43,3,16"}), "43,3,16: key 27179, \\John\\3\\16\n" + john);
  EXPECT_EQ(Lines(Out({"read", "Ps 23"})).size(), 7u);
  const std::vector<std::string> sabbath = Lines(Out({"read", "Gen 1:31-2:3"}));
  ASSERT_EQ(sabbath.size(), 4u);
  EXPECT_EQ(sabbath[1].substr(0, 12), "Genesis 2:1 ");
  EXPECT_EQ(Lines(Out({"read", "Matt 5-7"})).size(), 3 + 48 + 34 + 29 + 2u);  // headings, verses, blank lines
  EXPECT_EQ(Out({"read", "Ca 1:1"}), "Song of Solomon 1:1 The song of songs, which is Solomon's.\n");
  EXPECT_EQ(Out({"read", "Jude 1"}).substr(0, 14), "Jude 1:1 Jude,");
  EXPECT_EQ(Out({"read", "Rev 22:21"}), "Revelation 22:21 The grace of our Lord Jesus Christ be with you all. Amen.\n");
}

// Every section key formatted in bulk, in key order (as a search lists them) and
// out of it, reads as the walk up the section tree reads it.
TEST_F(Kjv, ReferencesInBulkAreTheWalksReferences) {
  cORVABookBase book;
  orva::query::PointBookAt(book, g_book);
  orva::query::OpenParts(book, ORVA_SECTIONS);
  const int last = book.GetLastSectionKey();
  ASSERT_EQ(last + 1, 32357);
  for (const int stride : {1, 7919}) {
    orva::query::ReferenceFormatter references(book, 1033);
    int differ = 0;
    for (int i = 0; i <= last; ++i) {
      const int key = static_cast<int>(static_cast<long long>(i) * stride % (last + 1));
      if (references.Of(key) != orva::query::ReferenceOfKey(book, key) && ++differ <= 5) {
        ADD_FAILURE() << key << ": " << references.Of(key) << " != " << orva::query::ReferenceOfKey(book, key);
      }
    }
    EXPECT_EQ(differ, 0) << "stride " << stride;
  }
}

TEST_F(Kjv, IsSound) { EXPECT_EQ(Lines(Out({"check"}))[0], g_book + ": the book is sound"); }

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s KJV_BOOK_FOLDER\n", argv[0]);
    return 2;
  }
  g_book = argv[1];
  return RUN_ALL_TESTS();
}
