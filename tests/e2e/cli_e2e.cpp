// The orva program end to end on a small book that `orva build` makes from text
// written by the test: every subcommand, and how it fails.
#include <algorithm>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/e2e/run_orva.h"
#include "tests/osis_sample.h"
#include "tests/study_sample.h"
#include "writer/book_dir.h"

namespace {

using orva::e2e::Lines;
using orva::e2e::Result;
namespace fs = std::filesystem;

constexpr const char* kScripture =
    "Genesis 1:1\tIn the beginning God created the heaven and the earth.\n"
    "Genesis 1:2\tAnd the earth was without form, and void.\n"
    "Genesis 1:3\tAnd God said, Let there be light: and there was light.\n"
    "Genesis 2:1\tThus the heavens and the earth were finished.\n"
    "John 1:1\tIn the beginning was the Word.\n"
    "John 1:5\tAnd the light shineth in darkness.\n"
    "John 3:16\tFor God so loved the world.\n"
    "Jude 1:3\tBeloved, when I gave all diligence.\n"
    "Jude 1:4\tThe LORD's loving-kindness is better than life.\n";

constexpr const char* kDictionary =
    "Abba\tfather\n"
    "bread\tfood made of flour, the light of the table\n";

class OrvaProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    Write("bible.txt", kScripture);
    Write("words.txt", kDictionary);
    const Result built = Run({"build", Path("bible.txt"), "-o", Book(), "--publisher", "3", "--book", "9",
                              "--title", "Small Bible", "--compress", "--coded"});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.out.substr(0, built.out.find(',')), "built " + Book() + ": 3 books");
  }

  std::string Path(const std::string& name) const { return m_dir.Path() + name; }
  std::string Book() const { return Path("book"); }
  void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
  Result Run(const std::vector<std::string>& args) const { return orva::e2e::RunOrva(args, Path("stderr")); }
  // Runs a query that must succeed; its standard output.
  std::string Out(const std::vector<std::string>& args) const {
    const Result result = Run(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
  }
  // Runs a query that must fail with status 1; its message.
  std::string Err(const std::vector<std::string>& args) const {
    const Result result = Run(args);
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_EQ(result.out, "");
    return result.err;
  }

  orva::writer::TempBookDir m_dir;
};

TEST_F(OrvaProgram, InfoTocAndRead) {
  const std::string info = Out({"info", Book()});
  EXPECT_EQ(Lines(info)[0], "book in " + Book() + ": publisher 3, book 9, sync type verse");
  EXPECT_NE(info.find("TITLE: Small Bible"), std::string::npos) << info;
  EXPECT_NE(info.find("vsync.idx      0  No errors occurred."), std::string::npos) << info;
  EXPECT_NE(Out({"info", Book(), "--json"}).find("\"publisher\":3,\"book\":9,\"syncType\":\"verse\""),
            std::string::npos);

  EXPECT_EQ(Lines(Out({"toc", Book()})),
            (std::vector<std::string>{"Genesis                      2", "John                         2",
                                      "Jude                         1"}));
  EXPECT_EQ(Out({"toc", Book(), "Gen 1", "--json"}),
            "{\"section\":\"Genesis 1\",\"sections\":[{\"name\":\"1\",\"key\":2,\"sections\":0},"
            "{\"name\":\"2\",\"key\":3,\"sections\":0},{\"name\":\"3\",\"key\":4,\"sections\":0}]}\n");

  const std::string verse = "John 3:16 For God so loved the world.\n";
  EXPECT_EQ(Out({"read", Book(), "John 3:16"}), verse);
  EXPECT_EQ(Out({"read", Book(), "John\\3\\16"}), verse);
  EXPECT_EQ(Out({"read", Book(), "Jude 3"}), "Jude 1:3 Beloved, when I gave all diligence.\n");
  EXPECT_EQ(Out({"read", Book(), "John"}),
            "John 1\n1 In the beginning was the Word.\n5 And the light shineth in darkness.\n\n"
            "John 3\n16 For God so loved the world.\n");
  EXPECT_EQ(Out({"read", Book(), "John", "3:16"}), verse);  // the rest of the line, unquoted
}

TEST_F(OrvaProgram, ReadsRangesAndLists) {
  const std::string one = "Genesis 1:1 In the beginning God created the heaven and the earth.\n";
  const std::string two = "Genesis 1:2 And the earth was without form, and void.\n";
  const std::string three = "Genesis 1:3 And God said, Let there be light: and there was light.\n";
  const std::string heavens = "Genesis 2:1 Thus the heavens and the earth were finished.\n";
  EXPECT_EQ(Out({"read", Book(), "Gen 1:2-3"}), two + three);
  EXPECT_EQ(Out({"read", Book(), "Gen 1:1 \xE2\x80\x93 2"}), one + two);  // an en dash, blanks
  EXPECT_EQ(Out({"read", Book(), "Gen 1:3-2:1"}), three + heavens);
  EXPECT_EQ(Out({"read", Book(), "Gen 1:1,3; 2"}), one + three + "\n" + heavens);
  EXPECT_EQ(Out({"read", Book(), "Gen 2-John 1"}),
            "Genesis 2\n1 Thus the heavens and the earth were finished.\n\nJohn 1\n1 In the beginning was the Word.\n"
            "5 And the light shineth in darkness.\n");
  EXPECT_EQ(Out({"read", Book(), "Jude 3; John 3:16"}),
            "Jude 1:3 Beloved, when I gave all diligence.\nJohn 3:16 For God so loved the world.\n");
  EXPECT_EQ(Out({"--json", "read", Book(), "Gen 1:3-2:1"}),
            "{\"query\":\"Gen 1:3-2:1\",\"references\":[{\"reference\":\"Genesis 1:3-2:1\",\"first\":4,\"last\":6}],"
            "\"passages\":[{\"reference\":\"Genesis 1:3\",\"key\":4,\"text\":\"And God said, Let there be light: and "
            "there was light.\"},{\"reference\":\"Genesis 2:1\",\"key\":6,\"text\":\"Thus the heavens and the earth "
            "were finished.\"}]}\n");
}

TEST_F(OrvaProgram, VerseAndSync) {
  // Books go by their number in the list of books, not by their order here.
  EXPECT_EQ(Out({"verse", Book(), "43,3,16"}), "43,3,16: key 12, \\John\\3\\16\nJohn 3:16 For God so loved the world.\n");
  EXPECT_EQ(Out({"sync", Book(), "1,1,3"}),
            "1,1,3: key 4, \\Genesis\\1\\3\nGenesis 1:3 And God said, Let there be light: and there was light.\n");
  EXPECT_NE(Out({"verse", Book(), "65,1,3", "--json"}).find("\"reference\":\"Jude 1:3\""), std::string::npos);

  const Result glossary = Run({"build", "--dictionary", Path("words.txt"), "-o", Path("glossary")});
  ASSERT_EQ(glossary.status, 0) << glossary.err;
  EXPECT_EQ(Out({"sync", Path("glossary"), "BREAD"}),
            "BREAD: key 3, \\bread\nbread food made of flour, the light of the table\n");
  EXPECT_EQ(Out({"read", Path("glossary"), "abba"}), "Abba father\n");
  EXPECT_EQ(Err({"sync", Path("glossary"), "apple"}),
            "orva: \"apple\" is not in the word index; the nearest word after it is \"bread\"\n");
  EXPECT_EQ(Err({"verse", Path("glossary"), "1,1,1"}),
            "orva: " + Path("glossary") + ": not a book with a verse sync index\n");
}

TEST_F(OrvaProgram, BadReferencesSayWhatDidNotMatch) {
  const auto says = [&](const std::string& reference, const std::string& what) {
    EXPECT_EQ(Err({"read", Book(), reference}), "orva: \"" + reference + "\": " + what + "\n");
  };
  says("Exodus 1:1", "no book is called \"Exodus\"");
  says("J 1:1", "\"J\" fits several books");
  says("Genesis 3", "Genesis has no chapter 3");
  says("Genesis 1:4", "Genesis 1 has no verse 4");
  says("John 0:1", "John has no chapter 0");
  says("Gen 99999999999999999999", "Genesis has no chapter 99999999999999999999");
  says("Gen 1:2\xE2\x80\x93" "9", "Genesis 1 has no verse 9");  // past the end of its chapter
  says("Gen 1-3", "Genesis has no chapter 3");                     // past the end of its book
  says("Gen 1:3-1", "the range ends before it begins");
  says("Jude 1", "Jude 1 has no verse 1");  // a lone number in a book of one chapter is a verse
  says("3:16", "it names no book");
  says("Gen 1:1,", "one of its references is empty");
  EXPECT_EQ(Err({"read", Book(), "Genesis\\9"}), "orva: no section has the path Genesis\\9\n");
  EXPECT_EQ(Err({"read", Book(), ""}), "orva: an empty reference names nothing\n");
  EXPECT_EQ(Err({"verse", Book(), "1,1,4"}), "orva: no verse 1,1,4 in this book (book,chapter,verse)\n");
  EXPECT_EQ(Err({"toc", Book(), "Gen 1-2"}), "orva: \"Gen 1-2\" names more than one section\n");
  EXPECT_EQ(Out({"toc", Book(), "Gen 1:1"}), "(no sections below Genesis 1:1)\n");
}

TEST_F(OrvaProgram, UsageErrors) {
  EXPECT_EQ(Run({"read", Book()}).status, 2);
  const Result unknown = Run({"raed", Book(), "John 3:16"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "orva: there is no subcommand \"raed\" (orva --help lists them)\n");
  EXPECT_EQ(Run({"find", Book(), "light", "--limit", "0"}).status, 2);
  EXPECT_EQ(Run({"find", Book()}).status, 2);  // neither a word nor a number
  EXPECT_EQ(Run({"words", Book(), "a", "--limit", "-1"}).status, 2);
  EXPECT_EQ(Out({"--version"}), "orva " ORVA_PROGRAM_VERSION ", reads books of format 2.0 and older\n");
}

TEST_F(OrvaProgram, BadSourcesLeaveNoBook) {
  Write("bad.txt", "Genesis 1:1\tok\nGenesis 1\tno verse\n");
  EXPECT_EQ(Err({"build", Path("bad.txt"), "-o", Path("bad")}),
            "orva: " + Path("bad.txt") + ":2: expected a reference \"Book Chapter:Verse\" before the tab, not "
            "\"Genesis 1\"\n");
  Write("bad.txt", "Genesis 1:1\tok\nGenesis 1:2\tsigns \xE4\xB8\x80 here\n");
  EXPECT_EQ(Err({"build", Path("bad.txt"), "-o", Book()}),
            "orva: " + Path("bad.txt") + ":2: the character U+4E00 has no form in the book's code page\n");
  EXPECT_EQ(Err({"build", Path("none.txt"), "-o", Path("bad")}),
            "orva: " + Path("none.txt") + ": cannot be opened: No such file or directory\n");
  EXPECT_FALSE(fs::exists(Path("bad")));
  // The book built before is untouched, and nothing was left beside it.
  EXPECT_EQ(Out({"read", Book(), "Jude 3"}), "Jude 1:3 Beloved, when I gave all diligence.\n");
  for (const fs::directory_entry& entry : fs::directory_iterator(m_dir.Path())) {
    EXPECT_EQ(entry.path().filename().string().find('-'), std::string::npos) << entry.path();
  }
}

TEST_F(OrvaProgram, BuildsOsisDocuments) {
  Write("t.osis.xml", orva::test::kOsisSample);
  const Result built = Run({"build", Path("t.osis.xml"), "-o", Path("osis")});
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_EQ(Lines(built.out)[0].substr(0, Lines(built.out)[0].find(" bytes")),
            "built " + Path("osis") + ": 3 books, 3 chapters, 5 verses (6 verse numbers), 44 words (37 distinct), 3490");
  EXPECT_EQ(Lines(built.out)[1], "  language 1034; Strong's numbers: 7, on 12 words; title lines: 2; left out: 1 "
                                 "notes, 5 words outside the books' chapters");
  // Books by their own names and by their English ones; title lines with their
  // chapters; a verse of two numbers by either.
  EXPECT_EQ(Out({"read", Path("osis"), "Salmos"}),
            "Salmos 23\nSalmo de David.\n1 JEHOV\xC3\x81 es mi pastor; nada me faltar\xC3\xA1.\n2 En lugares de delicados "
            "pastos me har\xC3\xA1 yacer junto a aguas.\n");
  EXPECT_EQ(Out({"read", Path("osis"), "Tob 1:3"}), "Tob\xC3\xAD" "as 1:2 En tiempo de Enemessar el rey.\n");
  EXPECT_EQ(Lines(Out({"read", Path("osis"), "Tobit"})).back(), "Escrito en N\xC3\xADnive.");
  EXPECT_EQ(Lines(Out({"verse", Path("osis"), "43,3,16"}))[0], "43,3,16: key 10, \\John\\3\\16");
  EXPECT_EQ(Out({"find", Path("osis"), "jehova"}), "Salmos 23:1  (1)\n1 place\n");
  EXPECT_EQ(Out({"find", Path("osis"), "g25"}), "0 places\n");  // Strong's numbers are no words of the text
  EXPECT_EQ(Lines(Out({"check", Path("osis")}))[0], Path("osis") + ": the book is sound");

  // Strong's numbers: the words that translate one, in either way of writing
  // it; several numbers and words all at once; the numbers beside the words.
  EXPECT_EQ(Out({"find", Path("osis"), "--strongs", "G0025"}),
            "Tob\xC3\xAD" "as 1:2  (4-6 Enemessar el rey)\nJohn 3:16  (5 am\xC3\xB3)\n2 places\n");
  EXPECT_EQ(Out({"find", Path("osis"), "rey", "--strongs", "g26", "G25"}),
            "Tob\xC3\xAD" "as 1:2  (rey 6; G26 4-6 Enemessar el rey; G25 4-6 Enemessar el rey)\n1 place\n");
  EXPECT_EQ(Out({"find", Path("osis"), "--strongs", "H07462", "--json"}),
            "{\"terms\":[\"H7462\"],\"words\":[[\"h7462\"]],\"count\":1,\"references\":[\"Salmos 23:1\"],"
            "\"hits\":[{\"key\":2,\"positions\":[[4]],\"text\":[[\"pastor\"]]}]}\n");
  EXPECT_EQ(Out({"read", Path("osis"), "Ps 23:2", "--strongs"}),
            "Salmos 23:2 En lugares de delicados pastos me har\xC3\xA1 yacer<H1878 H7257> junto a aguas.\n");
  EXPECT_NE(Out({"read", Path("osis"), "--strongs", "--json", "John 3:16"})
                .find("{\"word\":\"Porque\",\"strongs\":[]},{\"word\":\"de\",\"strongs\":[]},{\"word\":\"tal\","
                      "\"strongs\":[]},{\"word\":\"manera\",\"strongs\":[]},{\"word\":\"am\xC3\xB3\",\"strongs\":[\"G25\"]}"),
            std::string::npos);
  EXPECT_EQ(Err({"find", Path("osis"), "--strongs", "G0"}),
            "orva: \"G0\" is no Strong's number (a G or an H and a number: G25, H430)\n");
  for (const std::vector<std::string>& args : {std::vector<std::string>{"find", Book(), "--strongs", "G25"},
                                               std::vector<std::string>{"read", Book(), "John 3:16", "--strongs"}}) {
    EXPECT_EQ(Err(args), "orva: " + Book() + ": the book has no Strong's numbers (its source tagged no words with them)\n");
  }

  // A fault names its line and leaves the book as it was.
  Write("bad.osis.xml", "<osis><osisText>\n<div type=\"book\" osisID=\"Foo\"/></osisText></osis>\n");
  EXPECT_EQ(Err({"build", Path("bad.osis.xml"), "-o", Path("osis")}),
            "orva: " + Path("bad.osis.xml") +
                ":2: \"Foo\" is no book of the Bible that this program knows (an osisID such as Gen, Matt, Tob)\n");
  EXPECT_EQ(Lines(Out({"toc", Path("osis")})).size(), 3u);
}

TEST_F(OrvaProgram, MissingAndDamagedBooksAreReported) {
  EXPECT_EQ(Err({"read", Path("nowhere"), "John 3:16"}), "orva: " + Path("nowhere") + ": no such book folder\n");
  fs::create_directory(Path("empty"));
  EXPECT_EQ(Err({"toc", Path("empty")}), "orva: " + Path("empty") + ": no book files in this folder\n");

  fs::remove(Book() + "/vsync.idx");
  EXPECT_EQ(Err({"sync", Book(), "1,1,1"}), "orva: " + Book() + ": the book has no sync index\n");
  // A block that runs past the end of book.dat fails when it is read; a sections
  // index cut inside its table fails when it is opened.
  fs::resize_file(Book() + "/book.dat", fs::file_size(Book() + "/book.dat") - 4);
  EXPECT_EQ(Err({"read", Book(), "Jude 3"}),
            "orva: " + Book() + ": the book is damaged: The end of file was reached.\n");
  EXPECT_EQ(Out({"read", Book(), "Gen 1:1"}), "Genesis 1:1 In the beginning God created the heaven and the earth.\n");
  fs::resize_file(Book() + "/sections.idx", 200);
  EXPECT_EQ(Err({"toc", Book()}), "orva: sections.idx: The end of file was reached.\n");
  Result info = Run({"info", Book()});
  EXPECT_EQ(info.status, 1);
  EXPECT_NE(info.out.find("sections.idx  14  The end of file was reached."), std::string::npos) << info.out;
  EXPECT_EQ(info.err, "orva: " + Book() + ": sections.idx: The end of file was reached.\n");
  // A viewable index cut inside its descriptors opens, and fails when it is read.
  fs::resize_file(Book() + "/viewable.idx", fs::file_size(Book() + "/viewable.idx") - 4);
  info = Run({"info", Book()});
  EXPECT_EQ(info.status, 1);
  EXPECT_EQ(info.err, "orva: " + Book() + ": the book is damaged: The end of file was reached.\n");
}

TEST_F(OrvaProgram, FindAndWords) {
  EXPECT_EQ(Out({"find", Book(), "Light"}),
            "Genesis 1:3  (7 11)\nJohn 1:5  (3)\n2 places\n");
  EXPECT_EQ(Out({"find", Book(), "the", "BEGINNING", "The"}),  // a word twice is searched once
            "Genesis 1:1  (the 2 6 9; beginning 3)\nJohn 1:1  (the 2 5; beginning 3)\n2 places\n");
  // In a row, in the order given; several words in one argument count alike.
  EXPECT_EQ(Out({"find", Book(), "--phrase", "the earth"}),
            "Genesis 1:1  (9)\nGenesis 1:2  (2)\nGenesis 2:1  (5)\n3 places\n");
  EXPECT_EQ(Out({"find", Book(), "--phrase", "earth", "the"}), "0 places\n");
  EXPECT_EQ(Out({"find", Book(), "--phrase", "the the"}), "0 places\n");  // a phrase keeps its repeats
  EXPECT_EQ(Out({"find", Book(), "--phrase", "god", "created"}), "Genesis 1:1  (4)\n1 place\n");
  EXPECT_EQ(Out({"find", Book(), "--phrase", "beginning God created"}), "Genesis 1:1  (3)\n1 place\n");
  EXPECT_EQ(Out({"find", Book(), "--phrase", "In the beginning"}), "Genesis 1:1  (1)\nJohn 1:1  (1)\n2 places\n");
  EXPECT_EQ(Out({"find", Book(), "--prefix", "heav"}),
            "Genesis 1:1  (7)\nGenesis 2:1  (3)\n2 places\n");
  EXPECT_EQ(Out({"find", Book(), "nowhere"}), "0 places\n");
  // A word is found in a possessive and in a compound; the phrase finds the
  // compound, and a compound searched stands for its words in a row.
  EXPECT_EQ(Out({"find", Book(), "lord", "kindness"}), "Jude 1:4  (lord 2; kindness 5)\n1 place\n");
  EXPECT_EQ(Out({"find", Book(), "--phrase", "loving kindness is"}), "Jude 1:4  (4)\n1 place\n");
  EXPECT_EQ(Out({"find", Book(), "LORD\xE2\x80\x99s", "loving-kindness"}),
            "Jude 1:4  (lord's 2; loving-kindness 4)\n1 place\n");
  EXPECT_EQ(Out({"find", Book(), "kindness-loving"}), "0 places\n");
  EXPECT_EQ(Err({"words", Book(), "lord's"}), "orva: \"lord's\" is more than one word\n");
  EXPECT_EQ(Out({"find", Book(), "--json", "--limit", "1", "light"}),
            "{\"terms\":[\"light\"],\"words\":[[\"light\"]],\"count\":2,\"references\":[\"Genesis 1:3\"],"
            "\"hits\":[{\"key\":4,\"positions\":[[7,11]]}]}\n");
  EXPECT_EQ(Err({"find", Book(), "--", "--"}), "orva: the search holds no word\n");
  EXPECT_EQ(Out({"words", Book(), "he"}), "heaven                        1\nheavens                       1\n");
  EXPECT_EQ(Out({"words", Book(), "--limit", "2"}),  // from the first word
            "all                           1\nand                           5\n");
  EXPECT_EQ(Out({"words", Book(), "zz", "--json"}), "[]\n");
}

TEST_F(OrvaProgram, CheckFindsDamageThatReadersDoNotSee) {
  const std::vector<std::string> sound = Lines(Out({"check", Book()}));
  ASSERT_EQ(sound.size(), 6u);  // the verdict, then what was checked in each file
  EXPECT_EQ(sound[0], Book() + ": the book is sound");
  EXPECT_EQ(sound[4], "  concord.idx: 1 language, 42 words, 62 keys, 70 positions, coded lists");
  EXPECT_NE(Out({"check", Book(), "--json"}).find("\"sound\":true,\"faultCount\":0,\"faults\":[]"), std::string::npos);

  // In a book with plain lists, the entry of "light" (its length 5 and its
  // letters) is followed by its two keys (u16 each), then its first position
  // list: a byte count 2, a u16 count 0, the bytes 7 and 11. A flipped bit in
  // the byte count makes it 66 positions, which `find` shows as if they were sound.
  ASSERT_EQ(Run({"build", Path("bible.txt"), "-o", Path("plain")}).status, 0);
  const std::string concord = Path("plain") + "/concord.idx";
  std::string bytes;
  {
    std::ifstream in(concord, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const size_t light = bytes.find(std::string("\x05\0light", 7));
  ASSERT_NE(light, std::string::npos);
  ASSERT_EQ(bytes.substr(light + 11, 5), std::string("\x02\0\0\x07\x0B", 5));
  bytes[light + 11] ^= 0x40;
  std::ofstream(concord, std::ios::binary) << bytes;

  const std::string found = Lines(Out({"find", Path("plain"), "light"}))[0];
  EXPECT_EQ(found.rfind("Genesis 1:3  (", 0), 0u) << found;
  EXPECT_GT(std::count(found.begin(), found.end(), ' '), 20) << found;  // far more than its 2 positions
  const Result check = Run({"check", Path("plain")});
  EXPECT_EQ(check.status, 1);
  const std::vector<std::string> faults = Lines(check.out);
  ASSERT_GE(faults.size(), 3u) << check.out;
  EXPECT_EQ(faults[0], "concord.idx: word \"light\", key 4 (Genesis\\1\\3): its positions do not ascend: 1 after 11");
  EXPECT_EQ(faults[1],
            "concord.idx: key 4 (Genesis\\1\\3): the concordance lists 9 words there, sections.idx counts 11");
  EXPECT_EQ(faults[2], Path("plain") + ": 2 faults");
  EXPECT_NE(Run({"check", Path("plain"), "--json"}).out.find("\"sound\":false,\"faultCount\":2,"), std::string::npos);

  // A file the library cannot open is a fault; the other files are still checked.
  fs::resize_file(Path("plain") + "/sections.idx", 200);
  const std::string cut = Run({"check", Path("plain")}).out;
  EXPECT_EQ(Lines(cut)[0], "sections.idx: cannot be opened: The end of file was reached.") << cut;
  EXPECT_NE(cut.find("  concord.idx: 1 language"), std::string::npos) << cut;
}

// A library of two Bibles, a lexicon, a topical index and a plan: each query
// answers from the books that can, under a header line per book.
TEST_F(OrvaProgram, LibraryAnswersFromEachBookThatCan) {
  const std::vector<std::vector<std::string>> sources = {{"es", "es.xml", orva::test::kOsisSample},
                                                         {"en", "en.xml", orva::test::kOsisEnglishSample},
                                                         {"lexicon", "lex.txt", orva::test::kLexicon, "--lexicon"},
                                                         {"topics", "topics.txt", orva::test::kTopics, "--dictionary"},
                                                         {"plan", "plan.txt", orva::test::kPlan, "--plan"}};
  for (const std::vector<std::string>& source : sources) {  // the library folder made by the first
    Write(source[1], source[2]);
    std::vector<std::string> args = {"build", Path(source[1]), "-o", Path("library/" + source[0]), "--title", source[0]};
    if (source.size() > 3) args.push_back(source[3]);
    ASSERT_EQ(Run(args).status, 0) << source[0];
  }
  const std::string library = Path("library");
  EXPECT_EQ(Lines(Out({"info", library})),
            (std::vector<std::string>{"library in " + library + ": 5 books",
                                      "en       Bible          English                 3 kB  Strong's  en",
                                      "es       Bible          Spanish                 3 kB  Strong's  es",
                                      "lexicon  lexicon        English, Greek, Hebrew  2 kB            lexicon",
                                      "topics   topical index  English                 1 kB            topics",
                                      "plan     reading plan   English                 1 kB            plan"}));
  EXPECT_EQ(Out({"read", library, "John 3:16", "--strongs"}),
            "John 3:16\n  en  For God so loved<G25> the world<G2889>.\n"
            "  es  Porque de tal manera am\xC3\xB3<G25> Dios al mundo, que ha dado \xC3\xA1 su Hijo.\n");
  EXPECT_EQ(Out({"read", library, "Tob 1:1"}), "Tobit 1:1\n  es  Libro de las palabras de Tobit.\n");
  EXPECT_EQ(Out({"find", library, "--strongs", "G25"}),
            "== en: en ==\nJohn 3:16  (4 loved)\n1 place\n\n"
            "== es: es ==\nTob\xC3\xAD" "as 1:2  (4-6 Enemessar el rey)\nJohn 3:16  (5 am\xC3\xB3)\n2 places\n");
  EXPECT_EQ(Out({"strongs", library, "G0025", "--limit", "1"}),
            "== lexicon: lexicon ==\nG25 \xE1\xBC\x80\xCE\xB3\xCE\xB1\xCF\x80\xCE\xAC\xCF\x89 agap\xC3\xA1\xC5\x8D "
            "ag-ap-ah'-o\nto love (in a social sense); compare H0157\n\n"
            "== en: en ==\ntranslated: loved 1\n1 verse:\n  John 3:16 For God so loved<G25> the world.\n\n"
            "== es: es ==\ntranslated: amo 1; enemessar el rey 1\n2 verses:\n"
            "  Tob\xC3\xAD" "as 1:2 En tiempo de Enemessar el rey<G25>.\n  ... and 1 more\n");
  EXPECT_EQ(Out({"topic", library, "faith", "--limit", "1"}),
            "== topics: topics ==\nFaith \xE2\x86\x92 General Joh 3:16; Ps 34:1-3\n\xE2\x86\x92 WEAK\nSee DOUBTING\n\n"
            "Its verse references in en (the first 1 of 2):\nJoh 3:16\n  John 3:16 For God so loved the world.\n");
  EXPECT_EQ(Out({"sync", library, "12-25"}), "== plan: plan ==\n12-25: key 2, \\12-25\n12-25 1 John 2-5; 2 John 1\n");
  EXPECT_EQ(Lines(Out({"verse", library, "43,3,16"})).size(), 7u);  // two headers, two answers, a blank line
  EXPECT_EQ(Lines(Out({"toc", library})).size(), 25u);
  EXPECT_EQ(Lines(Out({"words", library, "lov"})),
            (std::vector<std::string>{"== en: en ==", "loved                         1", "", "== es: es ==",
                                      "(no word begins with \"lov\")", "", "== lexicon: lexicon ==",
                                      "love                          3", "", "== topics: topics ==",
                                      "(no word begins with \"lov\")", "", "== plan: plan ==",
                                      "(no word begins with \"lov\")"}));
  EXPECT_EQ(Lines(Out({"check", library}))[1], Path("library/en") + ": the book is sound");
  EXPECT_EQ(Out({"--json", "read", library, "Ps 23:1"}),
            "{\"query\":\"Ps 23:1\",\"bibles\":[\"en\",\"es\"],\"verses\":[{\"reference\":\"Psalms 23:1\","
            "\"verse\":\"19,23,1\",\"texts\":[{\"bible\":\"en\",\"passage\":{\"reference\":\"Psalms 23:1\",\"key\":5,"
            "\"text\":\"The LORD is my shepherd.\"}},{\"bible\":\"es\",\"passage\":{\"reference\":\"Salmos 23:1\","
            "\"key\":2,\"text\":\"JEHOV\xC3\x81 es mi pastor; nada me faltar\xC3\xA1.\",\"above\":[\"Salmo de David.\"]}}]}]}\n");
  const std::string words = Out({"--json", "words", library, "loved"});
  EXPECT_EQ(words.substr(0, words.find("},{")),
            "{\"library\":\"" + library + "\",\"books\":[{\"book\":\"en\",\"answer\":[{\"word\":\"loved\",\"keys\":1}]");
  EXPECT_EQ(Err({"read", library, "Exodus 1"}),
            "orva: " + library + ": no book answers: \"Exodus 1\": no book is called \"Exodus\" (en, es)\n");
  EXPECT_EQ(Err({"strongs", library, "H7"}),
            "orva: " + library + ": no book has H7: \"H7\" is not in the strongs index (lexicon)\n");
}

}  // namespace
