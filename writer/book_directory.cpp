// WriteBookDirectory: a book directory replaced whole or not at all.
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include "writer/book_builder.h"

namespace orva::writer {

namespace fs = std::filesystem;

namespace {

const std::set<std::string>& BookFileNames() {
  static const std::set<std::string> names = {"book.dat",   "viewable.idx", "sections.idx",
                                              "concord.idx", "verses.idx",  "wsync.idx",
                                              "vsync.idx",  "ssync.idx",    "dsync.idx"};
  return names;
}

// A new, empty folder named after `target` in its parent folder.
fs::path MakeSibling(const fs::path& target, const char* what) {
  std::string pattern = target.string() + what + "-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a folder beside " + target.string() + ": " + std::strerror(errno));
  }
  // mkdtemp makes the folder private; a book folder gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(pattern.c_str(), 0777 & ~mask);
  return pattern;
}

void CheckReplaceable(const fs::path& target) {
  if (!fs::is_directory(target)) throw std::runtime_error(target.string() + " exists and is not a folder");
  for (const fs::directory_entry& entry : fs::directory_iterator(target)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || BookFileNames().count(name) == 0) {
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

  const fs::path fresh = MakeSibling(target, ".new");
  std::error_code ignored;
  try {
    WriteFiles(fresh, files);
    if (!replacing) {
      fs::rename(fresh, target);
      return;
    }
    // rename() puts a folder in place of an empty one only: the old book moves
    // aside into an empty sibling first and is removed once the new one stands.
    const fs::path old = MakeSibling(target, ".old");
    try {
      fs::rename(target, old);
    } catch (...) {
      fs::remove(old, ignored);
      throw;
    }
    try {
      fs::rename(fresh, target);
    } catch (...) {
      fs::rename(old, target, ignored);
      throw;
    }
    fs::remove_all(old, ignored);
  } catch (const fs::filesystem_error& e) {
    fs::remove_all(fresh, ignored);
    throw std::runtime_error(e.what());
  } catch (...) {
    fs::remove_all(fresh, ignored);
    throw;
  }
}

}  // namespace orva::writer
