// WriteBookDirectory: a book directory replaced whole or not at all.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "book/book_folder.h"
#include "orvada/book_base.h"
#include "writer/book_builder.h"

namespace orva::writer {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSiblingKinds[] = {".new-", ".old-"};
constexpr size_t kUniqueLength = 6;  // the XXXXXX that mkdtemp replaces

bool IsBookFileName(const std::string& name) {
  for (DWORD bit = ORVA_TEXT; bit <= ORVA_DSYNC; bit <<= 1) {
    if (name == FileNameOfBit(bit)) return true;
  }
  return false;
}

// An exclusive lock on a folder, held while the object lives. A build holds one on
// each folder it makes beside the book, so that another build can tell a folder
// in use from the leftover of a build that was killed (the lock ends with its
// process).
class FolderLock {
 public:
  FolderLock() = default;
  explicit FolderLock(const fs::path& folder, bool wait = true)
      : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)) {
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) Release();
  }
  ~FolderLock() { Release(); }
  FolderLock(FolderLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
  FolderLock& operator=(FolderLock&& other) noexcept {
    std::swap(m_fd, other.m_fd);
    return *this;
  }
  bool Held() const { return m_fd >= 0; }

 private:
  void Release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }
  int m_fd = -1;
};

// A new, empty folder named after `target` in its parent folder, locked.
struct Sibling {
  fs::path path;
  FolderLock lock;
};

Sibling MakeSibling(const fs::path& target, const char* kind) {
  std::string pattern = target.string() + kind + std::string(kUniqueLength, 'X');
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a folder beside " + target.string() + ": " + std::strerror(errno));
  }
  // mkdtemp makes the folder private; a book folder gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(pattern.c_str(), 0777 & ~mask);
  return {pattern, FolderLock(pattern)};
}

// Whether `entry` is a folder that a build of `target` made and left: named as
// MakeSibling names them, holding nothing but book files, and locked by no build.
bool IsLeftover(const fs::directory_entry& entry, const std::string& target) {
  const std::string name = entry.path().filename().string();
  bool named = false;
  for (const char* kind : kSiblingKinds) {
    const std::string stem = target + kind;
    named = named || (name.size() == stem.size() + kUniqueLength && name.compare(0, stem.size(), stem) == 0 &&
                      std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                                  [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }));
  }
  std::error_code error;
  if (!named || !entry.is_directory(error) || entry.is_symlink(error)) return false;
  for (const fs::directory_entry& file : fs::directory_iterator(entry.path(), error)) {
    if (!file.is_regular_file(error) || file.is_symlink(error) || !IsBookFileName(file.path().filename().string())) {
      return false;
    }
  }
  return !error && FolderLock(entry.path(), false).Held();
}

// Removes what builds of `target` that were killed part-way left beside it.
void ClearLeftovers(const fs::path& target) {
  const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string name = target.filename().string();
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(parent, error)) {
    if (IsLeftover(entry, name)) fs::remove_all(entry.path(), error);
  }
}

void CheckReplaceable(const fs::path& target) {
  if (!fs::is_directory(target)) throw std::runtime_error(target.string() + " exists and is not a folder");
  for (const fs::directory_entry& entry : fs::directory_iterator(target)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || !IsBookFileName(name)) {
      throw std::runtime_error(target.string() + " holds " + name +
                               ", which is not a book file: it is not replaced");
    }
  }
}

void WriteFiles(const fs::path& folder, const std::vector<BookFile>& files) {
  for (const BookFile& file : files) {
    const fs::path path = folder / file.name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace

void WriteBookDirectory(const std::string& dir, const std::vector<BookFile>& files) {
  fs::path target = fs::path(dir).lexically_normal();
  if (target.has_filename() == false) target = target.parent_path();
  if (target.empty()) throw std::runtime_error("no book folder given");
  const bool replacing = fs::exists(target);
  if (replacing) CheckReplaceable(target);
  std::error_code missing;  // the folders above it, as for a book of a new library; MakeSibling says what failed
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), missing);
  ClearLeftovers(target);

  const Sibling fresh = MakeSibling(target, ".new-");
  std::error_code ignored;
  try {
    WriteFiles(fresh.path, files);
    if (!replacing) {
      fs::rename(fresh.path, target);
      return;
    }
    // rename() puts a folder in place of an empty one only: the old book moves
    // aside into an empty sibling first and is removed once the new one stands.
    Sibling old = MakeSibling(target, ".old-");
    try {
      fs::rename(target, old.path);
    } catch (...) {
      fs::remove(old.path, ignored);
      throw;
    }
    old.lock = FolderLock(old.path);  // the old book now stands where the empty folder was
    try {
      fs::rename(fresh.path, target);
    } catch (...) {
      fs::rename(old.path, target, ignored);
      throw;
    }
    fs::remove_all(old.path, ignored);
  } catch (const fs::filesystem_error& e) {
    fs::remove_all(fresh.path, ignored);
    throw std::runtime_error(e.what());
  } catch (...) {
    fs::remove_all(fresh.path, ignored);
    throw;
  }
}

}  // namespace orva::writer
