#include "writer/byte_writer.h"

#include <algorithm>
#include <stdexcept>

#include "files/endian.h"

namespace orva::writer {

ByteWriter& ByteWriter::U8(std::uint8_t v) { return Bytes(&v, 1); }

ByteWriter& ByteWriter::U16(std::uint16_t v) {
  unsigned char b[2];
  EncodeU16(b, v);
  return Bytes(b, sizeof b);
}

ByteWriter& ByteWriter::U32(std::uint32_t v) {
  unsigned char b[4];
  EncodeU32(b, v);
  return Bytes(b, sizeof b);
}

ByteWriter& ByteWriter::Bytes(const void* data, size_t count) {
  // Most writers make a record of a few fields, each a write: the first makes
  // room for 64 bytes, so that the record is not moved as it grows from 1 byte.
  if (m_bytes.capacity() == 0) m_bytes.reserve(std::max<size_t>(count, 64));
  const auto* p = static_cast<const std::uint8_t*>(data);
  m_bytes.insert(m_bytes.end(), p, p + count);
  return *this;
}

ByteWriter& ByteWriter::Record(const ByteWriter& fields, size_t size) {
  const size_t kept = std::min(size, fields.Size());
  Bytes(fields.Data().data(), kept);
  m_bytes.resize(m_bytes.size() + (size - kept), 0);
  return *this;
}

void ByteWriter::PatchU16(size_t offset, std::uint16_t v) {
  if (offset + 2 > m_bytes.size()) throw std::out_of_range("PatchU16 beyond the data");
  EncodeU16(&m_bytes[offset], v);
}

void ByteWriter::PatchU32(size_t offset, std::uint32_t v) {
  if (offset + 4 > m_bytes.size()) throw std::out_of_range("PatchU32 beyond the data");
  EncodeU32(&m_bytes[offset], v);
}

}  // namespace orva::writer
