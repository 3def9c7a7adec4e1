#include "writer/version_record_writer.h"

#include <algorithm>

namespace orva::writer {

void WriteVersionRecord(ByteWriter& out, const VersionFields& fields) {
  ByteWriter record;
  record.U16(fields.length).U16(fields.publisherID).U16(fields.bookID);
  record.Bytes(fields.reserved1, sizeof fields.reserved1);
  record.U8(fields.lcsMajor).U8(fields.lcsMinor);
  record.Bytes(fields.reserved2, sizeof fields.reserved2);
  out.Record(record, std::max<size_t>(fields.length, 2));
}

std::vector<std::uint8_t> EncodeVersionRecord(const VersionFields& fields) {
  ByteWriter out;
  WriteVersionRecord(out, fields);
  return out.Take();
}

}  // namespace orva::writer
