// Lexicons, topical indexes and reading plans built from small sources and read
// back through the library: sync look-ups, the characters of several scripts,
// references a reader follows, the verses index from verse to entries, and the
// faults of such sources.
#include <gtest/gtest.h>

#include <sstream>

#include "orvada.h"
#include "query/book_access.h"
#include "query/check.h"
#include "query/entry_text.h"
#include "query/passage.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"
#include "tests/study_sample.h"

namespace {

using namespace orva::writer;
using namespace orva::test;
namespace query = orva::query;

struct Built {
  TempBookDir dir;
  cORVABookBase book;
};

// Builds `source` with `build` into a folder and opens every part the book has.
// Books of one process need ids of their own: book objects of one publisher and
// book share their files.
template <class Parse, class Build>
void BuildAndOpen(Built& out, const char* source, Parse parse, Build build) {
  static std::uint16_t ids = 700;
  std::istringstream in(source);
  BookOptions options;
  options.bookID = ++ids;
  options.compress = true;
  options.coded = true;
  const BuiltBook built = build(parse(in, "s.txt"), options, "s.txt");
  WriteBookDirectory(out.dir.Path(), built.files);
  query::PointBookAt(out.book, out.dir.Path());
  DWORD parts = ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | out.book.GetSyncTypeFlag();
  for (const BookFile& file : built.files) parts |= file.name == "verses.idx" ? DWORD{ORVA_VERSES} : 0;
  query::OpenParts(out.book, parts);
  EXPECT_EQ(query::CheckBookFolder(out.dir.Path()).faultCount, 0);
}

// The entry of `key` as a reader shows it.
query::ShownEntry Entry(cORVABookBase& book, int key) {
  const std::vector<query::Passage> passages = query::ReadPassages(book, key, query::BookLanguage(book));
  EXPECT_EQ(passages.size(), 1u);
  return query::ShowEntryText(passages.empty() ? std::string() : passages[0].text);
}

int Packaged(cORVABookBase& book, const std::string& syncType, const std::string& typed) {
  const CString key = LangToPackagedString(cLanguageString(query::SyncKeyOf(syncType, typed, "12-25").c_str()));
  return syncType == "strongs" ? book.GetSSyncKey(key) : syncType == "date" ? book.GetDSyncKey(key) : book.GetWSyncKey(key);
}

std::vector<UINT> Keys(const CUIntArray& keys) { return std::vector<UINT>(keys.GetData(), keys.GetData() + keys.GetSize()); }

TEST(StudyBooks, LexiconKeepsEveryScriptAndItsReferencesLead) {
  Built lexicon;
  BuildAndOpen(lexicon, kLexicon, ParseLexicon, BuildLexiconBook);
  cORVABookBase& book = lexicon.book;
  // Sections in order of letter and number, named by the number without zeros.
  EXPECT_EQ(std::string(book.GetPathFromKey(0)), "\\G25");
  for (const char* typed : {"G26", "g26", "G0026"}) EXPECT_EQ(Packaged(book, "strongs", typed), 1) << typed;
  EXPECT_EQ(Packaged(book, "strongs", "H430"), 4);
  EXPECT_EQ(Packaged(book, "strongs", "G27"), -1);

  // Every character as the source has it, read through the library.
  const query::ShownEntry agape = Entry(book, 1);
  EXPECT_EQ(agape.paragraphs, (std::vector<std::string>{"ἀγάπη", "agápē", "ag-ah'-pay", "from G25;", "love, i.e. affection"}));
  EXPECT_EQ(Entry(book, 2).paragraphs[0], "ᾠδῇ ŷ ḕ");
  const query::ShownEntry elohim = Entry(book, 4);
  EXPECT_EQ(elohim.paragraphs[0], "אֱלֹהִים");
  EXPECT_EQ(elohim.paragraphs[1], "'ĕlôhîym ţ‛");
  EXPECT_EQ(Entry(book, 3).paragraphs[0], "אָהַב־");

  // References: to another number (the shown text kept), to verses.
  ASSERT_EQ(agape.references.size(), 1u);
  EXPECT_EQ(Packaged(book, "strongs", agape.references[0].reference.key), 0);
  const query::ShownEntry love = Entry(book, 0);
  ASSERT_EQ(love.references.size(), 1u);
  EXPECT_EQ(love.references[0].reference.key, "H157");
  EXPECT_EQ(love.references[0].reference.shown, "H0157");
  ASSERT_EQ(elohim.references.size(), 2u);
  EXPECT_EQ(elohim.references[0].reference.key, "1,1,1");
  EXPECT_EQ(elohim.references[1].reference.key, "1,2");
  EXPECT_EQ(elohim.paragraphs[3], "gods; see Gen 1:1 and 1,2");
  // What begins no reference is text, read in linear time however much of it a
  // hostile book holds (a quadratic reading of these 2 MB would not end).
  for (const char* bad : {"{\\verse:|", "{\\verse:", "{\\verse:}"}) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += bad;
    EXPECT_EQ(query::ShowEntryText(text + "\t{\\date:12-25}").paragraphs, (std::vector<std::string>{text, "12-25"}))
        << bad;
  }

  // Words under their languages: Greek folded, Hebrew with its points.
  CUIntArray keys;
  cLanguageString greek(reinterpret_cast<const unsigned short*>(u"αγαπη"), 1032), english("love");
  ASSERT_GE(book.GetKeysForWord(greek, keys), 0);
  EXPECT_EQ(Keys(keys), std::vector<UINT>{1});
  ASSERT_GE(book.GetKeysForWord(english, keys), 0);
  EXPECT_EQ(Keys(keys), (std::vector<UINT>{0, 1, 3}));
  EXPECT_EQ(book.SectionWordCount(1), 10);  // αγαπη agape ag ah pay from love i e affection: not the key
}

TEST(StudyBooks, TopicsAndPlanListTheirEntriesUnderTheVersesTheyName) {
  Built topics;
  BuildAndOpen(topics, kTopics, ParseDictionary, BuildGlossaryBook);
  cORVABookBase& book = topics.book;
  // Letters D and F, then DOUBTING 2 and Faith 3.
  EXPECT_EQ(Packaged(book, "word", "faith"), 3);
  const query::ShownEntry faith = Entry(book, 3);
  EXPECT_EQ(faith.paragraphs, (std::vector<std::string>{"→ General Joh 3:16; Ps 34:1-3", "→ WEAK", "See DOUBTING"}));
  EXPECT_EQ(Packaged(book, "word", faith.references.back().reference.key), 2);
  CUIntArray keys;
  EXPECT_EQ(book.GetVerseOccurrences(43, 3, 16, keys), 2);  // the OSIS and the numbered reference
  EXPECT_EQ(Keys(keys), (std::vector<UINT>{2, 3}));
  EXPECT_EQ(book.GetVerseOccurrences(19, 34, 3, keys), 1);
  EXPECT_EQ(book.GetVerseOccurrences(19, 34, 4, keys), 0);
  EXPECT_EQ(book.GetChapterOccurrences(45, 2, keys), 1);
  EXPECT_EQ(Keys(keys), std::vector<UINT>{2});
  EXPECT_EQ(book.GetChapterOccurrencesAllVerses(19, 34, keys), 1);
  EXPECT_EQ(book.GetBookOccurrencesAllVerses(43, keys), 2);

  Built plan;
  BuildAndOpen(plan, kPlan, ParsePlan, BuildPlanBook);
  EXPECT_EQ(Packaged(plan.book, "date", "2-29"), 1);
  EXPECT_EQ(Packaged(plan.book, "date", "today"), 2);  // "today" is 12-25 here
  EXPECT_EQ(query::SyncKeyOf("date", "2-30"), "");
  EXPECT_EQ(std::string(plan.book.GetPathFromKey(2)), "\\12-25");
  EXPECT_EQ(Entry(plan.book, 2).paragraphs[0], "1 John 2-5; 2 John 1");
  EXPECT_EQ(plan.book.GetChapterOccurrences(1, 3, keys), 1);
  EXPECT_EQ(plan.book.GetChapterOccurrences(62, 5, keys), 1);
  EXPECT_EQ(Keys(keys), std::vector<UINT>{2});
  EXPECT_EQ(plan.book.GetBookOccurrencesAllChapters(63, keys), 1);
}

TEST(StudyBooks, FaultsOfTheSourcesNameTheirLine) {
  const auto fault = [](const std::string& text, bool lexicon = false) {
    std::istringstream in(text);
    try {
      if (lexicon) BuildLexiconBook(ParseLexicon(in, "s.txt"), {}, "s.txt");
      else BuildGlossaryBook(ParseDictionary(in, "s.txt"), {}, "s.txt");
    } catch (const SourceError& e) {
      return std::string(e.what());
    }
    return std::string("none");
  };
  EXPECT_EQ(fault("a\tok\nb\tsee {\\verse:Gen.1.1}\n"), "none");
  EXPECT_EQ(fault("a\tok\nb\tsee {\\verse:Gen.1.1-Gen.2.3}\n"),
            "s.txt:2: \"Gen.1.1-Gen.2.3\" is no verse reference: a verse, chapter or book, or a range of verses "
            "within a chapter or of chapters within a book");
  EXPECT_EQ(fault("a\tsee {\\verse:Tobias.1.1}\n"), "s.txt:1: \"Tobias.1.1\" names no book of the Bible by its OSIS id");
  EXPECT_EQ(fault("a\tsee {\\verse:Ps.1.1-Ps.1.1001}\n"), "s.txt:1: \"Ps.1.1-Ps.1.1001\" names more than 1000 verses or chapters");
  EXPECT_EQ(fault("a\t{\\strongs:X1}\n"), "s.txt:1: \"X1\" is no Strong's number");
  EXPECT_EQ(fault("a\t{\\strong:G1}\n").substr(0, 29), "s.txt:1: \"{\\strong:G1}\" is no");
  EXPECT_EQ(fault("a\ta <Greek:b\n"), "s.txt:1: the text holds \"<Greek:\", which a reader takes for a language tag");
  EXPECT_EQ(fault("a\tthe \xE4\xB8\x80 sign\n"), "s.txt:1: the character U+4E00 has no form in the code page of any language");
  EXPECT_EQ(fault("G1\ta\tb\tc\n", true),
            "s.txt:1: expected \"NUMBER<TAB>HEADWORD<TAB>TRANSLITERATION<TAB>PRONUNCIATION<TAB>DEFINITION\"");
  EXPECT_EQ(fault("G1\ta\tb\tc\td\ng01\ta\tb\tc\td\n", true), "s.txt:2: G1 comes twice");
  EXPECT_EQ(fault("X1\ta\tb\tc\td\n", true), "s.txt:1: \"X1\" is no Strong's number");
}

}  // namespace
