#include "writer/sync_writer.h"

#include <algorithm>
#include <stdexcept>

#include "orvada/lang_text.h"
#include "platform/winapi.h"

namespace orva::writer {

namespace {

constexpr size_t kMaxWord = 32767;

}  // namespace

std::vector<SyncWord> SortedSyncWords(std::vector<SyncWord> words) {
  std::stable_sort(words.begin(), words.end(), [](const SyncWord& a, const SyncWord& b) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a.word.c_str()),
                    reinterpret_cast<const unsigned char*>(b.word.c_str())) < 0;
  });
  return words;
}

std::string StoredSyncWord(const cLanguageString& text) {
  CString tagged;
  CStringArray alternatives;
  LangToTaggedStrings(text, tagged, alternatives);
  std::string word(tagged, static_cast<size_t>(tagged.GetLength()));
  int entry = 0;
  for (char& byte : word) {
    if (static_cast<unsigned char>(byte) == ORVA_AMBIGUOUS_PLACEHOLDER) byte = alternatives[entry++][0];
  }
  return word;
}

std::uint32_t SyncTableOffset(const SyncDescription& sync) {
  return static_cast<std::uint32_t>(std::max<std::uint16_t>(sync.version.length, 2)) +
         std::max<std::uint16_t>(sync.headerLength, 2);
}

std::vector<std::uint8_t> EncodeSyncIndex(const SyncDescription& sync) {
  const std::vector<SyncWord> words = sync.keepOrder ? sync.words : SortedSyncWords(sync.words);
  const auto count = static_cast<std::uint32_t>(words.size());

  ByteWriter out;
  WriteVersionRecord(out, sync.version);
  ByteWriter header;
  header.U16(sync.headerLength).U16(0).U32(sync.wordCount.value_or(count)).U16(sync.entrySize);
  out.Record(header, std::max<std::uint16_t>(sync.headerLength, 2));

  std::uint32_t wordAt = SyncTableOffset(sync) + count * sync.entrySize;
  ByteWriter entry;
  for (const SyncWord& w : words) {
    if (w.word.size() > kMaxWord) throw std::invalid_argument("a sync word is longer than 32767 bytes");
    entry.Clear().U32(w.syncKey).U32(w.wordOffset.value_or(wordAt));
    out.Record(entry, sync.entrySize);
    wordAt += 2 + static_cast<std::uint32_t>(w.word.size());
  }
  for (const SyncWord& w : words) {
    out.U16(static_cast<std::uint16_t>(w.wordLength.value_or(static_cast<std::int16_t>(w.word.size()))));
    out.Text(w.word);
  }
  return out.Take();
}

}  // namespace orva::writer
