// The encoder of coded lists, the mirror of the library's decoder: Golomb codes of
// the gaps of an ascending list, remainders in truncated binary, packed most
// significant bit first from a byte boundary, the last byte padded with 0-bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orva::writer {

// Appends bits to a byte buffer, most significant bit of each byte first.
class BitWriter {
 public:
  void Bit(int bit);
  // The low `count` bits of `value` (count 0 to 32), the highest first.
  void Bits(std::uint32_t value, int count);
  // The bytes written, the last one padded with 0-bits.
  std::vector<std::uint8_t> Take();

 private:
  std::vector<std::uint8_t> m_bytes;
  int m_used = 8;  // bits used in the last byte; 8 when a new byte is needed
};

// The bytes of a coded list of `entries` whose parameter comes from `range` and
// `count` (count >= 1; the entries' own count unless the format says otherwise).
// `start` is null for a list that starts its own sequence, else the entry before
// entries[0], which then is coded as a gap too. Throws std::invalid_argument when
// the entries are not strictly ascending (from `start`) or count is 0.
std::vector<std::uint8_t> EncodeCodedList(const std::vector<std::uint32_t>& entries, std::uint32_t range,
                                          std::uint32_t count, const std::uint32_t* start = nullptr);
inline std::vector<std::uint8_t> EncodeCodedList(const std::vector<std::uint32_t>& entries, std::uint32_t range) {
  return EncodeCodedList(entries, range, static_cast<std::uint32_t>(entries.size()));
}

// The number of bytes EncodeCodedList writes for these arguments (entries that
// ascend strictly from `start`, count >= 1), without writing them.
size_t CodedListSize(const std::uint32_t* entries, size_t size, std::uint32_t range, std::uint32_t count,
                     const std::uint32_t* start = nullptr);

}  // namespace orva::writer
