// The three OSIS Bibles of samples/ (KJV, WEB with the deuterocanon, Reina-Valera
// 1909), built once per test run by the CTest fixtures (tests/CMakeLists.txt),
// checked against counts taken from their source documents, and the KJV against
// the one built from the verse-per-line text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <string>

#include "tests/e2e/run_orva.h"
#include "query/book_access.h"
#include "query/strongs.h"
#include "writer/book_dir.h"
#include "writer/source_text.h"
#include "zalang/words.h"

namespace {

using orva::e2e::Lines;

struct Bible {
  std::string source, book;
};
std::map<std::string, Bible> g_bibles;  // "kjv", "web", "sparv"
std::string g_kjvText;                  // the KJV built from samples/kjv.txt.gz

std::string Out(const std::vector<std::string>& args) {
  orva::writer::TempBookDir dir;
  const orva::e2e::Result result = orva::e2e::RunOrva(args, dir.Path() + "stderr");
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

// What a document holds, counted from its text: its books, chapters and verses
// are start milestones, one verse a line (samples/README.md).
struct Counts {
  size_t bytes = 0;  // of the document
  int books = 0, chapters = 0, verses = 0, numbers = 0;
  std::set<std::string> strongs;            // in the verses' text
  std::map<std::string, int> versesTagged;  // by "g25", "h430"
};

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// The tags of `text` that begin with `start` and hold each of `parts`.
int Tags(const std::string& text, const std::string& start, std::initializer_list<const char*> parts) {
  int count = 0;
  for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) {
    const std::string tag = text.substr(at, text.find('>', at) - at);
    bool all = true;
    for (const char* part : parts) all = all && tag.find(part) != std::string::npos;
    count += all;
  }
  return count;
}

// `text` without the elements `name` and what they hold.
std::string Without(std::string text, const std::string& name) {
  for (size_t at = text.find("<" + name); at != std::string::npos; at = text.find("<" + name, at)) {
    text.erase(at, text.find("</" + name + ">", at) + name.size() + 3 - at);
  }
  return text;
}

Counts CountSource(const std::string& path) {
  static std::map<std::string, Counts> counted;
  if (counted.count(path)) return counted[path];
  const std::string xml = orva::writer::ReadSourceFile(path);
  Counts& counts = counted[path];
  counts.bytes = xml.size();
  for (size_t line = 0; line < xml.size();) {
    const size_t end = std::min(xml.find('\n', line), xml.size());
    const std::string text = xml.substr(line, end - line);
    line = end + 1;
    counts.books += Tags(text, "<div ", {"type=\"book\"", " sID=\""});
    counts.chapters += Tags(text, "<chapter ", {" sID=\""});
    const size_t verse = text.find("<verse osisID=\"");
    if (verse == std::string::npos) continue;
    ++counts.verses;
    const size_t ids = verse + 15;
    counts.numbers += static_cast<int>(Occurrences(text.substr(ids, text.find('"', ids) - ids), " ") + 1);
    const std::string words = Without(Without(text.substr(verse), "note"), "title");
    std::set<std::string> tagged;
    for (size_t at = words.find("lemma=\"strong:"); at != std::string::npos; at = words.find("lemma=\"", at + 1)) {
      const size_t from = at + 14, to = words.find('"', from);
      for (size_t v = from; v < to;) {
        const size_t blank = std::min(words.find(' ', v), to);
        std::string number = words.substr(v, blank - v);
        if (number.compare(0, 7, "strong:") == 0) number = number.substr(7);
        tagged.insert(zalang::StrongsWord(number));
        v = blank + 1;
      }
    }
    for (const std::string& number : tagged) ++counts.versesTagged[number];
    counts.strongs.insert(tagged.begin(), tagged.end());
  }
  return counts;
}

TEST(OsisBibles, CountsAgreeWithTheSources) {
  for (const auto& [name, bible] : g_bibles) {
    SCOPED_TRACE(name);
    const Counts source = CountSource(bible.source);
    const std::vector<std::string> check = Lines(Out({"check", bible.book}));
    ASSERT_GE(check.size(), 6u);
    EXPECT_EQ(check[0], bible.book + ": the book is sound");
    EXPECT_EQ(check[2].substr(0, check[2].find(" sections,")),
              "  sections.idx: " + std::to_string(source.books + source.chapters + source.verses));
    EXPECT_EQ(check[3].substr(0, check[3].find(", coded")),
              "  verses.idx: " + std::to_string(source.books) + " books, " + std::to_string(source.chapters) +
                  " chapters, " + std::to_string(source.numbers) + " verses");
    const std::string info = Out({"info", bible.book});
    EXPECT_NE(info.find("    512 Strongs: " + std::to_string(source.strongs.size()) + " words\n"), std::string::npos);
    // Compressed and coded, a book takes at most half the bytes of its document.
    std::uintmax_t bytes = 0;
    for (const auto& file : std::filesystem::directory_iterator(bible.book)) bytes += file.file_size();
    EXPECT_LE(2 * bytes, source.bytes);
  }
}

// The verses where each Bible translates G25 and H430, as many as its source
// tags, with the words there; John 3:16 with the numbers of its words; how each
// translates G25 (its renderings counted from the source by a script).
TEST(OsisBibles, StrongsNumbersFoundAndShown) {
  const std::map<std::string, std::vector<std::string>> expected = {
      {"kjv",
       {"Matthew 5:43  (9-11 Thou shalt love)", "Genesis 1:1  (4 God)",
        "John 3:16 \xC2\xB6 For<G1063> God<G2316> so<G3779> loved<G25> the world<G2889>, that<G5620> he gave<G1325>",
        "love 50; loved 29; loveth 20; beloved 7; thou shalt love 6; "}},
      {"web",  // as the source tags them
       {"Matthew 5:43  (10-11 love your, 15 your)", "Genesis 1:1  (1 In, 4 God, 8 and)",
        "John 3:16 For<G1063> God<G2316> so<G2443> loved<G25> the<G3956> world<G2889>, that<G2443> he<G846>",
        "love 60; loved 41; your 28; loves 18; love your 12; "}},
      {"sparv",
       {"San Mateo 5:43  (5 Amar\xC3\xA1s)", "G\xC3\xA9nesis 1:1  (5 Dios)",
        "Juan 3:16 Porque<G1063> de tal manera<G3779> am\xC3\xB3<G25> Dios<G2316> al<G3588> mundo<G2889>, que<G5620>",
        "ama 15; amo 15; amaras 10; aman 8; que ama 7; "}}};
  for (const auto& [name, bible] : g_bibles) {
    SCOPED_TRACE(name);
    const Counts source = CountSource(bible.source);
    for (const char* number : {"G25", "H430"}) {
      const std::vector<std::string> found = Lines(Out({"find", bible.book, "--strongs", number, "--limit", "1"}));
      ASSERT_EQ(found.size(), 2u);
      EXPECT_EQ(found[0], expected.at(name)[number[0] == 'G' ? 0 : 1]);
      EXPECT_EQ(found[1], std::to_string(source.versesTagged.at(zalang::StrongsWord(number))) + " places");
    }
    const std::string& verse = expected.at(name)[2];
    EXPECT_EQ(Out({"read", bible.book, "John 3:16", "--strongs"}).substr(0, verse.size()), verse);

    cORVABookBase book;
    orva::query::PointBookAt(book, bible.book);
    orva::query::OpenParts(book, ORVA_SECTIONS | ORVA_CONCORD | ORVA_TEXT | ORVA_VIEWABLE);
    const std::vector<orva::query::Translation> translations =
        orva::query::Translations(book, "G25", orva::query::BookLanguage(book));
    std::string first;
    for (size_t i = 0; i < 5 && i < translations.size(); ++i) {
      first += translations[i].words + " " + std::to_string(translations[i].count) + "; ";
    }
    EXPECT_EQ(first, expected.at(name)[3]);
    if (name != "sparv") {  // a word parted at its apostrophe is shown whole
      bool possessive = false;
      for (const auto& translation : orva::query::Translations(book, "G5330", orva::query::BookLanguage(book))) {
        possessive |= translation.words == "pharisee\xE2\x80\x99s";
      }
      EXPECT_TRUE(possessive) << name;
    }
  }
}

TEST(OsisBibles, SpanishSearchFoldsAccentsAndCase) {
  const std::string book = g_bibles.at("sparv").book;
  // The verses of grep -ciwE 'coraz[oó]n' and 'se[nñ]or' over the verses' text.
  EXPECT_EQ(Lines(Out({"find", book, "corazon", "--limit", "1"})).back(), "804 places");
  EXPECT_EQ(Lines(Out({"find", book, "Coraz\xC3\xB3n", "--limit", "1"})).back(), "804 places");
  EXPECT_EQ(Lines(Out({"find", book, "senor", "--limit", "1"})).back(), "1360 places");
  EXPECT_EQ(Lines(Out({"words", book, "coraz"})),
            (std::vector<std::string>{"coraza                        2", "corazas                       4",
                                      "corazin                       2", "corazon                     804",
                                      "corazones                    72"}));
  EXPECT_EQ(Out({"read", book, "Juan 3:16"}), Out({"read", book, "John 3:16"}));
  EXPECT_EQ(Lines(Out({"toc", book}))[42].substr(0, 5), "Juan ");
}

TEST(OsisBibles, DeuterocanonicalBooksReadLikeTheRest) {
  const std::string book = g_bibles.at("web").book;
  EXPECT_EQ(Lines(Out({"toc", book})).size(), 80u);
  for (const auto& [reference, start] : std::map<std::string, std::string>{
           {"Tob 1:1", "Tobit 1:1 The book of the words of Tobit"},
           {"Wis 3:1", "Wisdom of Solomon 3:1 But the souls of the righteous"},
           {"1 Macc 1:1", "1 Maccabees 1:1 After Alexander the Macedonian"},
           {"Sir 11:16", "Sirach 11:15 "}}) {
    EXPECT_EQ(Out({"read", book, reference}).substr(0, start.size()), start);
  }
  EXPECT_NE(Lines(Out({"verse", book, "67,1,1"}))[0].find("\\Tobit\\1\\1"), std::string::npos);
  EXPECT_EQ(Lines(Out({"read", book, "Ps 3"}))[1], "A Psalm by David, when he fled from Absalom his son.");
}

// The two electronic editions of the KJV agree in every reference and in most
// verses; the rest differ as the editions do (scripts/compare_kjv.py).
TEST(OsisBibles, KjvAgreesWithTheVersePerLineKjv) {
  const std::vector<std::string> osis = Lines(Out({"read", g_bibles.at("kjv").book, "Gen 1:1-Rev 22:21"}));
  const std::vector<std::string> text = Lines(Out({"read", g_kjvText, "Gen 1:1-Rev 22:21"}));
  ASSERT_EQ(osis.size(), 31102u);
  ASSERT_EQ(text.size(), osis.size());
  int same = 0, pilcrow = 0, apostrophes = 0;
  for (size_t i = 0; i < osis.size(); ++i) {
    const std::string reference = text[i].substr(0, text[i].find(' ', text[i].find(':')));
    ASSERT_EQ(osis[i].compare(0, reference.size() + 1, reference + " "), 0) << text[i];
    std::string line = osis[i];
    if (line == text[i]) {
      ++same;
      continue;
    }
    for (size_t at = line.find("\xC2\xB6 "); at != std::string::npos; at = line.find("\xC2\xB6 ")) line.erase(at, 3);
    if (line == text[i]) {
      ++pilcrow;
      continue;
    }
    for (size_t at = line.find("\xE2\x80\x99"); at != std::string::npos; at = line.find("\xE2\x80\x99")) {
      line.replace(at, 3, "'");
    }
    if (line == text[i]) ++apostrophes;
  }
  EXPECT_EQ(same, 25703);
  EXPECT_EQ(pilcrow, 2602);      // the OSIS text marks paragraphs with a pilcrow
  EXPECT_EQ(apostrophes, 1699);  // and writes apostrophes as U+2019
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s SAMPLES_FOLDER KJV_OSIS_BOOK WEB_BOOK SPARV_BOOK KJV_TEXT_BOOK\n", argv[0]);
    return 2;
  }
  const std::string samples = argv[1];
  g_bibles["kjv"] = {samples + "/kjv.osis.xml.xz", argv[2]};
  g_bibles["web"] = {samples + "/web.osis.xml.xz", argv[3]};
  g_bibles["sparv"] = {samples + "/sparv.osis.xml.xz", argv[4]};
  g_kjvText = argv[5];
  return RUN_ALL_TESTS();
}
