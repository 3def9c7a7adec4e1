// wsync.idx, ssync.idx and dsync.idx: the sync indexes of books whose sync type is
// "word", "strongs" or "date", one format for all three.
//
// File layout: version record, header (16 bytes unless told otherwise: length,
// 0, word count, entry size, six zero bytes), the entry table (sync key, word
// position, zero padding to the entry size), then the words (i16 length, bytes),
// in table order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "writer/version_record_writer.h"

class cLanguageString;

namespace orva::writer {

struct SyncWord {
  SyncWord() = default;
  SyncWord(std::string text, std::uint32_t key) : word(std::move(text)), syncKey(key) {}

  // Tagged text with a concrete byte for every character (see StoredSyncWord).
  std::string word;
  std::uint32_t syncKey = 0;

  // Damage for tests: raw values written instead of the computed ones.
  std::optional<std::uint32_t> wordOffset;  // in the entry
  std::optional<std::int16_t> wordLength;   // before the word; its bytes still follow
};

struct SyncDescription {
  VersionFields version;
  // Any order: the file holds them sorted (SortedSyncWords) unless keepOrder.
  std::vector<SyncWord> words;
  bool keepOrder = false;
  // Entries longer than 8 bytes are padded with zeros, shorter ones cut.
  std::uint16_t entrySize = 8;
  // H: a header shorter than 16 bytes is cut (never below its two length bytes),
  // a longer one padded with zeros.
  std::uint16_t headerLength = 16;

  // Damage for tests: written instead of the number of words.
  std::optional<std::uint32_t> wordCount;
};

// `words` in the order of the sync indexes: ascending by word as _mbsicmp
// compares (the order the look-ups bisect), equal words in their given order.
std::vector<SyncWord> SortedSyncWords(std::vector<SyncWord> words);

// The word as a sync index stores it: the tagged form of `text` with each
// placeholder replaced by the first byte of its alternatives entry, the form that
// an exact look-up of the text's packaged key finds.
std::string StoredSyncWord(const cLanguageString& text);

// The position of the entry table (version record + header).
std::uint32_t SyncTableOffset(const SyncDescription& sync);

// Throws std::invalid_argument for a word longer than 32767 bytes.
std::vector<std::uint8_t> EncodeSyncIndex(const SyncDescription& sync);

}  // namespace orva::writer
