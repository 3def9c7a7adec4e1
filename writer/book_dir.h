// TempBookDir: a book directory in a fresh temporary folder, removed with the
// object. Tests, benchmarks and fuzzers write the files of a book into it and point
// a book object's paths at Path().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "book/book_folder.h"
#include "writer/version_record_writer.h"

namespace orva::writer {

class TempBookDir {
 public:
  // Creates the folder under $TMPDIR (or /tmp); throws std::runtime_error on failure.
  TempBookDir();
  ~TempBookDir();
  TempBookDir(const TempBookDir&) = delete;
  TempBookDir& operator=(const TempBookDir&) = delete;

  // The folder, ending in '/': the form of a book object's path members.
  const std::string& Path() const { return m_path; }
  std::string FilePath(const std::string& name) const { return m_path + name; }

  void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  void RemoveFile(const std::string& name) const;
  // A subfolder (created when missing), ending in '/'.
  std::string SubDir(const std::string& name) const;

 private:
  std::string m_path;
};

// Writes `bytes` as the file `name` in `folder` (a path ending in '/'), creating the
// folder when missing; throws std::runtime_error on failure.
void WriteBookFile(const std::string& folder, const std::string& name, const std::vector<std::uint8_t>& bytes);

// Writes every file of a small book: its text is SampleTextBook (compressed), the
// concordance has its header and the language 1033 with no words, and the
// sections, verses and four sync indexes their headers with no entries.
void WriteSkeletonBook(const std::string& folder, const VersionFields& version);
inline void WriteSkeletonBook(const TempBookDir& dir, const VersionFields& version) {
  WriteSkeletonBook(dir.Path(), version);
}

// Points every path member of `book` at `path` (orva::PointBookAt), with the
// identifiers of `version`.
inline void PointBookAt(cORVABookBase& book, const std::string& path, const VersionFields& version,
                        const char* syncType = "word") {
  orva::PointBookAt(book, path, version.publisherID, version.bookID, syncType);
}

}  // namespace orva::writer
