#include "writer/golomb_writer.h"

#include <stdexcept>

#include "concordance/coded_list.h"

namespace orva::writer {

void BitWriter::Bit(int bit) {
  if (m_used == 8) {
    m_bytes.push_back(0);
    m_used = 0;
  }
  if (bit) m_bytes.back() |= static_cast<std::uint8_t>(0x80 >> m_used);
  ++m_used;
}

void BitWriter::Bits(std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) Bit((value >> i) & 1);
}

std::vector<std::uint8_t> BitWriter::Take() {
  m_used = 8;
  return std::move(m_bytes);
}

std::vector<std::uint8_t> EncodeCodedList(const std::vector<std::uint32_t>& entries, std::uint32_t range,
                                          std::uint32_t count, const std::uint32_t* start) {
  if (count == 0) throw std::invalid_argument("a coded list needs a count of at least 1");
  const GolombParameter p = GolombParameterFor(range, count);
  BitWriter out;
  for (size_t i = 0; i < entries.size(); ++i) {
    const bool first = i == 0 && start == nullptr;
    const std::uint32_t previous = i > 0 ? entries[i - 1] : (start ? *start : 0);
    if (!first && entries[i] <= previous) throw std::invalid_argument("coded entries must ascend strictly");
    const std::uint32_t v = first ? entries[i] : entries[i] - previous - 1;
    for (std::uint32_t q = v / p.b; q > 0; --q) out.Bit(1);
    out.Bit(0);
    const std::uint32_t r = v % p.b;
    if (p.b == 1) continue;
    if (r < p.t) out.Bits(r, p.k - 1);
    else out.Bits(r + p.t, p.k);
  }
  return out.Take();
}

size_t CodedListSize(const std::uint32_t* entries, size_t size, std::uint32_t range, std::uint32_t count,
                     const std::uint32_t* start) {
  const GolombParameter p = GolombParameterFor(range, count);
  std::uint64_t bits = 0;
  for (size_t i = 0; i < size; ++i) {
    const bool first = i == 0 && start == nullptr;
    const std::uint32_t previous = i > 0 ? entries[i - 1] : (start ? *start : 0);
    const std::uint32_t v = first ? entries[i] : entries[i] - previous - 1;
    bits += v / p.b + 1;
    if (p.b > 1) bits += static_cast<std::uint32_t>(v % p.b < p.t ? p.k - 1 : p.k);
  }
  return static_cast<size_t>((bits + 7) / 8);
}

}  // namespace orva::writer
