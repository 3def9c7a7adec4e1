// Character properties the language library derives from its generated data: marks,
// lower case, canonical decompositions and the first-level collation weight. Built
// once, on first use, from the lists in language_data.cpp (raising
// CMemoryException* when that fails); read-only afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zalang {

// A character's canonical decomposition: the character itself with no marks, or for
// a precomposed character of Latin-1, Latin Extended-A, Latin Extended Additional,
// Greek and Coptic or Greek Extended its base and its marks.
struct sDecomposed {
  unsigned short base;
  int markCount;
  const unsigned short* marks;
};

// The precomposed characters with one given decomposition, ascending: [first, last).
struct sCharSpan {
  const unsigned short* first;
  const unsigned short* last;
};

class cCharData {
 public:
  static const cCharData& Get();

  bool IsMark(unsigned short ch) const { return Flags(ch) & kMark; }
  // Neither a mark nor U+0000: a character that collation levels 1 and 3 look at.
  bool IsBase(unsigned short ch) const { return ch != 0 && !IsMark(ch); }
  // The first-level collation weight: the lower case of the character's base, final
  // sigma as sigma; 0 for a mark or U+0000, which that level ignores.
  unsigned short Weight(unsigned short ch) const {
    const std::uint16_t block = m_weightPage[ch >> 8];
    return block ? m_weightBlocks[block][ch & 0xFF] : ch;
  }

  // A mark, or a precomposed character: something the second level looks at.
  bool CarriesMarks(unsigned short ch) const { return Flags(ch) & (kMark | kPrecomposed); }
  // Whether the base of `ch` has a lower case other than itself.
  bool IsUpperBase(unsigned short ch) const { return Flags(ch) & kUpper; }
  sDecomposed Decompose(unsigned short ch) const {
    if (!(Flags(ch) & kPrecomposed)) return {ch, 0, nullptr};
    return m_decomposed[m_decomposedBlocks[m_decomposedPage[ch >> 8]][ch & 0xFF]];
  }
  // The simple lower-case mapping; the character itself when it has none.
  static unsigned short LowerCase(unsigned short ch);
  // The precomposed characters whose decomposition is exactly `base` followed by
  // `marks` in that order (empty for more marks than a decomposition holds).
  sCharSpan FindPrecomposed(unsigned short base, const unsigned short* marks, int markCount) const;

 private:
  enum : std::uint8_t {
    kMark = 1,         // a combining mark
    kUpper = 2,        // its base has a lower case other than itself
    kPrecomposed = 4,  // it has a decomposition
    kComposes = 8,     // it is the base of some decomposition
  };

  cCharData();
  std::uint8_t Flags(unsigned short ch) const { return m_flagBlocks[m_flagPage[ch >> 8]][ch & 0xFF]; }
  void AddFlag(unsigned short ch, std::uint8_t flag);
  void BuildFlags();
  void BuildWeights();
  void BuildDecompositions();
  // Decompositions sorted by key, and the precomposed character of each: built
  // at the first FindPrecomposed, which few processes reach.
  struct sCompositions;
  static const sCompositions& Compositions();

  using Key = std::array<unsigned short, 4>;  // base and up to three marks

  // Flags by page (high byte): 0 means no character of the page has any flag,
  // otherwise the index of the page's block in m_flagBlocks. A few pages hold
  // flags, so this stays small: it is built at the first use in every process.
  std::array<std::uint16_t, 256> m_flagPage{};
  std::vector<std::array<std::uint8_t, 256>> m_flagBlocks;
  // Weights by page (high byte): 0 means every character of the page is its own
  // weight, otherwise the index of the page's block in m_weightBlocks.
  std::array<std::uint16_t, 256> m_weightPage{};
  std::vector<std::array<unsigned short, 256>> m_weightBlocks;
  // Decompositions of the precomposed characters, found by page and then by the
  // low byte (an index into m_decomposed; meaningful only where kPrecomposed is set).
  std::vector<sDecomposed> m_decomposed;
  std::array<std::uint16_t, 256> m_decomposedPage{};
  std::vector<std::array<std::uint16_t, 256>> m_decomposedBlocks;
};

}  // namespace zalang
