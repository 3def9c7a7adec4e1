#include "query/book_access.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "book/book_folder.h"
#include "zalang/text_encoding.h"

namespace orva::query {

namespace {

constexpr DWORD kFileBits[] = {ORVA_TEXT,  ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                               ORVA_WSYNC, ORVA_VSYNC,    ORVA_SSYNC,    ORVA_DSYNC};

// Open's result codes for a file that is there but not right.
bool IsDamageCode(int result) {
  return result == ORVA_ERR_GENERIC || result == ORVA_ERR_END_OF_FILE || result == ORVA_ERR_ID_MISMATCH ||
         result == ORVA_ERR_VERSION || result == ORVA_ERR_HEADER;
}

std::string AsFolder(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

BookIdentity ReadBookIdentity(const std::string& dir) {
  struct stat info {};
  if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) throw BookError(dir + ": no such book folder");
  const std::string folder = AsFolder(dir);
  BookIdentity identity;
  for (DWORD bit : {ORVA_VSYNC, ORVA_WSYNC, ORVA_SSYNC, ORVA_DSYNC}) {
    if (IsFile(folder + orva::FileNameOfBit(bit))) {
      identity.syncType = orva::SyncTypeOfBit(bit);
      break;
    }
  }
  for (DWORD bit : kFileBits) {
    const std::string path = folder + orva::FileNameOfBit(bit);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) continue;
    unsigned char bytes[sizeof(sVersionRecord)];
    if (std::fread(bytes, 1, sizeof bytes, file.get()) != sizeof bytes) {
      throw BookDamaged(path + ": too short for a version record");
    }
    sVersionRecord record;
    std::memcpy(&record, bytes, sizeof record);
    identity.publisherID = record.wPublisherID;
    identity.bookID = record.wBookID;
    return identity;
  }
  throw BookError(dir + ": no book files in this folder");
}

void PointBookAt(cORVABookBase& book, const std::string& dir) {
  const BookIdentity identity = ReadBookIdentity(dir);
  orva::PointBookAt(book, AsFolder(dir), identity.publisherID, identity.bookID, identity.syncType.c_str());
}

std::string DescribeAndDelete(CException* e) {
  cORVABookBase messages;
  const auto* file = dynamic_cast<CFileException*>(e);
  const int cause = file ? file->m_cause : ORVA_ERR_GENERIC;
  std::string text = dynamic_cast<CMemoryException*>(e) ? std::string("out of memory")
                                                          : static_cast<const char*>(messages.GetErrorString(cause));
  e->Delete();
  return text;
}

void OpenParts(cORVABookBase& book, DWORD bits) {
  for (DWORD bit : kFileBits) {
    if (!(bits & bit) || book.IsOpen(bit)) continue;
    const char* name = orva::FileNameOfBit(bit);
    int result;
    try {
      result = book.Open(bit);
    } catch (CException* e) {
      const auto* file = dynamic_cast<CFileException*>(e);
      const bool damaged =
          file != nullptr && (file->m_cause == CFileException::generic || file->m_cause == CFileException::endOfFile);
      const std::string message = std::string(name) + ": " + DescribeAndDelete(e);
      if (damaged) throw BookDamaged(message);
      throw BookError(message);
    }
    if (result != 0) {
      const std::string message = std::string(name) + ": " + static_cast<const char*>(book.GetErrorString(result));
      if (IsDamageCode(result)) throw BookDamaged(message);
      throw BookError(message);
    }
    if (!book.IsOpen(bit)) throw BookError(std::string(name) + ": not part of this book");
  }
}

unsigned short BookLanguage(cORVABookBase& book) {
  const CString data = book.GetHeaderControlWordData("LANG");
  char* end = nullptr;
  const long id = std::strtol(data, &end, 10);
  if (data.IsEmpty() || *end != '\0' || id <= 0 || id > 0xFFFF) return 1033;
  return static_cast<unsigned short>(id);
}

std::string ToUtf8(const char* text, size_t length, unsigned short language) {
  const std::string bytes(text, length);
  if (bytes.find(ORVA_LANGUAGE_TAG_START) == std::string::npos) {
    return zalang::Utf16ToUtf8(zalang::ComposeText(zalang::DecodeFromLanguage(bytes, language)));
  }
  // Tagged text: it begins in `language`, which TaggedStringToLang takes for
  // English unless a tag says otherwise.
  std::string tagged;
  if (const cLanguageDatum* datum = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(language)) {
    if (language != cLanguageString::kDefaultLanguage) {
      tagged += static_cast<char>(ORVA_LANGUAGE_TAG_START);
      for (const unsigned short* c = datum->GetName(); *c != 0; ++c) tagged += static_cast<char>(*c);
      tagged += static_cast<char>(ORVA_LANGUAGE_TAG_END);
    }
  }
  tagged += bytes;
  const cLanguageString chars = TaggedStringToLang(tagged.c_str());
  const unsigned short* wide = chars.GetString();
  return zalang::Utf16ToUtf8(zalang::ComposeText(std::u16string(wide, wide + chars.GetLength())));
}

}  // namespace orva::query

namespace orva::query {

std::string ToUtf8(const cLanguageString& text) {
  const unsigned short* chars = text.GetString();
  return zalang::Utf16ToUtf8(std::u16string(chars, chars + text.GetLength()));
}

}  // namespace orva::query

namespace orva::query {

unsigned short ConcordanceLanguage(cORVABookBase& book) {
  CArray<unsigned short, unsigned short&> languages;
  if (book.ListLanguages(languages) != 0 || languages.GetSize() == 0) return 1033;
  return languages[0];
}

}  // namespace orva::query
