// Index files damaged to cost a reader much from little: many records that point
// at one long name or word, or into one long run of bytes. The tests and the
// benchmarks that show the readers staying within their bounds write them.
#pragma once

#include <cstdint>
#include <vector>

#include "writer/version_record_writer.h"

namespace orva::writer {

// sections.idx with `entries` sections that all name one name of `nameLength`
// bytes 'n'. Chained: entry k on level min(k, 255) has entry k-1 as its parent,
// so the path of key 255 is the longest a reader allows and from key 256 on a
// parent stands on its child's level. Otherwise they are top-level siblings.
std::vector<std::uint8_t> SharedNameSections(const VersionFields& version, int entries, int nameLength,
                                             bool chained);

// concord.idx with a language 1033 of `words` word records that all point at
// one word entry: `wordLength` (1 ... 32767) letters 'z'.
std::vector<std::uint8_t> SharedWordConcordance(const VersionFields& version, int words, int wordLength);

// What the words of WalkedSyncIndex are.
enum class WalkedWords {
  kShared,       // every entry points at one word "a'zz...z" (of `sharedLength` bytes)
  kOverlapping,  // each entry at another byte of runs of 'a': words "aa...a" of 24929 bytes
  kTagRuns,      // each entry at another tag of runs of language tags: words of about
                 // 15000 bytes that hold nothing else, so that they convert to nothing
};

// The key that WalkedSyncIndex is made for: "a" U+2019 "b" packaged, whose lowest
// and highest forms are "a'b" and "a\x92b".
const char* WalkedSyncKey();

// wsync.idx with `entries` (64 or more) entries whose words a look-up of
// WalkedSyncKey walks from the first entry to the last without a match: no word
// matches the key or sorts above its highest form, and the entries that the
// look-up's bisection reads hold words above its lowest form ("a'zz...z" where the
// others are not), so that the walk starts at the first entry.
std::vector<std::uint8_t> WalkedSyncIndex(const VersionFields& version, int entries, WalkedWords words,
                                          int sharedLength = 32767);

}  // namespace orva::writer
