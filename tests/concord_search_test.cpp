// The concordance's words: nearest and exact search, languages (the one chosen on
// open and by SelectCurrentLanguage) and word counts, and the book object's word
// cursor.
#include "tests/concord_test_support.h"

namespace orva::test {
namespace {

using WordArray = CArray<cLanguageString, cLanguageString&>;
using LanguageArray = CArray<unsigned short, unsigned short&>;

TEST_F(ConcordTest, SearchFindsTheNearestAndTheExactWord) {
  // KeysAndPositionsOfEveryLayout searches every layout; coded records are the shortest.
  ASSERT_EQ(Write(SmallConcordance(Lists::kCoded)), 0);
  cLanguageString found;
  auto nearest = [&](const std::u16string& text, unsigned short lang = kEnglish) {
    found = Lang(u"untouched", kGreek);
    cLanguageString search = Lang(text, lang);
    return m_book.FindNearestMatchingWord(search, found);
  };
  EXPECT_EQ(nearest(u"aardvark"), 0) << "before the first word";
  EXPECT_EQ(CharsOf(found), u"apple");
  EXPECT_EQ(nearest(u"bz"), 2) << "between two words";
  EXPECT_EQ(CharsOf(found), u"cedar");
  EXPECT_EQ(nearest(u"Cedar"), 2) << "capitals sort just before the stored word";
  EXPECT_EQ(nearest(u"BABEL"), 1);
  EXPECT_EQ(nearest(u"babel"), 2) << "lower case sorts after the stored capital";
  EXPECT_EQ(nearest(u"eden"), 4);
  EXPECT_EQ(nearest(u"zebra"), -1) << "after the last word";
  EXPECT_TRUE(found.IsEmpty());
  EXPECT_EQ(nearest(u"Wort", kGerman), 1);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kGerman) << "a search selects its language";
  EXPECT_EQ(nearest(u"Ahre", kGerman), 0) << "no mark sorts before a mark";
  EXPECT_EQ(CharsOf(found), u"\u00C4hre");
  EXPECT_EQ(nearest(u"a", kFrench), -1) << "a language without words";
  EXPECT_EQ(CharsOf(found), u"untouched");
  EXPECT_EQ(nearest(u"a", kSpanish), -1) << "a language the file lacks";
  EXPECT_EQ(CharsOf(found), u"untouched");
  EXPECT_EQ(m_book.GetCurrentLanguage(), kFrench) << "the table's last language is current";
  EXPECT_EQ(nearest(u""), -1) << "a search without a language";

  for (const auto& [text, key] : std::vector<std::pair<std::u16string, int>>{
           {u"CEDAR", 2}, {u"apple", 0}, {u"Eden", 4}, {u"ced", -1}, {u"zebra", -1}, {u"aa", -1},
           {u"babel", -1}}) {  // lower case sorts after the stored capital: only the nearest word counts
    cLanguageString search = Lang(text);
    EXPECT_EQ(m_book.FindExactMatchingWord(search), key) << std::string(text.begin(), text.end());
  }
  cLanguageString umlaut = Lang(u"\u00C4HRE", kGerman);
  EXPECT_EQ(m_book.FindExactMatchingWord(umlaut), 0);
  cLanguageString bare = Lang(u"AHRE", kGerman);
  EXPECT_EQ(m_book.FindExactMatchingWord(bare), -1) << "marks count in an exact search";
}

TEST_F(ConcordTest, LanguagesAreListedCountedAndSelected) {
  ASSERT_EQ(Write(SmallConcordance(Lists::kNarrow)), 0);
  EXPECT_EQ(m_book.WordCount(kGerman), 3u);
  EXPECT_EQ(m_book.WordCount(kFrench), 0u);
  EXPECT_EQ(m_book.WordCount(kSpanish), 0u);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kEnglish) << "WordCount selects the current language again";

  LanguageArray languages;
  unsigned short earlier = 99;
  languages.Add(earlier);
  EXPECT_EQ(m_book.ListLanguages(languages), 0);
  EXPECT_EQ(Values(languages), (std::vector<unsigned short>{99, kEnglish, kGerman, kFrench}));
  EXPECT_EQ(m_book.GetCurrentLanguage(), kEnglish);

  unsigned short previous = 0;
  EXPECT_EQ(m_book.SelectCurrentLanguage(kGerman, &previous), 0);
  EXPECT_EQ(previous, kEnglish);
  EXPECT_EQ(m_book.SelectCurrentLanguage(kSpanish, &previous), 1);
  EXPECT_EQ(previous, kGerman);

  writer::ConcordDescription none = SmallConcordance(Lists::kNarrow);
  none.languages.clear();
  ASSERT_EQ(Write(none), 0);
  EXPECT_EQ(m_book.ListLanguages(languages), 1);
  EXPECT_EQ(languages.GetSize(), 4);
  EXPECT_EQ(m_book.WordCount(kEnglish), 0u);
}

TEST_F(ConcordTest, TheWordCursorWalksFromWhatWasFound) {
  ASSERT_EQ(Write(SmallConcordance(Lists::kCoded)), 0);
  cORVABookBase sharer;
  Point(sharer);
  ASSERT_EQ(sharer.Open(ORVA_CONCORD), 0);
  cLanguageString word, found, search = Lang(u"bz");
  // The key a member returned, with the word it read.
  auto walk = [&](int key) { return std::make_pair(key, key == -1 ? std::u16string() : CharsOf(word)); };
  using Step = std::pair<int, std::u16string>;

  EXPECT_EQ(m_book.FindNearestMatchingWord(search, found), 2);
  // Another book of the store selects German: the walk stays in English.
  EXPECT_EQ(sharer.SelectCurrentLanguage(kGerman, nullptr), 0);
  EXPECT_EQ(walk(m_book.GetNextWord(word)), Step(3, u"dove"));
  EXPECT_EQ(walk(m_book.GetNextWord(word)), Step(4, u"eden"));
  EXPECT_EQ(m_book.GetNextWord(word), -1) << "past the last word";
  EXPECT_EQ(m_book.GetPrevWord(word), -1) << "the walk has ended";

  EXPECT_EQ(walk(m_book.GetFirstWord(kGerman, word)), Step(0, u"\u00C4hre"));
  EXPECT_EQ(walk(m_book.GetNextWord(word)), Step(1, u"Wort"));
  EXPECT_EQ(walk(m_book.GetLastWord(kEnglish, word)), Step(4, u"eden"));
  EXPECT_EQ(walk(m_book.GetPrevWord(word)), Step(3, u"dove"));
  EXPECT_EQ(m_book.GetFirstWord(kFrench, word), -1) << "no words";
  EXPECT_EQ(m_book.GetLastWord(kFrench, word), -1);
  EXPECT_EQ(m_book.GetLastWord(kSpanish, word), -1) << "no such language";
  EXPECT_EQ(m_book.GetPrevWord(word), -1);

  CUIntArray keys;
  EXPECT_EQ(m_book.SelectCurrentLanguage(kEnglish, nullptr), 0);
  EXPECT_EQ(m_book.GetKeysForWord(1, keys), 1) << "reading keys moves the cursor";
  EXPECT_EQ(walk(m_book.GetPrevWord(word)), Step(0, u"apple"));
  EXPECT_EQ(m_book.GetPrevWord(word), -1) << "before the first word";
  cLanguageString cedar = Lang(u"Cedar");
  EXPECT_EQ(m_book.FindExactMatchingWord(cedar), 2);
  EXPECT_EQ(m_book.SelectCurrentLanguage(kEnglish, nullptr), 0);
  EXPECT_EQ(m_book.GetNextWord(word), -1) << "selecting a language resets the cursor";

  WordArray words;
  words.Add(cedar);
  EXPECT_EQ(m_book.GetWord(4, word), 4);
  EXPECT_EQ(CharsOf(word), u"eden");
  EXPECT_EQ(m_book.GetWord(5, word), -1);
  EXPECT_EQ(CharsOf(word), u"eden") << "untouched";
  EXPECT_EQ(m_book.GetWordlistAtKey(3, 4, words), 0);
  ASSERT_EQ(words.GetSize(), 5);
  EXPECT_EQ(CharsOf(words[1]), u"dove");
  EXPECT_EQ(CharsOf(words[2]), u"eden");
  EXPECT_TRUE(words[3].IsEmpty() && words[4].IsEmpty()) << "past the last word";
}

// A concordance of these languages without words.
writer::ConcordDescription EmptyLanguages(std::vector<unsigned short> ids) {
  writer::ConcordDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  d.languages.clear();
  for (unsigned short id : ids) d.languages.push_back(writer::EmptyLanguage(id));
  return d;
}

TEST_F(ConcordTest, OpeningSelects1033AndSelectionTakesAnyListedLanguage) {
  // 1033 in the middle of the table. The lists tests read the table in every
  // layout and with longer records.
  ASSERT_EQ(Write(EmptyLanguages({kGerman, kEnglish, kGreek})), 0);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kEnglish);
  for (unsigned short lang : {kGreek, kGerman}) {
    EXPECT_EQ(m_book.SelectCurrentLanguage(lang, nullptr), 0);
    EXPECT_EQ(m_book.GetCurrentLanguage(), lang);
  }
  EXPECT_EQ(m_book.SelectCurrentLanguage(kFrench, nullptr), 1);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kGreek) << "a missing language leaves the table's last one current";
}

TEST_F(ConcordTest, SelectionOpensTheConcordanceWhenItCan) {
  Replace("concord.idx", writer::EncodeConcordIndex(EmptyLanguages({kGerman, kEnglish})));
  cORVABookBase sharer;
  Point(m_book);
  Point(sharer);
  EXPECT_EQ(m_book.SelectCurrentLanguage(kGerman, nullptr), 0);
  EXPECT_EQ(m_book.OpenFlags(), ORVA_CONCORD);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kGerman);
  // The current language belongs to the store: a second opener resets it to 1033.
  ASSERT_EQ(sharer.Open(ORVA_CONCORD), 0);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kEnglish);
  EXPECT_EQ(sharer.SelectCurrentLanguage(kGerman, nullptr), 0);
  EXPECT_EQ(m_book.GetCurrentLanguage(), kGerman);
  sharer.Close(ORVA_ALL_OPEN);
  m_book.Close(ORVA_ALL_OPEN);

  // Without a concordance path neither call opens anything, nor calls the other
  // forever: each runs the open hooks once.
  HookBook pathless;
  Point(pathless);
  pathless.SetConcordPath("");
  EXPECT_EQ(pathless.SelectCurrentLanguage(kEnglish, nullptr), 1);
  EXPECT_EQ(pathless.Open(ORVA_CONCORD | ORVA_TEXT), 0);
  EXPECT_EQ(pathless.pre, (std::vector<DWORD>{ORVA_CONCORD, ORVA_CONCORD | ORVA_TEXT}));
  EXPECT_EQ(pathless.post, pathless.pre);
  EXPECT_EQ(pathless.OpenFlags(), ORVA_TEXT);
  pathless.Close(ORVA_TEXT);

  // A PreOpenFiles that supplies the path lets the selection open the concordance.
  struct PathSupplier : HookBook {
    int PreOpenFiles(DWORD request) override {
      SetConcordPath(dir.c_str());
      return HookBook::PreOpenFiles(request);
    }
    std::string dir;
  } supplied;
  Point(supplied);
  supplied.SetConcordPath("");
  supplied.dir = m_dir.Path();
  EXPECT_EQ(supplied.SelectCurrentLanguage(kGerman, nullptr), 0);
  EXPECT_EQ(supplied.GetCurrentLanguage(), kGerman);
  supplied.Close(ORVA_ALL_OPEN);
  m_dir.RemoveFile("concord.idx");
  EXPECT_EQ(m_book.SelectCurrentLanguage(kEnglish, nullptr), 1);
  EXPECT_TRUE(m_book.IsClosed());
}

TEST_F(ConcordTest, DamagedLanguageTablesRaiseEndOfFileInsteadOfReadingPastTheFile) {
  // Three languages announced, one written: selecting 1033 at open runs off the
  // end. A header record that claims more bytes than the file has fails the open.
  auto threeAnnounced = writer::EncodeConcordIndex(EmptyLanguages({kGerman}));
  threeAnnounced[m_version.length + 2] = 3;
  auto longHeader = writer::EncodeConcordIndex(EmptyLanguages({}));
  longHeader[m_version.length] = 0xFF;
  for (const auto& bytes : {threeAnnounced, longHeader}) {
    EXPECT_ORVA_FILE_EXCEPTION(WriteBytes(bytes), CFileException::endOfFile);
  }
}

}  // namespace
}  // namespace orva::test
