// The one place where loose little-endian fields of a book file are decoded and
// encoded. Whole records are copied into the packed structures of the interface
// instead (the host is little-endian, asserted in platform/types.h).
#pragma once

#include <cstdint>

namespace orva {

inline std::uint16_t DecodeU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t DecodeU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::int16_t DecodeI16(const unsigned char* p) { return static_cast<std::int16_t>(DecodeU16(p)); }

inline std::int32_t DecodeI32(const unsigned char* p) { return static_cast<std::int32_t>(DecodeU32(p)); }

inline void EncodeU16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

inline void EncodeU32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace orva
