// The source forms of `orva build`: what parses, and the file and line of each fault.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "writer/source_text.h"

namespace {

using orva::writer::ParseDictionary;
using orva::writer::ParseScripture;
using orva::writer::SourceError;

// The message of the SourceError that parsing `text` raises, or "none".
template <class Parse>
std::string Fault(Parse parse, const std::string& text) {
  std::istringstream in(text);
  try {
    parse(in, "src.txt");
  } catch (const SourceError& e) {
    return e.what();
  }
  return "none";
}

TEST(SourceText, ScriptureLinesBecomeBooksChaptersAndVerses) {
  std::istringstream in(
      "\xEF\xBB\xBFGenesis 1:1\tIn the beginning.\r\n"
      "# a comment\n"
      "\n"
      "Genesis 1:2\tAnd the earth.\n"
      "Genesis 1:5\tGaps are allowed.\n"
      "Genesis 2:1\tThus.\n"
      "Song of Solomon 1:1\tThe song of songs, \xC3\xA9.\n");
  const auto scripture = ParseScripture(in, "src.txt");
  ASSERT_EQ(scripture.books.size(), 2u);
  EXPECT_EQ(scripture.VerseCount(), 5);
  const auto& genesis = scripture.books[0];
  EXPECT_EQ(genesis.name, "Genesis");
  ASSERT_EQ(genesis.chapters.size(), 2u);
  EXPECT_EQ(genesis.chapters[0].verses[2].number, 5);
  EXPECT_EQ(genesis.chapters[0].verses[2].line, 5);
  EXPECT_EQ(genesis.chapters[0].verses[0].text, "In the beginning.");
  EXPECT_EQ(scripture.books[1].name, "Song of Solomon");
  EXPECT_EQ(scripture.books[1].chapters[0].verses[0].text, "The song of songs, \xC3\xA9.");
}

TEST(SourceText, ScriptureFaultsNameTheLine) {
  const auto parse = [](std::istream& in, const std::string& file) { ParseScripture(in, file); };
  const std::string good = "Genesis 1:1\tx\n";
  EXPECT_EQ(Fault(parse, ""), "src.txt: no verses");
  EXPECT_EQ(Fault(parse, good + "Genesis 1:2 no tab\n"), "src.txt:2: expected \"Book Chapter:Verse<TAB>text\"");
  EXPECT_EQ(Fault(parse, good + "Genesis1:2\tx\n"),
            "src.txt:2: expected a reference \"Book Chapter:Verse\" before the tab, not \"Genesis1:2\"");
  EXPECT_EQ(Fault(parse, good + " 1:2\tx\n"),
            "src.txt:2: expected a reference \"Book Chapter:Verse\" before the tab, not \"1:2\"");
  for (const char* reference : {"Genesis 0:1", "Genesis 1:x", "Genesis 1:65536", "Genesis 1:", "Genesis -1:2"}) {
    EXPECT_EQ(Fault(parse, good + reference + "\tx\n"), std::string("src.txt:2: chapter and verse must be numbers "
                                                                     "from 1 to 65535 in \"") + reference + "\"");
  }
  EXPECT_EQ(Fault(parse, good + "Genesis 1:1\tx\n"), "src.txt:2: Genesis 1:1 comes after verse 1");
  EXPECT_EQ(Fault(parse, "Genesis 2:1\tx\nGenesis 1:9\tx\n"), "src.txt:2: Genesis 1 comes after chapter 2");
  EXPECT_EQ(Fault(parse, good + "Exodus 1:1\tx\nGenesis 2:1\tx\n"),
            "src.txt:3: the lines of Genesis do not stand together");
  EXPECT_EQ(Fault(parse, good + "Genesis 1:2\tbad \xC3 byte\n"), "src.txt:2: the text is not valid UTF-8");
  EXPECT_EQ(Fault(parse, good + "Genesis 1:2\tover\xC0\xAFlong\n"), "src.txt:2: the text is not valid UTF-8");
  EXPECT_EQ(Fault(parse, good + "Genesis 1:2\tbell\a\n"), "src.txt:2: control character in the text");
}

TEST(SourceText, DictionaryEntries) {
  std::istringstream in("Aaron\tThe brother of Moses.\n\nAbel\tA son of Adam.\n");
  const auto entries = ParseDictionary(in, "d.txt");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].headword, "Abel");
  EXPECT_EQ(entries[1].definition, "A son of Adam.");
  EXPECT_EQ(entries[1].line, 3);

  const auto parse = [](std::istream& in, const std::string& file) { ParseDictionary(in, file); };
  EXPECT_EQ(Fault(parse, "Aaron\tx\nAARON\ty\n"), "src.txt:2: the headword \"AARON\" comes twice");
  EXPECT_EQ(Fault(parse, "Aaron x\n"), "src.txt:1: expected \"headword<TAB>definition\"");
  EXPECT_EQ(Fault(parse, " \tx\n"), "src.txt:1: the headword is empty");
  EXPECT_EQ(Fault(parse, "# nothing\n"), "src.txt: no entries");
}

}  // namespace
