// The language library's words as the concordance counts and folds them, and text
// in a book's code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace {

using namespace zalang;

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
