#include "platform/file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kWindowSize = 64 * 1024;

}  // namespace

CFile::~CFile() { Close(); }

BOOL CFile::Open(const char* path, UINT flags, CFileException* error) {
  Close();
  auto fail = [&](int osError) {
    if (error) {
      error->m_cause = CFileException::OsErrorToException(osError);
      error->m_lOsError = osError;
      error->m_strFileName = path;
    }
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    return FALSE;
  };
  if (path == nullptr || *path == '\0') return fail(ENOENT);
  // O_NONBLOCK: opening a named pipe must not wait for a writer. Anything but a
  // regular file (a folder, a pipe, a device) is refused.
  m_fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (m_fd < 0) return fail(errno);
  struct stat info {};
  if (::fstat(m_fd, &info) != 0) return fail(errno);
  if (!S_ISREG(info.st_mode)) return fail(S_ISDIR(info.st_mode) ? EISDIR : EACCES);
  // Positions are 32-bit signed in every book file: a longer file cannot be read.
  if (info.st_size > std::numeric_limits<LONG>::max()) return fail(EFBIG);

  m_length = static_cast<DWORD>(info.st_size);
  if (m_length > 0 && m_length <= kWindowSize && (flags & osBuffered) == 0) {
    // A small file is read whole with one system call: cheaper than mapping it,
    // faulting its page in and unmapping it again (which flushes the TLB).
    if (!ReadWhole()) return fail(errno);
  } else if (m_length > 0 && (flags & osBuffered) == 0) {
    void* map = ::mmap(nullptr, m_length, PROT_READ, MAP_PRIVATE, m_fd, 0);
    if (map != MAP_FAILED) {
      m_map = static_cast<const BYTE*>(map);
      ::close(m_fd);
      m_fd = -1;
    }
  }
  m_open = true;
  m_position = 0;
  m_path = path;
  return TRUE;
}

bool CFile::ReadWhole() {
  AfxAllocating([&] { m_copy.resize(m_length); });
  size_t done = 0;
  while (done < m_length) {
    const ssize_t got = ::pread(m_fd, m_copy.data() + done, m_length - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      m_copy.clear();
      return false;
    }
    if (got == 0) break;  // the file shrank since it was measured
    done += static_cast<size_t>(got);
  }
  m_copy.resize(done);
  m_length = static_cast<DWORD>(done);
  m_map = m_copy.data();
  m_copied = true;
  ::close(m_fd);
  m_fd = -1;
  return true;
}

void CFile::Close() {
  if (m_map && !m_copied) ::munmap(const_cast<BYTE*>(m_map), m_length);
  m_copy.clear();
  m_copied = false;
  if (m_fd >= 0) ::close(m_fd);
  m_map = nullptr;
  m_fd = -1;
  m_open = false;
  m_length = 0;
  m_position = 0;
  m_window.clear();
  m_windowStart = 0;
}

UINT CFile::ReadSlow(void* buffer, UINT count) {
  if (!m_open) AfxThrowFileException(CFileException::invalidFile, EBADF, m_path);
  if (count == 0 || m_position >= m_length) return 0;
  const UINT available = static_cast<UINT>(m_length - m_position);
  const UINT wanted = count < available ? count : available;
  auto* out = static_cast<BYTE*>(buffer);
  if (m_map == nullptr) return ReadBuffered(out, wanted);
  std::memcpy(out, m_map + m_position, wanted);
  m_position += wanted;
  return wanted;
}

UINT CFile::ReadBuffered(BYTE* out, UINT count) {
  UINT done = 0;
  while (done < count) {
    const std::int64_t offset = m_position - m_windowStart;
    if (offset < 0 || offset >= static_cast<std::int64_t>(m_window.size())) {
      Fill(m_position);
      if (m_window.empty()) break;  // the file shrank underneath us
      continue;
    }
    const size_t inWindow = m_window.size() - static_cast<size_t>(offset);
    const size_t step = inWindow < count - done ? inWindow : count - done;
    std::memcpy(out + done, m_window.data() + offset, step);
    done += static_cast<UINT>(step);
    m_position += static_cast<std::int64_t>(step);
  }
  return done;
}

void CFile::Fill(std::int64_t position) {
  m_window.resize(kWindowSize);
  ssize_t got;
  do {
    got = ::pread(m_fd, m_window.data(), kWindowSize, position);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    const int osError = errno;
    m_window.clear();
    AfxThrowFileException(CFileException::OsErrorToException(osError), osError, m_path);
  }
  m_window.resize(static_cast<size_t>(got));
  m_windowStart = position;
}

LONG CFile::Seek(LONG offset, UINT from) {
  if (!m_open) AfxThrowFileException(CFileException::invalidFile, EBADF, m_path);
  std::int64_t base = 0;
  if (from == current) base = m_position;
  else if (from == end) base = m_length;
  else if (from != begin) AfxThrowFileException(CFileException::badSeek, EINVAL, m_path);
  const std::int64_t target = base + offset;
  if (target < 0 || target > std::numeric_limits<LONG>::max()) {
    AfxThrowFileException(CFileException::badSeek, EINVAL, m_path);
  }
  m_position = target;
  return static_cast<LONG>(target);
}
