// concord.idx: the header and the language table (word lists come later).
#pragma once

#include <cstdint>
#include <vector>

#include "writer/version_record_writer.h"

namespace orva::writer {

struct ConcordLanguage {
  std::uint16_t id = 1033;
  std::uint32_t wordCount = 0;
  std::uint32_t wordTableOffset = 0;
  std::uint16_t wordRecSize = 18;
  std::uint16_t positionRange = 0;
};

struct ConcordDescription {
  VersionFields version;
  bool coded = false;
  std::uint32_t keyRange = 0;         // written only with coded lists
  std::uint16_t languageRecSize = 16; // LR; records are padded or cut to it
  std::vector<ConcordLanguage> languages = std::vector<ConcordLanguage>(1);  // 1033, no words
};

std::vector<std::uint8_t> EncodeConcordIndex(const ConcordDescription& concord);

}  // namespace orva::writer
