// Tagged and packaged strings: conversion both ways, packaging, visible characters
// and matching with ambiguous characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "langtext/tagged_string.h"
#include "tests/lang_test_support.h"

namespace orva::test {
namespace {

struct Tagged {
  std::string tagged;
  std::vector<std::string> alternatives;
};

Tagged ToTagged(const cLanguageString& text) {
  CString tagged("old");
  CStringArray alternatives;
  alternatives.Add("old entry");
  LangToTaggedStrings(text, tagged, alternatives);
  Tagged out{BytesOf(tagged), {}};
  for (int i = 0; i < alternatives.GetSize(); ++i) out.alternatives.push_back(BytesOf(alternatives[i]));
  return out;
}

CStringArray ArrayOf(const std::vector<std::string>& entries) {
  CStringArray array;
  for (const auto& e : entries) array.Add(CString(e.data(), static_cast<int>(e.size())));
  return array;
}

CString Bytes(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

TEST(TaggedString, RoundTripOfMixedLanguages) {
  // English, Greek with tonos, Hebrew with points, English again.
  const cLanguageString text = Lang({{u"In ", kEnglish},
                                     {u"\u03BB\u03CC\u03B3\u03BF\u03C2", kGreek},
                                     {u" ", kEnglish},
                                     {u"\u05D1\u05B0\u05BC\u05E8\u05B5\u05D0\u05E9\u05B4\u05C1\u05D9\u05EA", kHebrew},
                                     {u".", kEnglish}});
  const Tagged t = ToTagged(text);
  EXPECT_EQ(t.tagged,
            "In <Greek:\xEB\xFC\xE3\xEF\xF2<English: <Hebrew:\xE1\xC0\xCC\xF8\xC5\xE0\xF9\xC4\xD1\xE9\xFA<English:.");
  EXPECT_TRUE(t.alternatives.empty());
  const cLanguageString back = TaggedStringToLang(t.tagged.c_str());
  EXPECT_EQ(CharsOf(back), CharsOf(text));
  EXPECT_EQ(IdsOf(back), IdsOf(text));
  EXPECT_EQ(VisibleLength(t.tagged.c_str()), static_cast<int>(text.GetLength()));

  // Decomposed Greek comes back precomposed: the same word, not the same characters.
  const cLanguageString decomposed = Lang(u"\u03BB\u03BF\u0301\u03B3\u03BF\u03C2", kGreek);
  const Tagged d = ToTagged(decomposed);
  EXPECT_EQ(d.tagged, "<Greek:\xEB\xFC\xE3\xEF\xF2");
  EXPECT_EQ(TaggedStringToLang(d.tagged.c_str()).Compare(decomposed, 0, 0), 0);

  // Only the default language: no tag at all. A language the library does not know
  // writes no tag and uses the current table.
  EXPECT_EQ(ToTagged(Lang(u"abc")).tagged, "abc");
  EXPECT_EQ(ToTagged(Lang({{u"\u03B1", kGreek}, {u"\u03B2x", 999}})).tagged, "<Greek:\xE1\xE2x");
  EXPECT_EQ(ToTagged(Lang({{u"\u00E9", 999}})).tagged, "\xE9");
  // An empty string empties both outputs.
  const Tagged empty = ToTagged(cLanguageString());
  EXPECT_EQ(empty.tagged, "");
  EXPECT_TRUE(empty.alternatives.empty());
}

TEST(TaggedString, AmbiguousCharactersAndPackaging) {
  // Each ambiguous character of the English table: one placeholder, one entry.
  const Tagged t = ToTagged(Lang(u"it\u2019s\u00A0a\u2013b\u4E00!"));
  EXPECT_EQ(t.tagged, "it\xADs\xAD" "a\xAD" "b!");  // U+4E00 has no 8-bit form: nothing
  EXPECT_EQ(t.alternatives, (std::vector<std::string>{"\x27\x92", "\x20\xA0", "\x2D\x96"}));
  const std::string packaged = "it\xADs\xAD" "a\xAD" "b!\xAC\x27\x92\xAC\x20\xA0\xAC\x2D\x96";
  EXPECT_EQ(BytesOf(LangToPackagedString(Lang(u"it\u2019s\u00A0a\u2013b\u4E00!"))), packaged);
  EXPECT_EQ(BytesOf(PackageAmbiguity(Bytes(t.tagged), ArrayOf(t.alternatives))), packaged);
  EXPECT_EQ(BytesOf(PackageAmbiguity("plain", CStringArray())), "plain");

  // Unpackaging is the inverse, a trailing 0xAC giving an empty last entry.
  const auto unpack = [](const std::string& bytes, CStringArray& alternatives) {
    CString tagged;
    UnpackageAmbiguity(Bytes(bytes), tagged, alternatives);
    return BytesOf(tagged);
  };
  CStringArray alternatives;
  EXPECT_EQ(unpack(packaged, alternatives), t.tagged);
  ASSERT_EQ(alternatives.GetSize(), 3);
  EXPECT_EQ(BytesOf(alternatives[2]), "\x2D\x96");
  EXPECT_EQ(BytesOf(PackageAmbiguity(Bytes(t.tagged), alternatives)), packaged);
  CStringArray trailing;
  EXPECT_EQ(unpack("a\xAD\xAC\x27\x92\xAC", trailing), "a\xAD");
  ASSERT_EQ(trailing.GetSize(), 2);
  EXPECT_EQ(BytesOf(trailing[0]), "\x27\x92");
  EXPECT_EQ(BytesOf(trailing[1]), "");
  CStringArray kept;
  kept.Add("kept");
  EXPECT_EQ(unpack("no separator", kept), "no separator");
  EXPECT_EQ(kept.GetSize(), 1);
}

TEST(TaggedString, TaggedStringToLang) {
  const cLanguageString plain = TaggedStringToLang("abc");
  EXPECT_EQ(CharsOf(plain), u"abc");
  EXPECT_EQ(IdsOf(plain), std::vector<unsigned short>(3, kEnglish));
  const cLanguageString greek = TaggedStringToLang("<Greek:ab\xE1");
  EXPECT_EQ(CharsOf(greek), u"ab\u03B1");
  EXPECT_EQ(IdsOf(greek), std::vector<unsigned short>(3, kGreek));
  // What is not a tag is text (which '<'s are tags is LanguageTags').
  EXPECT_EQ(CharsOf(TaggedStringToLang("<Klingon:a<:b<")), u"<Klingon:a<:b<");
  // A tag of the current language adds nothing; a name may run to the end.
  const cLanguageString same = TaggedStringToLang("a<English:b<Greek:\xE1<Greek:\xE2<Hebrew");
  EXPECT_EQ(CharsOf(same), u"ab\u03B1\u03B2");
  EXPECT_EQ(IdsOf(same), (std::vector<unsigned short>{kEnglish, kEnglish, kGreek, kGreek}));
  // Placeholders and separators are bytes like any other.
  EXPECT_EQ(TaggedStringToLang("a\xAD\xAC").GetLength(), 3u);
  EXPECT_TRUE(TaggedStringToLang(nullptr).IsEmpty());
  EXPECT_TRUE(TaggedStringToLang("").IsEmpty());
}

TEST(TaggedString, LanguageTags) {
  int position = 2;
  unsigned short language = 7;
  EXPECT_EQ(ParseLanguageTag("ab<Greek:c", position, language), 1);
  EXPECT_EQ(position, 8);  // on the ':'
  EXPECT_EQ(language, kGreek);
  position = 0;
  EXPECT_EQ(ParseLanguageTag("<Hebrew", position, language), 1);
  EXPECT_EQ(position, 7);  // on the terminating zero
  EXPECT_EQ(language, kHebrew);
  for (const char* invalid : {"<:", "<", "<Greek ", "<greek:", "<Gree:", "<Greekk:", "x<Greek:"}) {
    position = 0;
    language = 7;
    EXPECT_EQ(ParseLanguageTag(invalid, position, language), 0) << invalid;
    EXPECT_EQ(position, 0);
    EXPECT_EQ(language, 7);
  }
  EXPECT_EQ(ParseLanguageTag(nullptr, position, language), 0);
}

TEST(TaggedString, VisibleCharacters) {
  EXPECT_EQ(VisibleLength(""), 0);
  EXPECT_EQ(VisibleLength(nullptr), 0);
  EXPECT_EQ(VisibleLength("a<b"), 3);
  EXPECT_EQ(VisibleLength("<Greek:ab"), 2);
  EXPECT_EQ(VisibleLength("<Greek"), 0);
  EXPECT_EQ(VisibleLength("<Gree"), 5);
  EXPECT_EQ(VisibleLength("<English:<Greek:<:"), 2);
  EXPECT_EQ(VisibleLength("a\xAD" "b\xAC\x27\x92\xAC\x20"), 3);

  const auto left = [](int count, const char* text) { return BytesOf(LeftVisible(count, text)); };
  EXPECT_EQ(left(2, "<Greek:ab<Hebrew:c"), "<Greek:ab");
  EXPECT_EQ(left(3, "<Greek:ab<Hebrew:c"), "<Greek:ab<Hebrew:c");
  EXPECT_EQ(left(9, "<Greek:ab<Hebrew"), "<Greek:ab<Hebrew");
  EXPECT_EQ(left(2, "a<b"), "a<");
  EXPECT_EQ(left(2, "\xAD" "b<English:c"), "\xAD" "b");
  EXPECT_EQ(left(2, "ab\xAC\x27"), "ab");
  EXPECT_EQ(left(3, "ab\xAC\x27"), "ab\xAC");
  EXPECT_EQ(left(0, "abc"), "");
  EXPECT_EQ(left(-3, "abc"), "");
  EXPECT_EQ(left(1, nullptr), "");

  EXPECT_EQ(VisibleIndexToByteIndex(0, "<Greek:ab"), 7);
  EXPECT_EQ(VisibleIndexToByteIndex(1, "<Greek:ab"), 8);
  EXPECT_EQ(VisibleIndexToByteIndex(5, "<Greek:ab"), 8);  // past the end: the last byte
  EXPECT_EQ(VisibleIndexToByteIndex(1, "a<Greek:b<English:c"), 8);
  EXPECT_EQ(VisibleIndexToByteIndex(2, "a<Greek:b<English:c"), 18);
  EXPECT_EQ(VisibleIndexToByteIndex(1, "a<b"), 1);
  EXPECT_EQ(VisibleIndexToByteIndex(2, "a\xAC" "bc"), 2);  // reads past 0xAC
  EXPECT_EQ(VisibleIndexToByteIndex(0, "<Greek"), 5);
  EXPECT_EQ(VisibleIndexToByteIndex(0, ""), -1);
  EXPECT_EQ(VisibleIndexToByteIndex(-1, "abc"), -1);
}

TEST(TaggedString, MatchAmbiguous) {
  const CStringArray none;
  EXPECT_EQ(MatchAmbiguous("abc", "abc", none, 0, 0), 0);
  EXPECT_EQ(MatchAmbiguous("abc", "abc", none, -1, 0), 1);
  EXPECT_EQ(MatchAmbiguous("Lord", "lord", none, -1, 0), 1);
  EXPECT_EQ(MatchAmbiguous("Lord", "lord", none, -1, 1), 0);
  EXPECT_EQ(MatchAmbiguous("abc", "ab", none, -1, 0), 0);
  EXPECT_EQ(MatchAmbiguous("abX", "abY", none, 2, 0), 1);
  EXPECT_EQ(MatchAmbiguous("abX", "aYb", none, 2, 0), 0);
  EXPECT_EQ(MatchAmbiguous("<Greek:ab", "ab<Hebrew:c", none, 2, 0), 1);  // languages do not count at options 0
  EXPECT_EQ(MatchAmbiguous("<Greek:ab", "ab", none, 2, 1), 0);            // ... they do when ordinal
  EXPECT_EQ(MatchAmbiguous("abc", "xyz", none, -2, 0), 1);                // two empty prefixes
  EXPECT_EQ(MatchAmbiguous(nullptr, "", none, -1, 0), 1);
  // Marks in either order are the same word; a missing mark is not.
  EXPECT_EQ(MatchAmbiguous("<Hebrew:\xE1\xC0\xCC", "<Hebrew:\xE1\xCC\xC0", none, -1, 0), 1);
  EXPECT_EQ(MatchAmbiguous("<Hebrew:\xE1\xC0\xCC", "<Hebrew:\xE1\xCC", none, -1, 0), 0);

  // A placeholder becomes the first byte of its entry.
  CStringArray quote;
  quote.Add("\x27\x92");
  EXPECT_EQ(MatchAmbiguous("it's", "it\xADs", quote, -1, 0), 1);
  EXPECT_EQ(MatchAmbiguous("it\x92s", "it\xADs", quote, -1, 0), 0);
  EXPECT_EQ(MatchAmbiguous("it's", "it\xADs", none, -1, 0), 0);  // no entry: stays a placeholder
  CStringArray two = quote;
  two.Add("\x2D\x96");
  EXPECT_EQ(MatchAmbiguous("a'b-c\xAD", "a\xAD" "b\xAD" "c\xAD", two, -1, 0), 1);
  EXPECT_EQ(MatchAmbiguous("a\xAD", "a\xAD", none, -1, 0), 1);
  EXPECT_EQ(MatchPackagedAmbiguous("it's", "it\xADs\xAC\x27\x92", -1, 0), 1);
  EXPECT_EQ(MatchPackagedAmbiguous("It's me", "it\xADs\xAC\x27\x92", 4, 0), 1);
  EXPECT_EQ(MatchPackagedAmbiguous("its", "it\xADs\xAC\x27\x92", 2, 0), 1);
  EXPECT_EQ(MatchPackagedAmbiguous("its", "it\xADs\xAC\x27\x92", 3, 0), 0);
  EXPECT_EQ(MatchPackagedAmbiguous("its", "its", 0, 0), 0);
}

}  // namespace
}  // namespace orva::test
