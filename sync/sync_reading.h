// The header record of the sync file objects, which the formats require to hold at
// least their first five fields.
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

}  // namespace orva
