// The Book and Library objects of orvaquery on a small library built in code:
// two Bibles (English and Spanish, with Strong's numbers), a lexicon, a topical
// index and a reading plan, every one with the default ids 0 and 0.
#include <gtest/gtest.h>

#include <thread>

#include "query/library.h"
#include "tests/small_library.h"

namespace {

using namespace orva::writer;
namespace query = orva::query;

class SmallLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new TempBookDir;
    orva::test::WriteSmallLibrary(*s_dir);
  }
  static void TearDownTestSuite() { delete s_dir; }

  static std::string Folder() { return s_dir->Path() + "library"; }
  static TempBookDir* s_dir;
};

TempBookDir* SmallLibrary::s_dir = nullptr;

std::vector<std::string> Texts(const query::ParallelReading::Verse& verse) {
  std::vector<std::string> texts;
  for (const auto& text : verse.texts) texts.push_back(text.passage.text);
  return texts;
}

// Each book asked what it is, in the library's order; books with equal ids each
// read from their own files.
TEST_F(SmallLibrary, BooksSayWhatTheyAreAndReadTheirOwnText) {
  ASSERT_TRUE(query::Library::IsLibrary(Folder()));
  EXPECT_FALSE(query::Library::IsLibrary(Folder() + "/en"));
  EXPECT_FALSE(query::Library::IsLibrary(Folder() + "/empty"));
  query::Library library(Folder());
  std::vector<std::string> names, kinds, languages;
  for (const query::BookInfo& info : library.Info()) {
    names.push_back(info.name);
    kinds.push_back(query::BookKindName(info.kind));
    languages.push_back(std::to_string(info.languages.size()) + (info.strongs ? " strongs" : ""));
    EXPECT_EQ(info.identity.bookID, 0);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"en", "es", "lexicon", "topics", "plan"}));
  EXPECT_EQ(kinds, (std::vector<std::string>{"Bible", "Bible", "lexicon", "topical index", "reading plan"}));
  EXPECT_EQ(languages, (std::vector<std::string>{"1 strongs", "1 strongs", "3", "1", "1"}));
  EXPECT_EQ(library.Info()[1].language, 1034);
  EXPECT_EQ(query::Library(Folder() + "/es/").Size(), 1u);

  // John 3:16 from each Bible's own files; the book of John verse by verse, each
  // Bible's verses beside those of the others; a list in the order written.
  query::ParallelReading john = library.Read("John 3:16");
  ASSERT_EQ(john.verses.size(), 1u);
  EXPECT_EQ(john.verses[0].reference, "John 3:16");
  EXPECT_EQ(Texts(john.verses[0]), (std::vector<std::string>{"For God so loved the world.",
                                                            "Porque de tal manera amó Dios al mundo, que ha dado á su Hijo."}));
  const query::ParallelReading chapter = library.Read("John");
  ASSERT_EQ(chapter.verses.size(), 2u);
  EXPECT_EQ(chapter.verses[0].texts.size(), 2u);
  EXPECT_EQ(chapter.verses[1].reference, "John 3:17");
  ASSERT_EQ(chapter.verses[1].texts.size(), 1u);
  EXPECT_EQ(chapter.bibles[chapter.verses[1].texts[0].bible]->Name(), "en");
  const query::ParallelReading list = library.Read("John 3:16; Ps 23:1");
  ASSERT_EQ(list.verses.size(), 2u);
  EXPECT_EQ(list.verses[1].reference, "Psalms 23:1");
  EXPECT_EQ(Texts(list.verses[1]), (std::vector<std::string>{"The LORD is my shepherd.", "JEHOVÁ es mi pastor; nada me faltará."}));
  EXPECT_EQ(library.Read("Tob 1:1").bibles.size(), 1u);  // the Bible without Tobit is left out
  EXPECT_EQ(library.Read("John", false, 2).verses.size(), 2u);  // a bound that holds
  EXPECT_EQ(library.Read("John", false, 1).bibles.size(), 1u);  // en's two verses of John are one too many
  try {
    library.Read("John 3:16; Ps 23:1; John 3:17", false, 2);  // the en Bible's third verse is one too many
    ADD_FAILURE();
  } catch (const query::BookError& e) {
    EXPECT_NE(std::string(e.what()).find("\"John 3:16; Ps 23:1; John 3:17\" names more than 2 verses (en)"),
              std::string::npos) << e.what();
  }
  try {
    library.Read("Exodus 1:1");
    ADD_FAILURE();
  } catch (const query::BookError& e) {
    EXPECT_EQ(std::string(e.what()), Folder() + ": no book answers: \"Exodus 1:1\": no book is called \"Exodus\" (en, es)");
  }
  // The same from Books on their own, and the verse's numbers.
  query::Book es(Folder() + "/es");
  const query::Reading reading = es.Read("John 3:16", true);
  EXPECT_EQ(reading.runs.at(0).passages.at(0).text, john.verses[0].texts[1].passage.text);
  EXPECT_EQ(reading.words.at(reading.runs[0].passages[0].key).at(4).numbers, std::vector<std::string>{"G25"});
  const std::optional<query::VersePlace> place = es.PlaceOf(reading.runs[0].passages[0].key);
  ASSERT_TRUE(place);
  EXPECT_EQ(std::vector<int>({place->book, place->chapter, place->verse}), std::vector<int>({43, 3, 16}));
}

// A number's lexicon entry, translations and verses; a topic with its verses read
// from the first Bible; a search in each book that can take it.
TEST_F(SmallLibrary, StrongsTopicsAndSearchesAcrossTheBooks) {
  query::Library library(Folder());
  const query::StrongsStudy g25 = library.Strongs("g0025", 5);
  ASSERT_EQ(g25.entries.size(), 1u);
  EXPECT_EQ(g25.entries[0].answer.shown.paragraphs[0], "ἀγαπάω");
  ASSERT_EQ(g25.bibles.size(), 2u);
  EXPECT_EQ(g25.bibles[0].translations.at(0).words, "loved");
  EXPECT_EQ(g25.bibles[1].translations.size(), 2u);  // "amó" and the run "enemessar el rey"
  EXPECT_EQ(g25.bibles[1].count, 2u);
  ASSERT_EQ(g25.bibles[0].verses.size(), 1u);
  EXPECT_EQ(g25.bibles[0].verses[0].reference, "John 3:16");
  EXPECT_EQ(g25.bibles[0].verses[0].words.at(3).numbers, std::vector<std::string>{"G25"});
  EXPECT_TRUE(g25.bibles[0].verses[0].words.at(5).numbers.empty());  // G2889 is not asked for
  EXPECT_THROW(library.Strongs("G26000"), query::BookError);
  EXPECT_THROW(library.Strongs("X1"), query::BookError);

  const std::vector<query::TopicStudy> faith = library.Topic("faith");
  ASSERT_EQ(faith.size(), 1u);
  EXPECT_EQ(faith[0].bible->Name(), "en");
  EXPECT_EQ(faith[0].verseReferences, 2u);
  ASSERT_EQ(faith[0].followed.size(), 2u);
  EXPECT_EQ(faith[0].followed[1].passages.size(), 3u);  // Ps 34:1-3
  EXPECT_EQ(faith[0].followed[1].passages[2].text, "O magnify the LORD with me.");
  const std::vector<query::TopicStudy> doubting = library.Topic("DOUBTING", 1);
  EXPECT_EQ(doubting[0].followed.size(), 1u);
  EXPECT_NE(doubting[0].followed[0].error, "");  // the English Bible has no Romans
  EXPECT_EQ(query::Book(Folder() + "/en").ReadVerseKey("19,34").size(), 3u);
  // A book of entries reads by its keys, each entry as shown, not as stored.
  const query::Reading entry = library.Named("lexicon")->Read("g0025");
  ASSERT_EQ(entry.runs.size(), 1u);
  EXPECT_EQ(entry.runs[0].passages.at(0).text, "ἀγαπάω\tagapáō\tag-ap-ah'-o\tto love (in a social sense); compare H0157");
  EXPECT_EQ(library.Named("plan")->Read("12-25").runs.at(0).passages.at(0).text, "1 John 2-5; 2 John 1");
  EXPECT_THROW(library.Named("plan")->Read("13-01"), query::BookError);

  query::SearchQuery strongs;
  strongs.strongs = {"G25"};
  std::vector<std::string> counts;
  for (auto& found : library.Find(strongs)) counts.push_back(found.book->Name() + " " + std::to_string(found.answer.Count()));
  EXPECT_EQ(counts, (std::vector<std::string>{"en 1", "es 2"}));
  query::SearchQuery love;
  love.words = {"love"};
  counts.clear();
  for (auto& found : library.Find(love)) counts.push_back(found.book->Name() + " " + std::to_string(found.answer.Count()));
  EXPECT_EQ(counts, (std::vector<std::string>{"en 0", "es 0", "lexicon 3", "topics 0", "plan 0"}));
  const std::vector<query::BookAnswer<query::Entry>> dated = library.Sync("12-25");
  ASSERT_EQ(dated.size(), 1u);
  EXPECT_EQ(dated[0].answer.shown.paragraphs.at(0), "1 John 2-5; 2 John 1");
  EXPECT_EQ(library.Verse("43,3,16").size(), 2u);
}

// Questions from several threads at once, each answered as on one thread.
TEST_F(SmallLibrary, ThreadsAskAtOnce) {
  query::Library library(Folder());
  const std::string john = library.Read("John 3:16").verses[0].texts[1].passage.text;
  std::vector<std::thread> threads;
  std::vector<int> right(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      query::Book& es = library[1];
      query::SearchQuery query;
      query.strongs = {"G25"};
      for (int i = 0; i < 200; ++i) {
        const bool read = library.Read("John 3:16").verses[0].texts[1].passage.text == john;
        query::BookSearch search = es.Find(query);
        right[t] += read && search.Hits(0, 2).Reference(1) == "John 3:16";
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(right, std::vector<int>(4, 200));
}

}  // namespace
