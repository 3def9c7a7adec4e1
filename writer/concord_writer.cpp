#include "writer/concord_writer.h"

namespace orva::writer {

std::vector<std::uint8_t> EncodeConcordIndex(const ConcordDescription& concord) {
  ByteWriter out;
  WriteVersionRecord(out, concord.version);
  out.U16(8).U16(static_cast<std::uint16_t>(concord.languages.size())).U16(concord.languageRecSize);
  out.U8(concord.coded ? 1 : 0).U8(0);
  if (concord.coded) out.U32(concord.keyRange);
  for (const ConcordLanguage& language : concord.languages) {
    ByteWriter record;
    record.U16(language.id).U32(language.wordCount).U32(language.wordTableOffset);
    record.U16(language.wordRecSize).U16(language.positionRange).U16(0);
    std::vector<std::uint8_t> bytes = record.Take();
    bytes.resize(concord.languageRecSize, 0);
    out.Bytes(bytes);
  }
  return out.Take();
}

}  // namespace orva::writer
