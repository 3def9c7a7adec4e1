// The streams the LZSS codec reads its input from and writes its output to.
//
// cCodecStream is the abstract stream: Transfer moves up to `count` bytes between
// the caller's buffer and the stream and returns how many it moved. An input
// stream reads from the stream into the buffer, an output stream writes the buffer
// into the stream; a result below `count` means the input is exhausted or the
// output is full.
//
// The two memory streams work on a buffer they do not own. A new stream is empty
// (null buffer, size 0, position 0); the user sets m_pBuffer and m_dwSize directly
// and reads m_dwPosition back after the codec call. The codec recognises these two
// classes (exactly these, not classes derived from them) and then works on their
// buffers directly instead of calling Transfer per byte; the result is the same.
#pragma once

#include "platform/object.h"
#include "platform/types.h"

class cCodecStream : public CObject {
 public:
  // Sets the stream position to 0.
  virtual void Rewind() = 0;
  // Moves up to `count` bytes between `buffer` and the stream; returns the number moved.
  virtual WORD Transfer(void* buffer, WORD count) = 0;
};

// Codec input: Transfer copies min(count, size - position) bytes from
// m_pBuffer + position into the caller's buffer and advances the position.
class cMemoryReadStream : public cCodecStream {
 public:
  void Rewind() override { m_dwPosition = 0; }
  WORD Transfer(void* buffer, WORD count) override;

  BYTE* m_pBuffer = nullptr;
  DWORD m_dwSize = 0;
  DWORD m_dwPosition = 0;
};

// Codec output: Transfer copies min(count, size - position) bytes from the caller's
// buffer to m_pBuffer + position and advances the position. After a decode the
// position is the number of bytes produced; nothing beyond m_dwSize is written.
class cMemoryWriteStream : public cCodecStream {
 public:
  void Rewind() override { m_dwPosition = 0; }
  WORD Transfer(void* buffer, WORD count) override;

  BYTE* m_pBuffer = nullptr;
  DWORD m_dwSize = 0;
  DWORD m_dwPosition = 0;
};
