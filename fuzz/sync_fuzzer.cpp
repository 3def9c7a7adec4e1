// Any bytes as a word, Strong's-number or date sync file, opened through a book
// object and read through every sync member, with a key taken from the input and
// the words the file itself holds. The book takes its ids from the file's version
// record and a client version that accepts any format, so that inputs reach the
// header. Input: one control byte, a key length k, k key bytes, then the file.
//   control % 3: the file (word, strongs, date)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "orvada.h"
#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "writer/book_dir.h"

namespace {

using orva::fuzz::Try;

constexpr size_t kMaxInput = 1 << 14;
constexpr DWORD kBits[] = {ORVA_WSYNC, ORVA_SSYNC, ORVA_DSYNC};

// The exact and partial look-ups of the book's sync type for `key`.
void LookUp(cORVABookBase& book, DWORD bit, const char* key) {
  CString word;
  Try([&] {
    if (bit == ORVA_WSYNC) {
      book.GetWSyncKey(key);
      book.GetWSyncKeyPartialMatch(key, word);
    } else if (bit == ORVA_SSYNC) {
      book.GetSSyncKey(key);
      book.GetSSyncKeyPartialMatch(key, word);
    } else {
      book.GetDSyncKey(key);
    }
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > kMaxInput) return 0;
  const DWORD bit = kBits[data[0] % 3];
  const size_t keyLength = std::min<size_t>(data[1], size - 2);
  const std::string key(reinterpret_cast<const char*>(data + 2), keyLength);
  const std::uint8_t* file = data + 2 + keyLength;
  const size_t fileSize = size - 2 - keyLength;
  cORVABookBase book;
  orva::fuzz::PrepareBook(book, orva::FileNameOfBit(bit), file, fileSize, orva::SyncTypeOfBit(bit));
  Try([&] {
    if (book.Open(bit) != 0) return;
    LookUp(book, bit, key.c_str());
    LookUp(book, bit, "");
    const int fileLength = book.GetSyncFileSize();
    std::vector<char> copy(static_cast<size_t>(fileLength));
    book.GetSyncFileData(copy.data());
    CString word;
    for (int index : {-1, 0, 1, 7, 100, 1000}) {
      if (book.GetSyncWordAt(index, word)) LookUp(book, bit, word);
    }
    if (bit == ORVA_WSYNC && keyLength >= 4) {
      const DWORD offset = static_cast<DWORD>(data[2] | data[3] << 8 | data[4] << 16 | data[5] << 24);
      Try([&] { book.GetSyncWordForPointer(offset % (static_cast<DWORD>(fileLength) + 4), word); });
    }
  });
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
