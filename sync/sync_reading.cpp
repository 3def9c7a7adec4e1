#include "sync/sync_reading.h"

#include <algorithm>
#include <cstring>

#include "files/record_buffer.h"
#include "platform/exceptions.h"

namespace orva {

WORD ReadSyncHeaderRecord(cFileBase& file, LONG position, void* header, std::size_t size) {
  const WORD length = file.GetRecordSize(position);
  RecordBuffer record;
  file.GetVariableRecord(position, record.Receive());
  if (length < kMinSyncHeaderLength) AfxThrowFileException(CFileException::generic);
  std::memset(header, 0, size);
  std::memcpy(header, record.Data(), std::min<std::size_t>(length, size));
  return length;
}

void SeekChecked(cFileBase& file, long long position, UINT count) {
  const long long length = file.GetFileLength();
  if (position < 0 || position > length || length - position < count) {
    AfxThrowFileException(CFileException::endOfFile);
  }
  file.Seek(static_cast<LONG>(position), CFile::begin);
}

void ReadChecked(cFileBase& file, long long position, void* buffer, UINT count) {
  SeekChecked(file, position, count);
  file.Read(buffer, count);
}

}  // namespace orva
