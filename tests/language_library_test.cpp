// The language library: its languages and tables, MapUnicodeToASCII, IsMark, the
// members of cLanguageString, and its Compare: the ordinal order of the operators,
// the equalities of the linguistic levels, and the total order in which word lists
// are sorted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "tests/lang_test_support.h"

namespace orva::test {
namespace {

std::string Map(const std::u16string& text, unsigned short language, int& consumed) {
  const cLanguageDatum* datum = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(language);
  consumed = -1;
  CString out("junk");
  MapUnicodeToASCII(reinterpret_cast<const unsigned short*>(text.c_str()), consumed, out, datum->GetTable(),
                    datum->GetFirstValidIndex(), datum->GetValidCount());
  return BytesOf(out);
}

TEST(LanguageLibrary, LanguagesNamesAndTables) {
  const OrvaToILI& ili = OrvaToILI::Instance();
  const struct {
    unsigned short id;
    std::u16string name;
    BYTE byte;  // a byte of the language's own script
    char16_t reading;
    int last;
  } kLanguages[] = {{1033, u"English", 0xE9, u'é', 255}, {1031, u"German", 0xDF, u'ß', 255},
                    {1036, u"French", 0xE7, u'ç', 255},  {1034, u"Spanish", 0xF1, u'ñ', 255},
                    {1032, u"Greek", 0xE1, u'α', 254},   {1037, u"Hebrew", 0xE0, u'א', 254}};
  EXPECT_EQ(ili.GetLanguageCount(), 7);  // and "Strongs", the language of Strong's numbers
  EXPECT_EQ(ili.GetLongestNameLength(), 7);
  for (const auto& l : kLanguages) {
    const cLanguageDatum* datum = ili.OrvaLangIdToLanguageDatum(l.id);
    ASSERT_NE(datum, nullptr) << l.id;
    EXPECT_EQ(datum->GetLanguageID(), l.id);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(datum->GetName())), l.name);
    EXPECT_EQ(ili.OrvaLanguageStringToOrvaLangId(datum->GetName()), l.id);
    EXPECT_EQ(datum->GetTable()[l.byte][0], l.reading) << l.id;
    EXPECT_EQ(datum->GetFirstValidIndex(), 1);
    EXPECT_EQ(datum->GetLastValidIndex(), l.last);
    EXPECT_EQ(datum->GetValidCount(), l.last);
    // Byte 0 ends strings; 0xAC and 0xAD belong to packaged strings.
    for (int reserved : {0x00, 0xAC, 0xAD}) EXPECT_EQ(datum->GetTable()[reserved][0], 0) << l.id << " " << reserved;
  }
  const unsigned short* hebrew = ili.OrvaLangIdToLanguageDatum(kHebrew)->GetTable()[0xC0];
  EXPECT_EQ(hebrew[0], 0x05B0);  // sheva: points have bytes of their own
  EXPECT_EQ(ili.OrvaLangIdToLanguageDatum(0), nullptr);
  EXPECT_EQ(ili.OrvaLangIdToLanguageDatum(1049), nullptr);
  for (const char16_t* name : {u"", u"english", u"Englis", u"Englishh", u"Hebrew "})
    EXPECT_EQ(ili.OrvaLanguageStringToOrvaLangId(reinterpret_cast<const unsigned short*>(name)), 0);
  EXPECT_EQ(ili.OrvaLanguageStringToOrvaLangId(nullptr), 0);
  EXPECT_EQ(ili.GetDefaultLanguage(), 1033);
  EXPECT_EQ(ili.GetLanguageCount(), 7);
}

TEST(LanguageLibrary, MapUnicodeToASCII) {
  const struct {
    std::u16string text;
    unsigned short language;
    std::string bytes;
    int consumed;
  } kCases[] = {
      {u"Ab", kEnglish, "A", 1},
      // The ambiguous characters: every byte that lists them, ascending.
      {u"\u2019", kEnglish, "\x27\x92", 1}, {u"\u00A0", kEnglish, "\x20\xA0", 1},
      {u"\u2013", kEnglish, "\x2D\x96", 1}, {u"\u2019", kGreek, "\x27\x92", 1},
      // Nothing for what the table cannot write, and for U+0000.
      {u"\u4E00", kEnglish, "", 1}, {u"α", kEnglish, "", 1}, {u"\u00AC", kEnglish, "", 1},
      {std::u16string(1, u'\0'), kEnglish, "", 1},
      // A base and its marks become the precomposed character when the table has it.
      {u"e\u0301x", kEnglish, "\xE9", 2}, {u"e\u0301\u0301", kEnglish, "\xE9", 2},
      {u"ι\u0308\u0301", kGreek, "\xC0", 3},  // U+0390
      {u"ι\u0301\u0308", kGreek, "\xDF", 2},  // ί, the diaeresis left over
      {u"\u03CA\u0301", kGreek, "\xC0", 2},   // ϊ + acute
      {u"\u1F71", kGreek, "\xDC", 1},          // alpha with oxia is alpha with tonos
      {u"\u037E", kGreek, ";", 1},              // the Greek question mark is a semicolon
      // Hebrew points are bytes of their own: a letter consumes only itself.
      {u"ב\u05B0\u05BC", kHebrew, "\xE1", 1}, {u"\u05BC", kHebrew, "\xCC", 1},
  };
  int consumed = 0;
  for (const auto& c : kCases) {
    EXPECT_EQ(Map(c.text, c.language, consumed), c.bytes) << "case " << &c - kCases;
    EXPECT_EQ(consumed, c.consumed) << "case " << &c - kCases;
  }

  // Only the given window of the table is looked at.
  const unsigned short* const* english = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(kEnglish)->GetTable();
  const unsigned short quote[] = {0x2019, 0};
  CString out;
  MapUnicodeToASCII(quote, consumed, out, english, 0x80, 0x80);
  EXPECT_EQ(BytesOf(out), "\x92");
  MapUnicodeToASCII(quote, consumed, out, english, 0x28, 0x10000);
  EXPECT_EQ(BytesOf(out), "\x92");
  MapUnicodeToASCII(quote, consumed, out, english, -5, 0x2D);
  EXPECT_EQ(BytesOf(out), "\x27");
  MapUnicodeToASCII(nullptr, consumed, out, english, 1, 255);
  EXPECT_EQ(consumed, 1);
  EXPECT_TRUE(out.IsEmpty());

  // A table of the host's own is scanned.
  const unsigned short x[] = {'x', 0}, xy[] = {'y', 'x', 0};
  const unsigned short* table[256] = {};
  table[0x10] = x;
  table[0x20] = xy;
  table[0x30] = x;
  const unsigned short letter[] = {'x', 0};
  MapUnicodeToASCII(letter, consumed, out, table, 0, 0x21);
  EXPECT_EQ(BytesOf(out), "\x10\x20");
}

TEST(LanguageLibrary, IsMark) {
  for (unsigned short mark : {0x0300, 0x036F, 0x0483, 0x0489, 0x0591, 0x05B0, 0x05BC, 0x05C1, 0x05C7, 0x0610,
                              0x064B, 0x065F, 0x1AB0, 0x1AFF, 0x1DC0, 0x1DFF, 0x20D0, 0x20FF, 0xFE20, 0xFE2F})
    EXPECT_TRUE(IsMark(mark)) << std::hex << mark;
  for (unsigned short other : {0x0000, 0x0041, 0x00E9, 0x02FF, 0x0370, 0x03B1, 0x05BE, 0x05C0, 0x05C3, 0x05C6,
                               0x05D0, 0x1AAF, 0x20CF, 0xFE1F, 0xFE30, 0xFFFF})
    EXPECT_FALSE(IsMark(other)) << std::hex << other;
}

TEST(LanguageString, LayoutAssignAppendAndEmpty) {
  static_assert(sizeof(cLanguageString) == 2 * sizeof(void*), "two pointers");
  cLanguageString s = Lang(u"λόγος", kGreek);
  EXPECT_EQ(s.GetLength(), 5u);
  EXPECT_EQ(s.GetData()->nDataLength, 5);
  EXPECT_EQ(reinterpret_cast<const char*>(s.GetData()) + sizeof(cLanguageStringData),
            reinterpret_cast<const char*>(s.GetString()));
  EXPECT_EQ(s.GetString()[5], 0);
  EXPECT_EQ(s.GetLanguageIDs()[5], 0);
  EXPECT_EQ(IdsOf(s), std::vector<unsigned short>(5, kGreek));
  EXPECT_FALSE(s.IsEmpty());
  EXPECT_TRUE(cLanguageString().IsEmpty());
  EXPECT_EQ(cLanguageString().GetString()[0], 0);

  cLanguageString t;
  t = reinterpret_cast<const unsigned char*>("caf\xE9");
  EXPECT_EQ(CharsOf(t), u"café");
  EXPECT_EQ(t.GetLanguage(), kEnglish);

  s = Lang(u"abc");
  s.AssignCopy(kGreek, s.GetString() + 1, -1);  // a piece of itself
  EXPECT_EQ(CharsOf(s), u"bc");
  EXPECT_EQ(s.GetLanguage(), kGreek);
  s.AssignCopy(kGerman, reinterpret_cast<const unsigned short*>(u"xyz"), 2);
  EXPECT_EQ(CharsOf(s), u"xy");
  s.AssignCopy(kGerman, nullptr, 3);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.GetLanguage(), 0);

  // Appending, also to itself, keeps each character's language; a long string grows.
  cLanguageString mixed = Lang({{u"ab", kEnglish}, {u"γ", kGreek}});
  mixed += mixed;
  EXPECT_EQ(CharsOf(mixed), u"abγabγ");
  EXPECT_EQ(IdsOf(mixed), (std::vector<unsigned short>{kEnglish, kEnglish, kGreek, kEnglish, kEnglish, kGreek}));
  cLanguageString longer;  // megabytes, appended piece by piece in linear time
  for (int i = 0; i < 200000; ++i) longer += mixed;
  EXPECT_EQ(longer.GetLength(), 1200000u);
  EXPECT_EQ(longer[1199999], u'γ');
  EXPECT_EQ(longer.GetLanguageIDs()[1199999], kGreek);
  EXPECT_EQ(longer[1200000], 0);
  EXPECT_EQ(longer[-1], 0);

  unsigned short buffer[8];
  EXPECT_EQ(mixed.GetString(buffer), 6);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer)), u"abγabγ");

  // Copies are deep; a moved-from string is empty.
  cLanguageString copy(mixed);
  mixed.AssignCopy(kEnglish, reinterpret_cast<const unsigned short*>(u"q"), 1);
  EXPECT_EQ(CharsOf(copy), u"abγabγ");
  cLanguageString moved(std::move(copy));
  EXPECT_EQ(CharsOf(moved), u"abγabγ");
  EXPECT_TRUE(copy.IsEmpty());  // NOLINT: the moved-from state is specified

  // Empty(0) keeps the buffer for the next word, Empty() gives it back.
  const unsigned short* buffer0 = moved.GetString();
  moved.Empty(0);
  EXPECT_TRUE(moved.IsEmpty());
  EXPECT_EQ(moved.GetString()[0], 0);
  moved = "word";
  EXPECT_EQ(moved.GetString(), buffer0);
  moved.Empty();
  EXPECT_TRUE(moved.IsEmpty());
  EXPECT_NE(moved.GetString(), buffer0);

  // The element functions of the framework's collections (the word lists of
  // ConcordTest hold language strings in a collection).
  alignas(cLanguageString) unsigned char raw[3 * sizeof(cLanguageString)];
  auto* elements = reinterpret_cast<cLanguageString*>(raw);
  ConstructElements(elements, 3);
  elements[1] = Lang(u"x");
  EXPECT_TRUE(elements[0].IsEmpty());
  DestructElements(elements, 3);
}

TEST(LanguageString, EightBitConversions) {
  cLanguageString s;
  s.SingleByteToWideChar("\xE1\xE2\x92", kGreek, 3);
  EXPECT_EQ(CharsOf(s), u"αβ\u2019");
  EXPECT_EQ(IdsOf(s), std::vector<unsigned short>(3, kGreek));
  s.SingleByteToWideChar("abc", kHebrew, 2);
  EXPECT_EQ(CharsOf(s), u"ab");
  s.SingleByteToWideChar("ab\0cd", kEnglish, 5);  // a zero byte ends the text
  EXPECT_EQ(CharsOf(s), u"ab");
  // Bytes that list nothing become U+FFFD, one character each; bytes the code
  // page leaves undefined may be given to marks.
  s.SingleByteToWideChar("\xFF\xAC\xAD\x8F", kGreek, 4);
  EXPECT_EQ(CharsOf(s), u"\uFFFD\uFFFD\uFFFD\u0313");
  // A language the library does not know is read with the default table.
  s.SingleByteToWideChar("\xE9", 999, 1);
  EXPECT_EQ(CharsOf(s), u"é");
  EXPECT_EQ(s.GetLanguage(), 999);
  EXPECT_EQ(CharsOf(cLanguageString("\xE0\xE1", kHebrew)), u"אב");

  // The 8-bit form: every byte that has a reading comes back as itself.
  for (unsigned short language : {kEnglish, kGreek, kHebrew}) {
    std::string bytes;
    const unsigned short* const* table = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(language)->GetTable();
    for (int b = 1; b < 256; ++b)
      if (table[b][0] != 0) bytes += static_cast<char>(b);
    EXPECT_EQ(BytesOf(CString(cLanguageString(bytes.c_str(), language))), bytes) << language;
  }
  // Each character in its own language's table; what none has becomes '?'.
  const cLanguageString mixed = Lang({{u"a\u2019", kEnglish}, {u"α", kGreek}, {u"α", kEnglish}, {u"\u4E00", kHebrew}});
  EXPECT_EQ(BytesOf(CString(mixed)), "a\x92\xE1??");
  EXPECT_EQ(BytesOf(CString(Lang(u"é", 4242))), "\xE9");
}

int Sign(int v) { return (v > 0) - (v < 0); }

int Match(const cLanguageString& a, const cLanguageString& b) { return Sign(a.Compare(b, 0, 0)); }

TEST(Collation, OrdinalForTheOperators) {
  const cLanguageString abc = Lang(u"abc"), abd = Lang(u"abd"), ab = Lang(u"ab"), upper = Lang(u"ABC");
  EXPECT_EQ(Sign(abc.Compare(abd, 1, 1)), -1);
  EXPECT_EQ(Sign(abc.Compare(ab, 1, 1)), 1);
  EXPECT_EQ(Sign(upper.Compare(abc, 1, 0)), -1);  // code units, no folding
  EXPECT_EQ(Sign(Lang(u"\uFFFF").Compare(Lang(u"a"), 1, 1)), 1);  // unsigned
  // Same characters: the language ids decide.
  const cLanguageString greek = Lang(u"abc", kGreek), german = Lang(u"abc", kGerman);
  EXPECT_EQ(Sign(german.Compare(greek, 1, 1)), -1);
  EXPECT_EQ(Sign(Lang(u"abc", kGreek).Compare(Lang(u"abd", kGerman), 1, 1)), -1);  // characters first

  EXPECT_EQ(abc == Lang(u"abc"), 1);
  EXPECT_EQ(abc == greek, 0);
  EXPECT_EQ(abc != greek, 1);
  EXPECT_EQ(abc != Lang(u"abc"), 0);
  EXPECT_EQ(ab < abc, 1);
  EXPECT_EQ(abc < ab, 0);
  EXPECT_EQ(abd > abc, 1);
  EXPECT_EQ(abc > abc, 0);
  EXPECT_EQ(abc <= abc, 1);
  EXPECT_EQ(abd <= abc, 0);
  EXPECT_EQ(abc >= abc, 1);
  EXPECT_EQ(ab >= abc, 0);
  // Linguistically equal strings are still different to the operators.
  EXPECT_EQ(Lang(u"Lord") == Lang(u"lord"), 0);
}

TEST(Collation, LevelsOneAndTwoIgnoreCaseMarkOrderAndComposition) {
  const std::pair<std::u16string, std::u16string> kSame[] = {
      {u"Lord", u"lord"},
      {u"LORD", u"lord"},
      {u"e\u0301\u0323", u"e\u0323\u0301"},           // adjacent marks in either order
      {u"\u00E9", u"e\u0301"},                        // precomposed and decomposed
      {u"\u00C9", u"e\u0301"},                        // and case
      {u"\u01CE", u"\u01CE"},                         // beyond the decomposed blocks: itself
      {u"\u1E17", u"e\u0304\u0301"},                  // Latin Extended Additional
      {u"\u0390", u"\u03B9\u0308\u0301"},             // Greek, two marks
      {u"\u0390", u"\u03B9\u0301\u0308"},             // ... in the other order
      {u"\u1F04", u"\u03B1\u0313\u0301"},             // Greek Extended
      {u"\u1F71", u"\u03AC"},                         // oxia and tonos
      {u"\u03BB\u03CC\u03B3\u03BF\u03C2", u"\u039B\u039F\u0301\u0393\u039F\u03A3"},  // final sigma, case, tonos
      {u"\u05D1\u05B0\u05BC", u"\u05D1\u05BC\u05B0"},  // Hebrew points
      {u"\u0160", u"s\u030C"},                        // Latin Extended-A
  };
  for (size_t i = 0; i < std::size(kSame); ++i) {
    const cLanguageString x = Lang(kSame[i].first), y = Lang(kSame[i].second, kGreek);
    EXPECT_EQ(x.Compare(y, 0, 0), 0) << "pair " << i;
    EXPECT_EQ(y.Compare(x, 0, 0), 0) << "pair " << i;
  }
  // That collating still orders them (unless identical) is TotalOrderOnRandomSamples'.

  // Different marks, different bases: not the same word.
  EXPECT_EQ(Match(Lang(u"e"), Lang(u"\u00E9")), -1);  // no marks before any
  EXPECT_EQ(Match(Lang(u"\u00E9"), Lang(u"\u00E8")), 1);  // U+0301 after U+0300
  EXPECT_EQ(Match(Lang(u"\u00E9x"), Lang(u"ex\u0301")), 1);  // the mark belongs to its base
  EXPECT_EQ(Match(Lang(u"\u00E9b"), Lang(u"ea")), 1);  // level 1 before level 2
  EXPECT_EQ(Match(Lang(u"\u05D1\u05B0"), Lang(u"\u05D1")), 1);
  EXPECT_EQ(Match(Lang(u"ab"), Lang(u"abc")), -1);
  EXPECT_EQ(Match(Lang(u"\u0301a"), Lang(u"a")), 1);  // a leading mark counts at level 2
}

// A fixed list in its expected collation order: the same on every machine and run.
TEST(Collation, SortingIsFixedAndIndependentOfInputOrder) {
  // Level 1 before marks before case (upper just before lower, an earlier letter's
  // case first), then the language ids.
  const std::vector<cLanguageString> expected = {
      Lang(u""),         Lang(u"\u0301"),        Lang(u"A"),              Lang(u"a", kGreek),
      Lang(u"a"),        Lang(u"A\u0301"),       Lang(u"\u00C1"),         Lang(u"a\u0301"),
      Lang(u"\u00E1"),   Lang(u"Ab"),             Lang(u"aB"),             Lang(u"ab"),
      Lang(u"B"),        Lang(u"b"),              Lang(u"E"),              Lang(u"e"),
      Lang(u"\u00C9"),   Lang(u"e\u0301\u0323"), Lang(u"e\u0323\u0301"), Lang(u"\u00E9\u0323"),
      Lang(u"lor"),      Lang(u"LORD"),           Lang(u"Lord"),           Lang(u"lord"),
      Lang(u"lore"),     Lang(u"z"),              Lang(u"\u03B1"),         Lang(u"\u03AC"),
      Lang(u"\u1F71"),   Lang(u"\u03A3"),         Lang(u"\u03C2"),         Lang(u"\u03C3"),
      Lang(u"\u05D0"),   Lang(u"\u05D1\u05B0\u05BC"), Lang(u"\u05D1\u05BC\u05B0"),
  };
  for (unsigned seed = 1; seed <= 5; ++seed) {
    std::vector<cLanguageString> words = expected;
    std::shuffle(words.begin(), words.end(), std::mt19937(seed));
    std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.Compare(b, 0, 1) < 0; });
    for (size_t i = 0; i < expected.size(); ++i)
      EXPECT_EQ(words[i].Compare(expected[i], 1, 1), 0) << "seed " << seed << " position " << i;
  }
}

// Random strings over characters that exercise every level: antisymmetry,
// transitivity, and equality under collation only for identical strings.
TEST(Collation, TotalOrderOnRandomSamples) {
  const char16_t kAlphabet[] = {u'a', u'A',    u'b',    u'e',    u'\u00E9', u'\u00C9', u'\u0301', u'\u0323',
                                u'\u0300', u'\u03C3', u'\u03C2', u'\u03A3', u'\u03AC', u'\u1F71', u'\u05D1',
                                u'\u05B0', u'\u05BC', u'\0'};
  std::mt19937 random(2024);
  std::vector<cLanguageString> samples;
  for (int i = 0; i < 70; ++i) {
    std::u16string text;
    const int length = static_cast<int>(random() % 4);
    for (int k = 0; k < length; ++k) text += kAlphabet[random() % std::size(kAlphabet)];
    samples.push_back(Lang(text, random() % 4 == 0 ? kGreek : kEnglish));
  }
  for (int collate = 0; collate < 2; ++collate) {
    const auto cmp = [&](const cLanguageString& a, const cLanguageString& b) { return Sign(a.Compare(b, 0, collate)); };
    for (const auto& a : samples) {
      EXPECT_EQ(cmp(a, a), 0);
      for (const auto& b : samples) {
        ASSERT_EQ(cmp(a, b), -cmp(b, a));
        if (collate) {
          ASSERT_EQ(cmp(a, b) == 0, a.Compare(b, 1, 1) == 0);
        }
        for (const auto& c : samples) {
          if (cmp(a, b) <= 0 && cmp(b, c) <= 0) {
            ASSERT_LE(cmp(a, c), 0) << collate;
          }
          if (cmp(a, b) == 0 && cmp(b, c) == 0) {
            ASSERT_EQ(cmp(a, c), 0) << collate;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace orva::test
