#include "fuzz/memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orva::fuzz {

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "MemoryFile: %s: %s\n", what, std::strerror(errno));
  std::abort();
}

}  // namespace

MemoryFile::MemoryFile() : m_fd(::memfd_create("input", MFD_CLOEXEC)) {
  if (m_fd < 0) Fail("memfd_create");
  m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

MemoryFile::~MemoryFile() { ::close(m_fd); }

void MemoryFile::Set(const std::uint8_t* data, std::size_t size) {
  if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) Fail("ftruncate");
  std::size_t done = 0;
  while (done < size) {
    const ssize_t wrote = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) Fail("pwrite");
    done += static_cast<std::size_t>(wrote);
  }
}

}  // namespace orva::fuzz
