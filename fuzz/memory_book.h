// MemoryBook: the files of one book held in anonymous memory files and reached
// through a folder of links, one per fixed file name. A harness hands each input to
// the readers by replacing a file's bytes in memory: no file is written to disk or
// created per input, and a book object opens the files by their usual paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace orva::fuzz {

class MemoryBook {
 public:
  // Creates the folder and an empty memory file behind each of the nine file names
  // of a book. Aborts the process when the system refuses (a harness cannot run).
  MemoryBook();
  ~MemoryBook();
  MemoryBook(const MemoryBook&) = delete;
  MemoryBook& operator=(const MemoryBook&) = delete;

  // The folder, ending in '/': the form of a book object's path members.
  const std::string& Path() const { return m_path; }
  // Replaces the contents of file `name` ("book.dat", "sections.idx", ...) with
  // the `size` bytes of `data`, followed by zero bytes up to `length` when that is
  // larger.
  void Set(const std::string& name, const std::uint8_t* data, std::size_t size, std::size_t length = 0);
  void Set(const std::string& name, const std::string& bytes) {
    Set(name, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  // Empties every file.
  void Clear();

 private:
  std::string m_path;
  struct File {
    int fd = -1;
    std::size_t size = 0;
  };
  std::map<std::string, File> m_files;
};

// The process-wide book of a harness, created at its first use.
MemoryBook& HarnessBook();

}  // namespace orva::fuzz
