// cLanguageString::Compare: the ordinal order of the operators, the equalities of
// the linguistic levels, and the total order in which word lists are sorted.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/lang_test_support.h"

namespace orva::test {
namespace {

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
      {u"\u1E39", u"\u1E39"},                         // beyond the decomposed blocks: itself
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
