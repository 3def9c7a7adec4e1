// book.dat and viewable.idx: a book's header text and text blocks, stored or
// LZSS-compressed through the library's own encoder, and the index of the blocks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "orvada/text_records.h"
#include "writer/version_record_writer.h"

namespace orva::writer {

// The LZSS stream of `size` bytes at `data`, made by the library's encoder.
std::vector<std::uint8_t> LzssCompress(const std::uint8_t* data, size_t size);
inline std::vector<std::uint8_t> LzssCompress(const std::string& text) {
  return LzssCompress(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// "{\name:data}": a control word as the header text carries it.
std::string ControlWord(const std::string& name, const std::string& data);

// The control words that the books of this project carry, in the order orva info
// reports them.
const std::vector<std::string>& StandardControlWords();

// book.dat: the version record, the header text, then the blocks one after the
// other, each stored or compressed.
struct TextDataDescription {
  VersionFields version;
  std::string headerText;
  std::vector<std::string> blocks;  // block 0 is the preamble
  bool compressed = false;
  // Compressed by LzssCompressSmaller (writer/lzss_parse.h) rather than by the
  // library's encoder: what the book builder writes.
  bool smaller = false;
};

struct EncodedTextData {
  std::vector<std::uint8_t> bytes;
  std::vector<sViewableRec> descriptors;  // one per block: where it went, its sizes
};

EncodedTextData EncodeTextData(const TextDataDescription& text);

// viewable.idx, with any field value a test needs.
struct ViewableDescription {
  VersionFields version;
  std::vector<sViewableRec> descriptors;
  // The counts written in the header; by default all descriptors are areas (A)
  // and none are further blocks (B). They need not match the descriptors.
  std::optional<std::uint32_t> areaCount;
  std::uint32_t blockCount = 0;
  std::uint8_t compression = 0;   // 0 stored, 1 LZSS; any other value is written as is
  std::uint16_t recordSize = 12;  // R: each descriptor is padded with zeros or cut to it
  std::uint16_t headerLength = 16;  // H: the header record is padded with zeros or cut to it
};

std::vector<std::uint8_t> EncodeViewableIndex(const ViewableDescription& index);

// A whole text: the header text and the blocks, written as book.dat and a
// matching viewable.idx. The last `blockCount` blocks are further blocks (B),
// the others, the preamble first, are areas (A).
struct TextBook {
  VersionFields version;
  std::string headerText;
  std::vector<std::string> blocks;
  std::uint32_t blockCount = 0;
  bool compressed = false;
};

void WriteTextBook(const std::string& folder, const TextBook& book);

// A small text in English with the standard control words: a preamble, a few
// areas of verses and one further block.
TextBook SampleTextBook(const VersionFields& version, bool compressed = true);

}  // namespace orva::writer
