// CFile: a read-only file of the framework's kind, as the book readers use it.
//
// The whole file is in memory from the moment it is opened, so that a read is a
// copy from memory and never a system call: the readers of coded lists read one
// byte at a time. A file of up to 64 KiB is read whole at open, with one pread
// (cheaper than a mapping, whose removal costs a TLB flush on every core); a larger
// one is mapped. A file that cannot be mapped (and one opened with `osBuffered`)
// is read through a 64 KiB window instead, one pread per window. Only regular
// files open.
//
// The file is opened shared: other readers and writers are not locked out. A book
// file must not be truncated while it is open: on this platform a mapped file that
// shrinks underneath its reader faults (SIGBUS) instead of reading short.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/types.h"

class CFile : public CObject {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    shareDenyNone = 0x0040,
    // Read through a buffer even when the file could be mapped.
    osBuffered = 0x10000,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CFile() = default;
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens `path` for reading. On failure returns FALSE and, when `error` is not
  // null, fills its cause (mapped from errno), OS error and file name. Anything
  // but a regular file is refused with accessDenied, without waiting (a named pipe
  // does not block). An open file is closed first.
  BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);

  // Copies up to `count` bytes from the current position and advances it; returns
  // the number copied, fewer (down to 0) at the end of the file. Raises
  // CFileException when the operating system reports a read error.
  UINT Read(void* buffer, UINT count) {
    // The common case, inline: a mapped file with the bytes all there.
    if (m_map != nullptr && m_position >= 0 && count <= m_length && m_position <= m_length - count) {
      std::memcpy(buffer, m_map + m_position, count);
      m_position += count;
      return count;
    }
    return ReadSlow(buffer, count);
  }

  // Moves the position `offset` bytes from the start, the current position or the
  // end, and returns the new position. A position before the start or beyond the
  // range of LONG raises CFileException(badSeek); beyond the end is allowed.
  LONG Seek(LONG offset, UINT from) {
    // The common case, inline: a position from the start of an open file.
    if (m_open && from == begin && offset >= 0) {
      m_position = offset;
      return offset;
    }
    return SeekSlow(offset, from);
  }
  void SeekToBegin() { Seek(0, begin); }

  DWORD GetLength() const { return m_length; }
  DWORD GetPosition() const { return static_cast<DWORD>(m_position); }
  const CString& GetFilePath() const { return m_path; }
  BOOL IsOpen() const { return m_open ? TRUE : FALSE; }
  // True when every byte of the file is in memory (mapped, or read whole at open)
  // rather than read through a window.
  bool IsMapped() const { return m_map != nullptr; }

  // Closes the file; closing a closed file does nothing.
  void Close();

 private:
  UINT ReadSlow(void* buffer, UINT count);
  LONG SeekSlow(LONG offset, UINT from);
  UINT ReadBuffered(BYTE* out, UINT count);
  // Reads up to `size` bytes at `position` into the window with one pread.
  void Fill(std::int64_t position, size_t size);

  bool m_open = false;
  int m_fd = -1;
  // The file's bytes: a mapping, or the window when it holds the whole file.
  const BYTE* m_map = nullptr;
  bool m_mapped = false;
  DWORD m_length = 0;
  std::int64_t m_position = 0;
  CString m_path;
  // The buffered window: bytes [m_windowStart, m_windowStart + m_window.size()).
  std::vector<BYTE> m_window;
  std::int64_t m_windowStart = 0;
};
