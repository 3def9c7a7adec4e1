#include "sync/sync_reading.h"

#include "files/file_checks.h"

namespace orva {

WORD ReadSyncHeaderRecord(cFileBase& file, LONG position, void* header, std::size_t size) {
  const WORD length = ReadHeaderRecord(file, position, header, size);
  if (length < kMinSyncHeaderLength) ThrowDamaged();
  return length;
}

}  // namespace orva
