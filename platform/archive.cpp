#include "platform/archive.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"

CMemFile::CMemFile(UINT growBytes) : m_growBytes(growBytes ? growBytes : 1024) {}

CMemFile::CMemFile(const BYTE* buffer, UINT size) : m_growBytes(0), m_view(buffer), m_viewSize(size) {}

void CMemFile::Write(const void* data, UINT count) {
  if (m_view) AfxThrowFileException(CFileException::accessDenied);
  if (count == 0) return;
  const size_t need = m_data.size() + count;
  if (need > m_data.capacity()) {
    // At least doubled, so that appending n bytes costs O(n) copying in all.
    const size_t steps = (need + m_growBytes - 1) / m_growBytes;
    AfxAllocating([&] { m_data.reserve(std::max(steps * m_growBytes, 2 * m_data.capacity())); });
  }
  const auto* bytes = static_cast<const BYTE*>(data);
  m_data.insert(m_data.end(), bytes, bytes + count);
}

UINT CMemFile::Read(void* data, UINT count) {
  const UINT got = count < GetRemaining() ? count : GetRemaining();
  if (got) std::memcpy(data, GetData() + m_readPos, got);
  m_readPos += got;
  return got;
}

CArchive::CArchive(CMemFile* file, UINT mode, int bufferSize)
    : m_file(file), m_mode(mode), m_bufferSize(bufferSize > 0 ? static_cast<size_t>(bufferSize) : 4096) {}

CArchive::~CArchive() {
  // A destructor must not throw: a store that could not be flushed is dropped.
  try {
    Close();
  } catch (CException* e) {
    e->Delete();
  }
}

void CArchive::Write(const void* data, UINT count) {
  if (m_file == nullptr || !IsStoring()) AfxThrowFileException(CFileException::accessDenied);
  if (m_buffer.size() + count > m_bufferSize) Flush();
  if (count >= m_bufferSize) {
    m_file->Write(data, count);
    return;
  }
  const auto* bytes = static_cast<const BYTE*>(data);
  AfxAllocating([&] { m_buffer.insert(m_buffer.end(), bytes, bytes + count); });
}

void CArchive::Read(void* data, UINT count) {
  if (m_file == nullptr || IsStoring()) AfxThrowFileException(CFileException::accessDenied);
  if (m_file->Read(data, count) != count) AfxThrowFileException(CFileException::endOfFile);
}

void CArchive::Flush() {
  if (m_file && IsStoring() && !m_buffer.empty()) {
    m_file->Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
    m_buffer.clear();
  }
}

void CArchive::Close() {
  Flush();
  m_file = nullptr;
}

UINT CArchive::EncodeStringHead(UINT length, BYTE head[7]) {
  if (length < 0xFF) {
    head[0] = static_cast<BYTE>(length);
    return 1;
  }
  head[0] = 0xFF;
  if (length < 0xFFFE) {
    head[1] = static_cast<BYTE>(length);
    head[2] = static_cast<BYTE>(length >> 8);
    return 3;
  }
  head[1] = head[2] = 0xFF;
  for (int i = 0; i < 4; ++i) head[3 + i] = static_cast<BYTE>(length >> (8 * i));
  return 7;
}

CArchive& CArchive::operator<<(const CString& text) {
  const UINT length = static_cast<UINT>(text.GetLength());
  BYTE head[7];
  Write(head, EncodeStringHead(length, head));
  Write(static_cast<const char*>(text), length);
  return *this;
}

CArchive& CArchive::operator>>(CString& text) {
  BYTE b = 0;
  Read(&b, 1);
  UINT length = b;
  if (b == 0xFF) {
    BYTE w[2];
    Read(w, 2);
    length = w[0] | (w[1] << 8);
    if (length == 0xFFFF) {
      BYTE d[4];
      Read(d, 4);
      length = d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<UINT>(d[3]) << 24);
    }
  }
  if (length > m_file->GetRemaining() || length > 0x7FFFFFFF) {
    AfxThrowFileException(CFileException::endOfFile);
  }
  const auto* data = reinterpret_cast<const char*>(m_file->GetReadPtr());
  text = AfxAllocating([&] { return CString(data, static_cast<int>(length)); });
  m_file->Skip(length);
  return *this;
}
