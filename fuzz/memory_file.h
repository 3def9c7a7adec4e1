// MemoryFile: one file held in an anonymous memory file and reached by a path, so
// that a harness hands each input to a reader that opens files by name without
// writing to disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orva::fuzz {

class MemoryFile {
 public:
  // Creates the empty file. Aborts the process when the system refuses (a harness
  // cannot run).
  MemoryFile();
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // A path that opens the file anew ("/proc/self/fd/N"), at its first byte.
  const std::string& Path() const { return m_path; }
  // Replaces the contents with the `size` bytes of `data`.
  void Set(const std::uint8_t* data, std::size_t size);

 private:
  int m_fd = -1;
  std::string m_path;
};

}  // namespace orva::fuzz
