// Reading helpers shared by the sync file objects: the header record that follows
// the version record, and positioned reads checked against the file's length.
#pragma once

#include <cstddef>

#include "orvada/file_base.h"
#include "platform/types.h"

namespace orva {

// The shortest header record the sync formats allow: up to and including their
// fifth 16-bit field (the entry size, or the verse entry size).
constexpr WORD kMinSyncHeaderLength = 10;

// Reads the variable record at `position` (the header that follows the version
// record) and copies its first min(H, size) bytes over `header`, which is zeroed
// first. Returns H, the record's length. Raises CFileException* with cause
// endOfFile when the record runs past the end of the file, and with cause generic
// when H is below kMinSyncHeaderLength.
WORD ReadSyncHeaderRecord(cFileBase& file, LONG position, void* header, std::size_t size);

// Reads `count` bytes at `position` into `buffer`. Raises CFileException* with cause
// endOfFile, before moving the file position, when they do not all lie inside the
// file (a negative position included).
void ReadChecked(cFileBase& file, long long position, void* buffer, UINT count);

// Positions `file` at `position` after checking that `count` bytes follow it;
// raises endOfFile otherwise.
void SeekChecked(cFileBase& file, long long position, UINT count);

}  // namespace orva
