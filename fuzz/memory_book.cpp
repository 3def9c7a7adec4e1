#include "fuzz/memory_book.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace orva::fuzz {

namespace {

constexpr const char* kFileNames[] = {"book.dat",  "viewable.idx", "sections.idx", "concord.idx", "verses.idx",
                                      "wsync.idx", "vsync.idx",    "ssync.idx",    "dsync.idx"};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "MemoryBook: %s: %s\n", what, std::strerror(errno));
  std::abort();
}

}  // namespace

MemoryBook::MemoryBook() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvamem-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) Fail("mkdtemp");
  m_path = std::string(buffer.data()) + "/";
  for (const char* name : kFileNames) {
    const int fd = ::memfd_create(name, MFD_CLOEXEC);
    if (fd < 0) Fail("memfd_create");
    const std::string target = "/proc/self/fd/" + std::to_string(fd);
    if (::symlink(target.c_str(), (m_path + name).c_str()) != 0) Fail("symlink");
    m_files[name].fd = fd;
  }
}

MemoryBook::~MemoryBook() {
  for (const auto& file : m_files) ::close(file.second.fd);
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

void MemoryBook::Set(const std::string& name, const std::uint8_t* data, std::size_t size, std::size_t length) {
  const auto found = m_files.find(name);
  if (found == m_files.end()) {
    std::fprintf(stderr, "MemoryBook: no file %s\n", name.c_str());
    std::abort();
  }
  const int fd = found->second.fd;
  length = std::max(length, size);
  if (::ftruncate(fd, static_cast<off_t>(length)) != 0) Fail("ftruncate");
  found->second.size = length;
  size_t done = 0;
  while (done < size) {
    const ssize_t wrote = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) Fail("pwrite");
    done += static_cast<size_t>(wrote);
  }
}

void MemoryBook::Clear() {
  for (auto& file : m_files) {
    if (file.second.size == 0) continue;
    if (::ftruncate(file.second.fd, 0) != 0) Fail("ftruncate");
    file.second.size = 0;
  }
}

MemoryBook& HarnessBook() {
  static MemoryBook book;
  return book;
}

}  // namespace orva::fuzz
