// How the concordance decodes coded lists in bulk and in parts: a dense key list
// (divisor 1) is read by its 0-bits all at once, and a word's position offsets
// only as far as the keys asked for. Both must read as one value after another.
#include <random>

#include "tests/concord_test_support.h"

namespace orva::test {
namespace {

TEST_F(ConcordTest, FrequentWordsReadAsOneValueAfterAnother) {
  // "dense": keys 0-279 then 380 (a run of 99 1-bits, longer than the reader
  // holds), so its key list has divisor 1; 281 position lists, so its offsets are
  // decoded in several parts.
  std::mt19937 engine(15);
  std::vector<std::uint32_t> keys;
  std::vector<std::vector<std::uint16_t>> positions;
  for (std::uint32_t key = 0; key < 280; ++key) keys.push_back(key);
  keys.push_back(380);
  for (size_t i = 0; i < keys.size(); ++i) {
    std::vector<std::uint16_t> list;
    for (std::uint16_t p = 1 + engine() % 3; p < 40; p = static_cast<std::uint16_t>(p + 1 + engine() % 9)) {
      list.push_back(p);
    }
    positions.push_back(list);
  }
  writer::ConcordDescription d = SmallConcordance(Lists::kCoded);  // its ids
  writer::ConcordLanguage english;
  english.words = {Word(u"dense", keys, positions), Word(u"rare", {7, 380}, {{2}, {5}})};
  d.languages = {english};
  ASSERT_EQ(Write(d), 0);
  const int dense = 0;
  CUIntArray read;
  ASSERT_EQ(m_book.GetKeysForWord(dense, read), dense);
  EXPECT_EQ(Values(read), keys);

  // In order, backwards, at random and across the parts, with another word's
  // lists read in between (which starts the decoding afresh).
  std::vector<size_t> order(keys.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<size_t> backwards(order.rbegin(), order.rend());
  std::vector<size_t> shuffled = order;
  std::shuffle(shuffled.begin(), shuffled.end(), engine);
  for (const std::vector<size_t>& asked : {order, backwards, shuffled, std::vector<size_t>{200, 3, 280, 64, 65}}) {
    CWordArray list;
    ASSERT_EQ(m_book.GetWordPositionList(1, 380, list), 1);
    for (size_t i : asked) {
      ASSERT_EQ(m_book.GetWordPositionList(dense, static_cast<int>(keys[i]), list), dense);
      EXPECT_EQ(Values(list), positions[i]) << "key " << keys[i];
    }
  }
}

}  // namespace
}  // namespace orva::test
