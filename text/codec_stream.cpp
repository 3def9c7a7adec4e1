#include "text/codec_stream.h"

#include <cstring>

namespace {

WORD Available(DWORD size, DWORD position, WORD count) {
  const DWORD left = position < size ? size - position : 0;
  return static_cast<WORD>(left < count ? left : count);
}

}  // namespace

WORD cMemoryReadStream::Transfer(void* buffer, WORD count) {
  const WORD n = Available(m_dwSize, m_dwPosition, count);
  if (n != 0) std::memcpy(buffer, m_pBuffer + m_dwPosition, n);
  m_dwPosition += n;
  return n;
}

WORD cMemoryWriteStream::Transfer(void* buffer, WORD count) {
  const WORD n = Available(m_dwSize, m_dwPosition, count);
  if (n != 0) std::memcpy(m_pBuffer + m_dwPosition, buffer, n);
  m_dwPosition += n;
  return n;
}
