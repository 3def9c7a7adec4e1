// ByteWriter: builds the bytes of a book file, little-endian, in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orva::writer {

class ByteWriter {
 public:
  ByteWriter& U8(std::uint8_t v);
  ByteWriter& U16(std::uint16_t v);
  ByteWriter& U32(std::uint32_t v);
  ByteWriter& Bytes(const void* data, size_t count);
  ByteWriter& Bytes(const std::vector<std::uint8_t>& data) { return Bytes(data.data(), data.size()); }
  ByteWriter& Text(const std::string& text) { return Bytes(text.data(), text.size()); }
  // Appends a record of `size` bytes: the first bytes of `fields`, cut or padded
  // with zeros to that size.
  ByteWriter& Record(const ByteWriter& fields, size_t size);
  // Empties the writer and keeps its room: one writer makes each record of a
  // table in turn, without an allocation per record.
  ByteWriter& Clear() {
    m_bytes.clear();
    return *this;
  }
  // Overwrites a u16 / u32 written earlier at `offset`.
  void PatchU16(size_t offset, std::uint16_t v);
  void PatchU32(size_t offset, std::uint32_t v);

  size_t Size() const { return m_bytes.size(); }
  const std::vector<std::uint8_t>& Data() const { return m_bytes; }
  std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

 private:
  std::vector<std::uint8_t> m_bytes;
};

}  // namespace orva::writer
