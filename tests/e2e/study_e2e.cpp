// The study works of samples/ (Strong's Greek and Hebrew dictionaries, Nave's
// Topical Bible, the reading plan), built once per test run by the CTest
// fixtures (tests/CMakeLists.txt) and checked against their sources: every
// entry's text read back through the library, the counts, the verses index.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "orvada.h"
#include "tests/e2e/run_orva.h"
#include "query/book_access.h"
#include "query/entry_text.h"
#include "query/passage.h"
#include "writer/book_dir.h"
#include "writer/source_text.h"

namespace {

using orva::e2e::Lines;
namespace query = orva::query;

struct Work {
  std::string source, book;
};
std::map<std::string, Work> g_works;  // "greek", "hebrew", "naves", "plan"

std::string Out(const std::vector<std::string>& args) {
  orva::writer::TempBookDir dir;
  const orva::e2e::Result result = orva::e2e::RunOrva(args, dir.Path() + "stderr");
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

// The entries of a source: key (as the sync index stores it) -> text.
std::map<std::string, std::string> Entries(const std::string& name) {
  std::istringstream in(orva::writer::ReadSourceFile(g_works.at(name).source));
  const std::string file = g_works.at(name).source;
  const std::vector<orva::writer::DictionaryEntry> entries =
      name == "naves"    ? orva::writer::ParseDictionary(in, file)
      : name == "plan" ? orva::writer::ParsePlan(in, file)
                       : orva::writer::ParseLexicon(in, file);
  std::map<std::string, std::string> byKey;
  for (const auto& entry : entries) byKey[entry.headword] = entry.definition;
  return byKey;
}

class Opened {
 public:
  explicit Opened(const std::string& name) {
    query::PointBookAt(book, g_works.at(name).book);
    DWORD parts = ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | book.GetSyncTypeFlag();
    if (name != "greek") parts |= ORVA_VERSES;
    query::OpenParts(book, parts);
  }
  ~Opened() { book.Close(ORVA_ALL_OPEN); }
  cORVABookBase book;
};

int SyncKey(cORVABookBase& book, const std::string& key) {
  const CString packaged = LangToPackagedString(cLanguageString(key.c_str()));
  switch (book.GetSyncTypeFlag()) {
    case ORVA_SSYNC: return book.GetSSyncKey(packaged);
    case ORVA_DSYNC: return book.GetDSyncKey(packaged);
    default: return book.GetWSyncKey(packaged);
  }
}

// Every entry of each source, found by its key, reads back as the source has it:
// the same paragraphs, in every script, and the same references (verse keys in
// numbers, Strong's numbers without leading zeros).
TEST(StudyWorks, EveryEntryReadsBackAsTheSourceHasIt) {
  const std::map<std::string, size_t> kEntries = {{"greek", 5624}, {"hebrew", 8674}, {"naves", 5320}, {"plan", 366}};
  for (const auto& [name, count] : kEntries) {
    SCOPED_TRACE(name);
    const std::map<std::string, std::string> entries = Entries(name);
    EXPECT_EQ(entries.size(), count);
    Opened opened(name);
    cORVABookBase& book = opened.book;
    const int language = query::BookLanguage(book);
    size_t same = 0;
    for (const auto& [key, text] : entries) {
      const int found = SyncKey(book, key);
      ASSERT_GE(found, 0) << key;
      const std::vector<query::Passage> passages = query::ReadPassages(book, found, static_cast<unsigned short>(language));
      ASSERT_EQ(passages.size(), 1u) << key;
      const query::ShownEntry read = query::ShowEntryText(passages[0].text);
      const query::ShownEntry source = query::ShowEntryText(text);
      EXPECT_EQ(read.paragraphs, source.paragraphs) << key;
      ASSERT_EQ(read.references.size(), source.references.size()) << key;
      for (size_t i = 0; i < read.references.size(); ++i) {
        const query::InlineReference& r = read.references[i].reference;
        const query::InlineReference& s = source.references[i].reference;
        EXPECT_EQ(r.type, s.type) << key;
        EXPECT_EQ(r.key, r.type == "verse" ? r.key : query::SyncKeyOf(r.type, s.key)) << key;
      }
      same += read.paragraphs == source.paragraphs;
    }
    EXPECT_EQ(same, count);
  }
}

TEST(StudyWorks, HeadwordsInTheirScriptsAndTheSyncCommand) {
  EXPECT_EQ(Lines(Out({"sync", g_works.at("greek").book, "G26"})),
            (std::vector<std::string>{"G26: key 25, \\G26", "G26 ἀγάπη agápē ag-ah'-pay", "from G25;",
                                      "love, i.e. affection or benevolence; specially (plural) a love-feast:--(feast "
                                      "of) charity(-ably), dear, love."}));
  EXPECT_EQ(Lines(Out({"sync", g_works.at("hebrew").book, "H0430"}))[1], "H430 אלהים 'ĕlôhîym el-o-heem'");
  const std::vector<std::string> faith = Lines(Out({"sync", g_works.at("naves").book, "Faith"}));
  const std::string topic = "FAITH → General scriptures concerning 2Sa 22:31; Ps 2:12;";
  EXPECT_EQ(faith[1].substr(0, topic.size()), topic);
  EXPECT_EQ(faith[2], "→ See FAITH IN CHRIST");
  EXPECT_EQ(Lines(Out({"sync", g_works.at("plan").book, "12-25"}))[1], "12-25 1 John 2-5; 2 John 1");
  EXPECT_EQ(Lines(Out({"sync", g_works.at("plan").book, "today"})).size(), 2u);
  for (const auto& [name, work] : g_works) EXPECT_EQ(Lines(Out({"check", work.book}))[0], work.book + ": the book is sound");
}

// Nave's verses index: each topic whose source names John 3:16 is listed under
// it. The plan's: every chapter of the Bible read on exactly one day, in order.
TEST(StudyWorks, VersesIndexesLeadFromVersesToEntries) {
  Opened naves("naves");
  CUIntArray keys;
  ASSERT_GT(naves.book.GetVerseOccurrences(43, 3, 16, keys), 0);
  std::set<std::string> listed;
  for (int i = 0; i < keys.GetSize(); ++i) listed.insert(static_cast<const char*>(naves.book.GetPathFromKey(static_cast<int>(keys[i]))));
  int naming = 0;
  for (const auto& [topic, text] : Entries("naves")) {
    if (text.find("{\\verse:John.3.16|") == std::string::npos) continue;
    ++naming;
    EXPECT_EQ(listed.count("\\" + topic), 1u) << topic;
  }
  EXPECT_GT(naming, 3);

  // Chapters per book of the KJV sample.
  std::map<int, int> chapters;
  std::istringstream kjv(orva::writer::ReadSourceFile(g_works.at("plan").source.substr(0, g_works.at("plan").source.rfind('/')) + "/kjv.txt.gz"));
  int book = 0;
  std::string previous;
  for (std::string line; std::getline(kjv, line);) {
    const std::string name = line.substr(0, line.rfind(' ', line.find('\t')));
    if (name != previous) ++book, previous = name;
    chapters[book] = std::stoi(line.substr(name.size() + 1));
  }
  ASSERT_EQ(chapters.size(), 66u);
  Opened plan("plan");
  UINT day = 0;
  int read = 0;
  for (const auto& [number, count] : chapters) {
    for (int chapter = 1; chapter <= count; ++chapter, ++read) {
      ASSERT_EQ(plan.book.GetChapterOccurrences(static_cast<unsigned short>(number), static_cast<unsigned short>(chapter), keys), 1)
          << number << "," << chapter;
      EXPECT_TRUE(keys[0] == day || keys[0] == day + 1 || keys[0] == day + 2) << number << "," << chapter;  // 02-29 reads nothing
      day = keys[0];
    }
  }
  EXPECT_EQ(read, 1189);
  EXPECT_EQ(day, 365u);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s SAMPLES_FOLDER GREEK_BOOK HEBREW_BOOK NAVES_BOOK PLAN_BOOK\n", argv[0]);
    return 2;
  }
  const std::string samples = argv[1];
  g_works["greek"] = {samples + "/strongs-greek.txt.xz", argv[2]};
  g_works["hebrew"] = {samples + "/strongs-hebrew.txt.xz", argv[3]};
  g_works["naves"] = {samples + "/naves.txt.xz", argv[4]};
  g_works["plan"] = {samples + "/plan.txt.xz", argv[5]};
  return RUN_ALL_TESTS();
}
