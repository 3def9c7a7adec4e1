// Any bytes as "concord.idx", opened through a book object and read through every
// concordance member: languages, word counts, the word walk from both ends, nearest
// and exact searches, and the keys, record and positions of a few words. The book
// takes its ids from the file's version record and a client version that accepts
// any format, so that inputs reach the header.
#include <cstddef>
#include <cstdint>

#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "orvada.h"
#include "writer/book_dir.h"

namespace {

using orva::fuzz::Try;

constexpr size_t kMaxInput = 1 << 16;
constexpr int kMaxLanguages = 3;

// The keys, the record and a few position lists of word `word`.
void ReadWord(cORVABookBase& book, int word) {
  Try([&] {
    sWordListRec record{};
    book.GetWordListRecord(word, record);
    CUIntArray keys;
    if (book.GetKeysForWord(word, keys) < 0 || keys.GetSize() == 0) return;
    CWordArray positions;
    const int n = keys.GetSize();
    for (int i : {0, n / 2, n - 1}) book.GetWordPositionList(word, static_cast<int>(keys[i]), positions);
    book.GetWordPositionList(word, static_cast<int>(keys[n - 1] + 1), positions);
  });
}

void ReadLanguage(cORVABookBase& book, unsigned short lang) {
  cLanguageString word, found;
  int last = -1;
  Try([&] {
    book.WordCount(lang);
    if (book.GetFirstWord(lang, word) >= 0) book.GetNextWord(word);
  });
  Try([&] {
    last = book.GetLastWord(lang, word);
    if (last < 0) return;
    book.GetPrevWord(word);
    cLanguageString search = word;
    book.FindNearestMatchingWord(search, found);
    book.GetNextWord(found);
    CUIntArray keys;
    book.GetKeysForWord(search, keys);
  });
  Try([&] {
    const unsigned short m[] = {'m', 0};
    cLanguageString middle(m, lang);
    if (book.FindExactMatchingWord(middle) < 0) book.FindNearestMatchingWord(middle, found);
  });
  if (last < 0) return;
  for (int key : {0, last / 2, last}) ReadWord(book, key);
  Try([&] {
    CArray<cLanguageString, cLanguageString&> words;
    book.GetWordlistAtKey(last - 1, 3, words);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  cORVABookBase book;
  orva::fuzz::PrepareBook(book, "concord.idx", data, size);
  Try([&] {
    if (book.Open(ORVA_CONCORD) != 0) return;
    CArray<unsigned short, unsigned short&> languages;
    book.ListLanguages(languages);
    for (int i = 0; i < languages.GetSize() && i < kMaxLanguages; ++i) ReadLanguage(book, languages[i]);
    book.SelectCurrentLanguage(1036, nullptr);
  });
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
