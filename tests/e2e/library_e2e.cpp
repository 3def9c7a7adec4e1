// The study library of samples/ (three OSIS Bibles, two lexicons, the topical
// index, the reading plan), built once per test run by the CTest fixtures
// (tests/CMakeLists.txt) into one folder, and asked the questions that go across
// its books, with the counts its sources give.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "query/library.h"
#include "tests/e2e/run_orva.h"
#include "writer/book_dir.h"

namespace {

namespace query = orva::query;
using orva::e2e::Lines;

std::string g_folder;

std::vector<std::string> Names(const std::vector<query::Book*>& books) {
  std::vector<std::string> names;
  for (const query::Book* book : books) names.push_back(book->Name());
  return names;
}

TEST(StudyLibrary, BooksInOrderAndVersesSideBySide) {
  query::Library library(g_folder);
  std::vector<std::string> books;
  for (const query::BookInfo& info : library.Info()) {
    books.push_back(info.name + " " + query::BookKindName(info.kind) + " " + std::to_string(info.languages.size()) +
                    (info.strongs ? " strongs" : ""));
  }
  EXPECT_EQ(books, (std::vector<std::string>{"kjv Bible 1 strongs", "sparv Bible 1 strongs", "web Bible 1 strongs",
                                             "greek lexicon 2", "hebrew lexicon 2", "naves topical index 1",
                                             "plan reading plan 1"}));
  // The Bibles all have the ids 0 and 0, and each reads its own text.
  const query::ParallelReading genesis = library.Read("Gen 1:1");
  EXPECT_EQ(Names(genesis.bibles), (std::vector<std::string>{"kjv", "sparv", "web"}));
  ASSERT_EQ(genesis.verses.size(), 1u);
  std::vector<std::string> texts;
  for (const auto& text : genesis.verses[0].texts) texts.push_back(text.passage.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"In the beginning God created the heaven and the earth.",
                                             "EN el principio crió Dios los cielos y la tierra.",
                                             "In the beginning, God created the heavens and the earth."}));
  // The deuterocanon only in the WEB; a whole psalm verse by verse.
  EXPECT_EQ(Names(library.Read("Tob 1:1").bibles), std::vector<std::string>{"web"});
  EXPECT_EQ(library.Read("Ps 117").verses.size(), 2u);
}

// How often each Bible's source tags G25 and H430, and how the KJV translates G25.
TEST(StudyLibrary, StrongsNumbersInEachBible) {
  query::Library library(g_folder);
  for (const auto& [number, counts] : {std::pair<std::string, std::vector<size_t>>{"G25", {109, 109, 107}},
                                       std::pair<std::string, std::vector<size_t>>{"H430", {2248, 2246, 2173}}}) {
    query::SearchQuery search;
    search.strongs = {number};
    std::vector<size_t> found;
    for (auto& answer : library.Find(search)) found.push_back(answer.answer.Count());
    EXPECT_EQ(found, counts) << number;
  }
  const query::StrongsStudy g25 = library.Strongs("G25");
  ASSERT_EQ(g25.entries.size(), 1u);
  EXPECT_EQ(g25.entries[0].book->Name(), "greek");
  ASSERT_EQ(g25.bibles.size(), 3u);
  std::vector<size_t> counts;
  for (const auto& in : g25.bibles) counts.push_back(in.count);
  EXPECT_EQ(counts, (std::vector<size_t>{109, 109, 107}));
  ASSERT_GE(g25.bibles[0].translations.size(), 3u);
  std::string kjv;
  for (size_t i = 0; i < 3; ++i) kjv += g25.bibles[0].translations[i].words + " " + std::to_string(g25.bibles[0].translations[i].count) + ";";
  EXPECT_EQ(kjv, "love 50;loved 29;loveth 20;");
  EXPECT_EQ(g25.bibles[0].verses.size(), 3u);

  // The program: the entry, then each Bible's words with their counts.
  orva::writer::TempBookDir dir;
  const orva::e2e::Result shown = orva::e2e::RunOrva({"strongs", g_folder, "G25"}, dir.Path() + "stderr");
  EXPECT_EQ(shown.status, 0) << shown.err;
  const std::vector<std::string> lines = Lines(shown.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "G25 ἀγαπάω agapáō ag-ap-ah'-o");
  EXPECT_NE(shown.out.find("== kjv: King James Version ==\ntranslated: love 50; loved 29; loveth 20;"), std::string::npos);
  EXPECT_NE(shown.out.find("109 verses:\n  Matthew 5:43 "), std::string::npos);
}

TEST(StudyLibrary, TopicsAndLookUps) {
  query::Library library(g_folder);
  const std::vector<query::TopicStudy> faith = library.Topic("Faith", 3);
  ASSERT_EQ(faith.size(), 1u);
  EXPECT_EQ(faith[0].index->Name(), "naves");
  EXPECT_EQ(faith[0].verseReferences, 766u);
  ASSERT_EQ(faith[0].followed.size(), 3u);
  EXPECT_EQ(faith[0].followed[0].passages.at(0).reference, "2 Samuel 22:31");
  const auto sync = [&](const std::string& key) {
    const auto answers = library.Sync(key);
    return answers.size() == 1 ? answers[0].book->Name() + " " + answers[0].answer.shown.paragraphs.at(0) : "?";
  };
  EXPECT_EQ(sync("G26"), "greek ἀγάπη");
  EXPECT_EQ(sync("H430"), "hebrew אלהים");
  EXPECT_EQ(sync("12-25"), "plan 1 John 2-5; 2 John 1");
  EXPECT_EQ(library.Verse("43,3,16").size(), 3u);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LIBRARY_FOLDER\n", argv[0]);
    return 2;
  }
  g_folder = argv[1];
  return RUN_ALL_TESTS();
}
