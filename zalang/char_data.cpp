#include "zalang/char_data.h"

#include <algorithm>
#include <numeric>

#include "platform/exceptions.h"
#include "zalang/language_data.h"

namespace zalang {
namespace {

constexpr unsigned short kFinalSigma = 0x03C2;
constexpr unsigned short kSigma = 0x03C3;

int MarkCountOf(const data::sDecomposition& d) {
  int count = 0;
  while (count < data::kMaxDecomposedMarks && d.marks[count] != 0) ++count;
  return count;
}

}  // namespace

const cCharData& cCharData::Get() {
  static const cCharData data;
  return data;
}

cCharData::cCharData() {
  AfxAllocating([&] {
    BuildFlags();
    BuildDecompositions();
    BuildWeights();
  });
}

void cCharData::AddFlag(unsigned short ch, std::uint8_t flag) {
  std::uint16_t& page = m_flagPage[ch >> 8];
  if (page == 0) {
    page = static_cast<std::uint16_t>(m_flagBlocks.size());
    m_flagBlocks.emplace_back();
  }
  m_flagBlocks[page][ch & 0xFF] |= flag;
}

void cCharData::BuildFlags() {
  m_flagBlocks.resize(1);  // block 0 for the pages without flags
  for (int r = 0; r < data::kMarkRangeCount; ++r) {
    for (unsigned ch = data::kMarkRanges[r].first; ch <= data::kMarkRanges[r].last; ++ch) {
      AddFlag(static_cast<unsigned short>(ch), kMark);
    }
  }
  for (int i = 0; i < data::kDecompositionCount; ++i) {
    const data::sDecomposition& d = data::kDecompositions[i];
    AddFlag(d.precomposed, kPrecomposed);
    AddFlag(d.base, kComposes);
    if (LowerCase(d.base) != d.base) AddFlag(d.precomposed, kUpper);
  }
  for (int i = 0; i < data::kLowerCaseCount; ++i) {
    const unsigned short ch = data::kLowerCase[i].from;
    if (!(Flags(ch) & kPrecomposed)) AddFlag(ch, kUpper);
  }
}

void cCharData::BuildDecompositions() {
  m_decomposedBlocks.resize(1);  // block 0 for the pages without decompositions
  for (int i = 0; i < data::kDecompositionCount; ++i) {
    const data::sDecomposition& d = data::kDecompositions[i];
    std::uint16_t& page = m_decomposedPage[d.precomposed >> 8];
    if (page == 0) {
      page = static_cast<std::uint16_t>(m_decomposedBlocks.size());
      m_decomposedBlocks.emplace_back();
    }
    m_decomposedBlocks[page][d.precomposed & 0xFF] = static_cast<std::uint16_t>(m_decomposed.size());
    m_decomposed.push_back({d.base, MarkCountOf(d), d.marks});
  }
}

// Only the pages that hold a mark, a lower-case mapping, a decomposition or U+0000
// get a block; on every other page each character weighs itself.
void cCharData::BuildWeights() {
  std::array<bool, 256> special{};
  special[0] = true;
  for (int r = 0; r < data::kMarkRangeCount; ++r) {
    for (unsigned page = data::kMarkRanges[r].first >> 8; page <= (data::kMarkRanges[r].last >> 8u); ++page)
      special[page] = true;
  }
  for (int i = 0; i < data::kLowerCaseCount; ++i) special[data::kLowerCase[i].from >> 8] = true;
  for (int i = 0; i < data::kDecompositionCount; ++i) special[data::kDecompositions[i].precomposed >> 8] = true;
  special[kFinalSigma >> 8] = true;

  m_weightBlocks.reserve(static_cast<size_t>(1 + std::count(special.begin(), special.end(), true)));
  m_weightBlocks.resize(1);  // block 0 stands for "its own weight"
  for (unsigned page = 0; page < 256; ++page) {
    if (!special[page]) continue;
    m_weightPage[page] = static_cast<std::uint16_t>(m_weightBlocks.size());
    auto& block = m_weightBlocks.emplace_back();
    for (unsigned low = 0; low < 256; ++low) {
      const auto ch = static_cast<unsigned short>(page << 8 | low);
      block[low] = IsBase(ch) ? ch : 0;
    }
  }
  // Then the lower case of each base, and of each precomposed letter's base, by
  // walking the mappings once rather than looking each character up: this runs
  // at the first comparison of every process.
  const auto weightOf = [&](unsigned short ch) -> unsigned short& {
    return m_weightBlocks[m_weightPage[ch >> 8]][ch & 0xFF];
  };
  for (int i = 0; i < data::kLowerCaseCount; ++i) {
    const data::sCharPair& pair = data::kLowerCase[i];
    if (IsBase(pair.from)) weightOf(pair.from) = pair.to;
  }
  for (int i = 0; i < data::kDecompositionCount; ++i) {
    const data::sDecomposition& d = data::kDecompositions[i];
    if (IsBase(d.precomposed)) weightOf(d.precomposed) = LowerCase(d.base);
  }
  for (size_t b = 1; b < m_weightBlocks.size(); ++b) {
    for (unsigned short& weight : m_weightBlocks[b]) {
      if (weight == kFinalSigma) weight = kSigma;
    }
  }
}

struct cCharData::sCompositions {
  std::vector<Key> keys;
  std::vector<unsigned short> precomposed;
};

const cCharData::sCompositions& cCharData::Compositions() {
  static const sCompositions table = AfxAllocating([] {
    const auto count = static_cast<size_t>(data::kDecompositionCount);
    std::vector<Key> keys(count);
    for (size_t i = 0; i < count; ++i) {
      const data::sDecomposition& d = data::kDecompositions[i];
      keys[i] = {d.base, d.marks[0], d.marks[1], d.marks[2]};
    }
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return keys[a] != keys[b] ? keys[a] < keys[b]
                                : data::kDecompositions[a].precomposed < data::kDecompositions[b].precomposed;
    });
    sCompositions built;
    for (size_t i : order) {
      built.keys.push_back(keys[i]);
      built.precomposed.push_back(data::kDecompositions[i].precomposed);
    }
    return built;
  });
  return table;
}

unsigned short cCharData::LowerCase(unsigned short ch) {
  const data::sCharPair* first = data::kLowerCase;
  const data::sCharPair* last = first + data::kLowerCaseCount;
  const auto* it =
      std::lower_bound(first, last, ch, [](const data::sCharPair& p, unsigned short c) { return p.from < c; });
  return (it != last && it->from == ch) ? it->to : ch;
}


sCharSpan cCharData::FindPrecomposed(unsigned short base, const unsigned short* marks, int markCount) const {
  static const unsigned short kNone[1] = {0};
  if (!(Flags(base) & kComposes) || markCount < 0 || markCount > data::kMaxDecomposedMarks) return {kNone, kNone};
  const sCompositions& compositions = Compositions();
  const unsigned short* none = compositions.precomposed.data();
  Key key{base, 0, 0, 0};
  for (int i = 0; i < markCount; ++i) key[static_cast<size_t>(i) + 1] = marks[i];
  const auto range = std::equal_range(compositions.keys.begin(), compositions.keys.end(), key);
  const auto first = static_cast<size_t>(range.first - compositions.keys.begin());
  const auto last = static_cast<size_t>(range.second - compositions.keys.begin());
  return {none + first, none + last};
}

}  // namespace zalang
