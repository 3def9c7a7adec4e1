// The languages and code pages of the language library, built once on first use
// from the generated data (raising CMemoryException* when that fails) and read-only
// afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "zalang/language_data.h"
#include "zalang/language_table.h"

namespace zalang {

// One 8-bit table and its reverse index.
class cCodePage {
 public:
  explicit cCodePage(const unsigned short (*entries)[data::kEntryWidth]);

  const unsigned short* const* Table() const { return m_table.data(); }
  // The reading of `byte`: the first character its entry lists; U+0000 for byte 0,
  // U+FFFD for a byte that lists nothing.
  unsigned short Reading(unsigned char byte) const { return m_readings[byte]; }
  // Writes the bytes between `first` and `last` (inclusive) whose entry lists `ch`
  // into `bytes`, ascending; returns their number.
  int BytesOf(unsigned short ch, int first, int last, unsigned char* bytes) const;
  // The byte whose reading is `ch`, else the lowest byte that lists it, else -1.
  int PreferredByte(unsigned short ch) const;

 private:
  struct sListing {
    unsigned short ch;
    unsigned char byte;
    bool operator<(const sListing& o) const { return ch != o.ch ? ch < o.ch : byte < o.byte; }
  };
  std::pair<const sListing*, const sListing*> ListingsOf(unsigned short ch) const;

  std::array<const unsigned short*, 256> m_table{};
  std::array<unsigned short, 256> m_readings{};
  std::vector<sListing> m_listings;  // every (character, byte) of the table, sorted
  // For the characters below 256, which most text is made of: 1 + the index of
  // the first listing, or 0 when there is none. Others are found by bisection: a
  // dense index up to the highest character listed would be built, page by page,
  // at the start of every process that converts a word.
  std::array<std::uint16_t, 256> m_firstListing{};
};

class cLanguageRegistry {
 public:
  static const cLanguageRegistry& Get();

  int Count() const { return static_cast<int>(m_languages.size()); }
  const cLanguageDatum& At(int index) const { return m_languages[static_cast<size_t>(index)]; }
  const cLanguageDatum* Find(unsigned short language) const;
  unsigned short FindByName(const unsigned short* name) const;
  int LongestName() const { return m_longestName; }
  // The code page of a language; the default language's for one the library does
  // not know.
  const cCodePage& CodePageOf(unsigned short language) const;
  // The code page whose table is `table`, or null for a table of someone else's.
  const cCodePage* CodePageOfTable(const unsigned short* const* table) const;

 private:
  cLanguageRegistry();

  std::vector<std::unique_ptr<cCodePage>> m_codePages;
  std::vector<cLanguageDatum> m_languages;
  const cCodePage* m_defaultCodePage = nullptr;
  int m_longestName = 0;
};

}  // namespace zalang
