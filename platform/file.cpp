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
    m_length = 0;
    m_window.clear();
    return FALSE;
  };
  if (path == nullptr || *path == '\0') return fail(ENOENT);
  m_path = path;  // before the descriptor exists: running out of memory leaks nothing
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
  m_position = 0;
  if (m_length > 0 && (flags & osBuffered) == 0) {
    if (m_length <= kWindowSize) {
      try {
        Fill(0, m_length);
      } catch (CFileException* e) {
        const LONG osError = e->m_lOsError;
        e->Delete();
        return fail(osError);
      } catch (CMemoryException*) {
        fail(ENOMEM);
        throw;
      }
      // A file that shrank since fstat is read through the window like a large one.
      if (m_window.size() == m_length) m_map = m_window.data();
    } else {
      void* map = ::mmap(nullptr, m_length, PROT_READ, MAP_PRIVATE, m_fd, 0);
      if (map != MAP_FAILED) {
        m_map = static_cast<const BYTE*>(map);
        m_mapped = true;
      }
    }
    if (m_map != nullptr) {
      ::close(m_fd);
      m_fd = -1;
    }
  }
  m_open = true;
  return TRUE;
}

void CFile::Close() {
  if (m_mapped) ::munmap(const_cast<BYTE*>(m_map), m_length);
  m_mapped = false;
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
      Fill(m_position, kWindowSize);
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

void CFile::Fill(std::int64_t position, size_t size) {
  AfxAllocating([&] { m_window.resize(size); });
  ssize_t got;
  do {
    got = ::pread(m_fd, m_window.data(), size, position);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    const int osError = errno;
    m_window.clear();
    AfxThrowFileException(CFileException::OsErrorToException(osError), osError, m_path);
  }
  m_window.resize(static_cast<size_t>(got));
  m_windowStart = position;
}

LONG CFile::SeekSlow(LONG offset, UINT from) {
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
