#include "writer/book_dir.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "orvada/book_base.h"
#include "writer/concord_writer.h"
#include "writer/sections_writer.h"
#include "writer/text_writer.h"
#include "writer/sync_writer.h"
#include "writer/vsync_writer.h"
#include "writer/verses_writer.h"

namespace orva::writer {

TempBookDir::TempBookDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvabook-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) {
    throw std::runtime_error(std::string("cannot create a temporary book folder: ") + std::strerror(errno));
  }
  m_path = std::string(buffer.data()) + "/";
}

TempBookDir::~TempBookDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

void TempBookDir::WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  WriteBookFile(m_path, name, bytes);
}

void WriteBookFile(const std::string& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  std::ofstream out(folder + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + folder + name);
}

void TempBookDir::RemoveFile(const std::string& name) const { std::filesystem::remove(FilePath(name)); }

std::string TempBookDir::SubDir(const std::string& name) const {
  std::filesystem::create_directories(m_path + name);
  return m_path + name + "/";
}

void WriteSkeletonBook(const std::string& folder, const VersionFields& version) {
  WriteTextBook(folder, SampleTextBook(version));
  SyncDescription sync;
  sync.version = version;
  for (std::uint32_t bit : {ORVA_WSYNC, ORVA_SSYNC, ORVA_DSYNC}) {
    WriteBookFile(folder, FileNameOfBit(bit), EncodeSyncIndex(sync));
  }
  VerseSyncDescription verseSync;
  verseSync.version = version;
  WriteBookFile(folder, "vsync.idx", EncodeVerseSyncIndex(verseSync));
  SectionsDescription sections;
  sections.version = version;
  WriteBookFile(folder, "sections.idx", EncodeSectionsIndex(sections));
  ConcordDescription concord;
  concord.version = version;
  WriteBookFile(folder, "concord.idx", EncodeConcordIndex(concord));
  VersesDescription verses;
  verses.version = version;
  WriteBookFile(folder, "verses.idx", EncodeVersesIndex(verses));
}

}  // namespace orva::writer
