// What `orva build` reads: the source forms, what parses and the file and line of
// each fault; the words of the text as the concordance counts and folds them; text
// in a book's code page.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "writer/source_text.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace {

using namespace zalang;
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

// The folded words of `utf8`, a compound's words joined by '+'.
std::vector<std::string> Words(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  std::vector<std::string> out;
  for (const WordSpan& span : SplitWords(text)) {
    const std::string word = Utf16ToUtf8(FoldWord(text.substr(span.begin, span.end - span.begin)));
    if (span.joined) out.back() += "+" + word;
    else out.push_back(word);
  }
  return out;
}

TEST(TextWords, SplitsAtPunctuationApostrophesAndHyphensAndKnowsCompounds) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Words("And God said, Let there be light: and there was light."),
            (V{"and", "god", "said", "let", "there", "be", "light", "and", "there", "was", "light"}));
  EXPECT_EQ(Words("the LORD's house at Beer-sheba"), (V{"the", "lord+s", "house", "at", "beer+sheba"}));
  // Apostrophes and hyphens at the edges, doubled, or beside a blank join nothing.
  EXPECT_EQ(Words("'the fathers' -- sons-- x--y 'tis a- b"),
            (V{"the", "fathers", "sons", "x", "y", "tis", "a", "b"}));
  EXPECT_EQ(Words("chapter 12:3 (x)"), (V{"chapter", "12", "3", "x"}));
  EXPECT_EQ(Words(" \t,.;"), V{});
  // The right quotation mark is an apostrophe, the non-breaking hyphen a hyphen.
  EXPECT_EQ(Words("LORD\xE2\x80\x99S loving\xE2\x80\x91kindness"), (V{"lord+s", "loving+kindness"}));
  // A compound folds with its apostrophes U+0027 and hyphens U+002D.
  EXPECT_EQ(Utf16ToUtf8(FoldWord(u"LORD\u2019S-Day")), "lord's-day");
}

TEST(TextWords, FoldsCaseAndAccentsAsTheFirstCollationLevel) {
  using V = std::vector<std::string>;
  // Precomposed and decomposed accents, capitals, final sigma.
  EXPECT_EQ(Words("\xC3\x89LAN e\xCC\x81lan \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82"),
            (V{"elan", "elan", "\xCE\xBB\xCE\xBF\xCE\xB3\xCE\xBF\xCF\x83"}));
  // Latin-1 punctuation separates, its letters do not.
  EXPECT_EQ(Words("\xC2\xBFqu\xC3\xA9?\xC2\xABna\xC3\xAFve\xC2\xBB"), (V{"que", "naive"}));
  const std::vector<WordSpan> spans = SplitWords(u"  ab, c");
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].begin, 2u);
  EXPECT_EQ(spans[0].end, 4u);
  EXPECT_EQ(spans[1].begin, 6u);
}

TEST(TextWords, TextGoesToTheCodePageAndBack) {
  // English: Windows-1252. The right quotation mark is 0x92, its own byte; e with
  // a combining acute becomes the precomposed 0xE9.
  EXPECT_EQ(EncodeForLanguage(u"a\u2019b e\u0301 \u00E9", 1033), "a\x92" "b \xE9 \xE9");
  EXPECT_EQ(DecodeFromLanguage("a\x92" "b \xE9", 1033), u"a\u2019b \u00E9");
  // Greek: Windows-1253.
  EXPECT_EQ(EncodeForLanguage(u"\u03BB\u03CC\u03B3\u03BF\u03C2", 1032), "\xEB\xFC\xE3\xEF\xF2");
  // What a code page lacks goes as its base and marks, as much precomposed as it
  // has, and reads back composed as it was given: polytonic Greek (alpha with
  // psili; with psili, oxia and ypogegrammeni; eta with oxia and ypogegrammeni as
  // eta with tonos and the iota), a transliteration (e with macron and acute; i
  // with diaeresis and acute as i with diaeresis and the acute; o with breve).
  const std::pair<std::u16string, unsigned short> kDecomposed[] = {
      {u"\u1F00\u03B3\u03AC\u03C0\u03B7 \u1F84 \u1FC4", 1032},
      {u"ag\u00E1p\u0113 \u1E17 \u1E2F \u014F", 1033},
  };
  EXPECT_EQ(EncodeForLanguage(kDecomposed[0].first, 1032), "\xE1\x8F\xE3\xDC\xF0\xE7 \xE1\x8F\x88\x9C \xDE\x9C");
  EXPECT_EQ(EncodeForLanguage(kDecomposed[1].first, 1033), "ag\xE1pe\x8D e\x8D\x81 \xEF\x81 o\x8F");
  for (const auto& [text, language] : kDecomposed) {
    EXPECT_EQ(ComposeText(DecodeFromLanguage(EncodeForLanguage(text, language), language)), text) << language;
    EXPECT_EQ(ComposeText(DecomposeText(text)), text) << language;
  }
  EXPECT_EQ(ComposeText(u"\u05E9\u05C1\u05BC x\u0301 \u03B1\u0301"), u"\u05E9\u05C1\u05BC x\u0301 \u03AC");
  EXPECT_THROW(EncodeForLanguage(u"y\u0302", 1033), TextError);  // the English table has no circumflex
  try {
    EncodeForLanguage(u"ab\u4E00", 1033);
    FAIL() << "a character outside Windows-1252 was written";
  } catch (const TextError& e) {
    EXPECT_EQ(e.Index(), 2u);
    EXPECT_NE(std::string(e.what()).find("U+4E00"), std::string::npos) << e.what();
  }
  EXPECT_THROW(EncodeForLanguage(std::u16string(1, u'\0'), 1033), TextError);
}

TEST(TextWords, Utf8IsCheckedAndConverted) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC"), u"a\u00E9\u20AC");
  EXPECT_EQ(Utf16ToUtf8(u"a\u00E9\u20AC"), "a\xC3\xA9\xE2\x82\xAC");
  for (const std::string bad : {"\xC3", "a\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
    EXPECT_THROW(Utf8ToUtf16(bad), TextError) << bad;
  }
  try {
    Utf8ToUtf16("ab\xF0\x9F\x98\x80");
    FAIL() << "a character beyond U+FFFF was taken";
  } catch (const TextError& e) {
    EXPECT_EQ(e.Index(), 2u);
  }
}

}  // namespace
