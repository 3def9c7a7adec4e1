// CMemFile and CArchive: just enough of the framework's memory file and archive to
// write and read 8-bit strings in the archive's string encoding:
//   length 0..254:       one byte length, then the bytes
//   length 255..65533:   0xFF, u16 length, then the bytes
//   length 65534 and up: 0xFF, u16 0xFFFF, u32 length, then the bytes
// (all little-endian, no terminator).
#pragma once

#include <vector>

#include "platform/cstring.h"
#include "platform/object.h"
#include "platform/types.h"

class CMemFile : public CObject {
 public:
  // A growing file in memory. Its buffer grows to a multiple of `growBytes` and at
  // least doubles each time, so appending is linear in the bytes written.
  explicit CMemFile(UINT growBytes = 1024);
  // A read-only view of `size` bytes that the caller owns and keeps alive.
  CMemFile(const BYTE* buffer, UINT size);

  // Appends at the end (a view cannot be written: CFileException(accessDenied)).
  void Write(const void* data, UINT count);
  // Copies up to `count` bytes from the read position; returns the number copied.
  UINT Read(void* data, UINT count);
  UINT GetLength() const { return m_view ? m_viewSize : static_cast<UINT>(m_data.size()); }
  UINT GetRemaining() const { return GetLength() - m_readPos; }
  // The bytes at the read position (GetRemaining() of them), and moving past some.
  const BYTE* GetReadPtr() const { return GetData() + m_readPos; }
  void Skip(UINT count) { m_readPos += count < GetRemaining() ? count : GetRemaining(); }
  const BYTE* GetData() const { return m_view ? m_view : m_data.data(); }

 private:
  UINT m_growBytes;
  std::vector<BYTE> m_data;
  const BYTE* m_view = nullptr;
  UINT m_viewSize = 0;
  UINT m_readPos = 0;
};

class CArchive : public CObject {
 public:
  enum Mode : UINT { store = 0, load = 1 };

  // Writes to, or reads from, `file`, which must outlive the archive. Writes are
  // collected in a buffer of `bufferSize` bytes and reach the file on Flush/Close.
  CArchive(CMemFile* file, UINT mode, int bufferSize = 4096);
  ~CArchive() override;
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsStoring() const { return m_mode == store; }
  void Write(const void* data, UINT count);
  // Reads exactly `count` bytes; fewer raise CFileException(endOfFile).
  void Read(void* data, UINT count);
  void Flush();
  void Close();

  // The length prefix of a string of `length` bytes in the encoding above, written
  // to `head`; returns its size (1, 3 or 7 bytes).
  static UINT EncodeStringHead(UINT length, BYTE head[7]);

  CArchive& operator<<(const CString& text);
  // Reads one string. A length that runs past the data raises
  // CFileException(endOfFile) before anything is allocated; `text` is then unchanged.
  CArchive& operator>>(CString& text);

 private:
  CMemFile* m_file;
  UINT m_mode;
  size_t m_bufferSize;
  std::vector<BYTE> m_buffer;
};
