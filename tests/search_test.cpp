// Searches and references through the query library on a small book: hits read
// a page at a time are the same from any hit on, and keys formatted in bulk read
// as the walk up the section tree reads them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "orvada.h"
#include "query/book_access.h"
#include "query/reference.h"
#include "query/search.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"

namespace {

using orva::query::SearchOptions;
using orva::query::SearchPage;

// Psalms 119 skips verse 3, so its verses are not named by their places.
constexpr const char* kSource =
    "Genesis 1:1\tIn the beginning God created the heaven and the earth.\n"
    "Genesis 1:2\tAnd the earth was without form, and void.\n"
    "Genesis 1:3\tAnd God said, Let there be light: and there was light.\n"
    "Genesis 2:1\tThus the heavens and the earth were finished.\n"
    "Psalms 119:1\tBlessed are the undefiled in the way.\n"
    "Psalms 119:2\tBlessed are they that keep the LORD's testimonies.\n"
    "Psalms 119:4\tThou hast commanded us to keep the LORD's precepts diligently.\n"
    "Jude 1:4\tThe LORD's loving-kindness is the LORD's life.\n"
    "Jude 1:5\tThe LORD's house is the house of God and the earth.\n";

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orva::writer::BookOptions options;
    options.coded = true;
    std::istringstream in(kSource);
    const orva::writer::BuiltBook built =
        orva::writer::BuildScriptureBook(orva::writer::ParseScripture(in, "small.txt"), options, "small.txt");
    orva::writer::WriteBookDirectory(m_dir.Path() + "book", built.files);
    orva::query::PointBookAt(m_book, m_dir.Path() + "book");
    orva::query::OpenParts(m_book, ORVA_SECTIONS | ORVA_CONCORD);
  }

  // "key: list; list" for each hit of `page`.
  static std::vector<std::string> Lines(const SearchPage& page) {
    std::vector<std::string> lines;
    for (size_t hit = 0; hit < page.Size(); ++hit) {
      std::string line = std::to_string(page.Key(hit)) + ":";
      for (size_t list = 0; list < page.Lists(); ++list) {
        line += list ? ";" : "";
        for (std::uint16_t p : page.Positions(hit, list)) line += " " + std::to_string(p);
      }
      lines.push_back(line);
    }
    return lines;
  }

  orva::writer::TempBookDir m_dir;
  cORVABookBase m_book;
};

TEST_F(SearchTest, PagesFromAnyHitAreTheWholeAnswer) {
  SearchOptions phrase;
  phrase.phrase = true;
  SearchOptions prefix;
  prefix.prefix = true;
  const std::vector<std::pair<std::vector<std::string>, SearchOptions>> queries = {
      {{"the"}, {}},
      {{"the earth"}, phrase},
      {{"lord's", "loving-kindness", "house"}, {}},  // rows of two words, and one word
      {{"keep the lord's"}, phrase},
      {{"heav", "the"}, prefix},
  };
  for (const auto& [query, options] : queries) {
    const orva::query::SearchResult result = orva::query::FindWords(m_book, query, 1033, options);
    const std::vector<std::string> whole = Lines(result.Hits(0, result.Count()));
    ASSERT_EQ(whole.size(), result.Count()) << query[0];
    for (size_t first = 0; first < result.Count(); ++first) {
      EXPECT_EQ(Lines(result.Hits(first, 1)), std::vector<std::string>{whole[first]}) << query[0] << " " << first;
      EXPECT_EQ(Lines(result.Hits(first, 100)).size(), result.Count() - first);
    }
    EXPECT_EQ(result.Hits(result.Count(), 5).Size(), 0u);
  }
  // Keys: Genesis 0, 1 1, verses 2-4, 2 5, verse 6; Psalms 7, 119 8, verses 9-11;
  // Jude 12, 1 13, verses 14-15.
  const orva::query::SearchResult lords = orva::query::FindWords(m_book, {"lord's", "the"}, 1033, {});
  EXPECT_EQ(Lines(lords.Hits(0, 10)),
            (std::vector<std::string>{"10: 7; 6", "11: 8; 7", "14: 2 8; 1 7", "15: 2; 1 6 11"}));
  EXPECT_EQ(Lines(orva::query::FindWords(m_book, {"keep the lord's"}, 1033, phrase).Hits(1, 1)),
            std::vector<std::string>{"11: 6"});
  EXPECT_EQ(orva::query::FindWords(m_book, {"the-is"}, 1033, {}).Count(), 0u);  // both there, never in a row
}

TEST_F(SearchTest, ReferencesInBulkReadAsTheWalkUp) {
  const int last = m_book.GetLastSectionKey();
  // In key order, which lets chapters whose verses are named by their places be
  // formatted without reading them, and out of order.
  for (const int stride : {1, 7}) {
    orva::query::ReferenceFormatter references(m_book, 1033);
    for (int i = 0; i <= last; ++i) {
      const int key = i * stride % (last + 1);
      EXPECT_EQ(references.Of(key), orva::query::ReferenceOfKey(m_book, key)) << key;
    }
  }
  orva::query::ReferenceFormatter references(m_book, 1033);
  EXPECT_EQ(references.Of(11), "Psalms 119:4");
  EXPECT_EQ(references.Of(10), "Psalms 119:2");
  EXPECT_EQ(references.Of(11), "Psalms 119:4");
}

}  // namespace
