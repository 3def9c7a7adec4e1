// The check of book.dat and viewable.idx: every descriptor's block lies in
// book.dat after the header text and apart from the other blocks, and reads and
// decodes to exactly its text size.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "text/codec_stream.h"
#include "text/lzss_codec.h"
#include "query/check_internal.h"

namespace orva::query::check {

namespace {

constexpr const char* kData = "book.dat";
constexpr const char* kIndex = "viewable.idx";
// No LZSS stream decodes to more than nine times its length (the library refuses
// blocks that claim more).
constexpr std::uint64_t kMostExpansion = 9;

// The end of book.dat's header text, where the blocks may begin (or where its
// length ends, when the text runs past the end of the file).
std::uint64_t HeaderEnd(Checker& c, const FileBytes& data) {
  const std::uint64_t at = data.VersionLength();
  if (!data.Has(at, 4) || !data.Has(at + 4, data.U32(at))) {
    c.faults.Add(kData, "header", "", "the header text runs past the end of the file");
    return at + 4;
  }
  return at + 4 + data.U32(at);
}

struct Block {
  int number = 0;
  sViewableRec d{};
  std::uint64_t stored = 0;  // the bytes it takes in book.dat
  bool overlaps = false;
};

// A stream that decodes to more bytes than its text size is cut by the library
// and goes unnoticed; decoding into one byte more tells.
void CheckDecodedSize(Checker& c, const FileBytes& data, const Block& b, cLzssCodec& codec, std::vector<char>& buffer) {
  buffer.resize(static_cast<size_t>(b.d.dwTextSize) + 1);
  cMemoryReadStream in;
  in.m_pBuffer = const_cast<BYTE*>(data.At(b.d.dwOffset));
  in.m_dwSize = static_cast<DWORD>(b.stored);
  cMemoryWriteStream out;
  out.m_pBuffer = reinterpret_cast<BYTE*>(buffer.data());
  out.m_dwSize = static_cast<DWORD>(buffer.size());
  codec.Decode(&in, &out);
  if (out.m_dwPosition > b.d.dwTextSize) {
    c.faults.Add(kData, "block", "block " + std::to_string(b.number),
                 "decodes to more than its text size of " + std::to_string(b.d.dwTextSize) + " bytes");
  }
}

// Reads block `block` through the library; a fault when it fails.
void ReadBlock(Checker& c, int block, const sViewableRec& d, bool compressed, std::vector<char>& buffer) {
  const std::string place = "block " + std::to_string(block);
  try {
    buffer.resize(d.dwTextSize);
    if (c.book.GetViewableBlock(block, buffer.data()) != 0) c.faults.Add(kData, "block", place, "cannot be read");
  } catch (CException* e) {
    const auto* file = dynamic_cast<CFileException*>(e);
    if (compressed && file && file->m_cause == CFileException::generic) {
      e->Delete();
      c.faults.Add(kData, "block", place,
                   "does not decode to its text size of " + std::to_string(d.dwTextSize) + " bytes");
    } else {
      c.faults.Add(kData, "block", place, "cannot be read: " + DescribeAndDelete(e));
    }
  }
}

}  // namespace

void CheckText(Checker& c) {
  if (!c.book.IsOpen(ORVA_TEXT | ORVA_VIEWABLE)) return;
  const FileBytes index(c.PathOf(ORVA_VIEWABLE));
  const FileBytes data(c.PathOf(ORVA_TEXT));
  const std::uint64_t headerAt = index.VersionLength();
  sViewableHeader header;
  if (!index.Loaded() || !data.Loaded() || !index.Has(headerAt, 2) ||
      !index.ReadRecord(headerAt, index.U16(headerAt), header)) {
    c.faults.Add(kIndex, "header", "", "the header record cannot be read");
    return;
  }
  const bool compressed = header.byCompression == 1;
  if (header.byCompression > 1) {
    c.faults.Add(kIndex, "header", "",
                 "compression type " + std::to_string(header.byCompression) + ": neither 0 (stored) nor 1 (LZSS)");
    return;
  }
  if (header.wRecordSize < sizeof(sViewableRec)) {
    c.faults.Add(kIndex, "header", "",
                 "descriptors of " + std::to_string(header.wRecordSize) + " bytes, fewer than the 12 of a descriptor");
    return;
  }
  const std::uint64_t table = headerAt + header.wRecordLength;
  std::uint64_t count = static_cast<std::uint64_t>(header.dwAreaCount) + header.dwBlockCount;
  const std::uint64_t fit = index.Has(table, 0) ? (index.Size() - table) / header.wRecordSize : 0;
  if (fit < count) {
    c.faults.Add(kIndex, "table", "",
                 "the table of " + std::to_string(count) + " descriptors runs past the end of the file");
    count = fit;
  }
  if (count == 0) {
    c.faults.Add(kIndex, "table", "", "no descriptor: the book has no preamble (block 0)");
    return;
  }

  const std::uint64_t headerEnd = HeaderEnd(c, data);
  std::vector<Block> blocks;
  for (std::uint64_t i = 0; i < count; ++i) {
    Block b;
    b.number = static_cast<int>(i);
    index.ReadRecord(table + i * header.wRecordSize, header.wRecordSize, b.d);
    b.stored = compressed ? b.d.dwStoredSize : b.d.dwTextSize;
    const std::string place = "block " + std::to_string(i);
    if (!data.Has(b.d.dwOffset, b.stored)) {
      c.faults.Add(kIndex, "descriptor", place,
                   "its " + std::to_string(b.stored) + " bytes at position " + std::to_string(b.d.dwOffset) +
                       " run past the end of book.dat");
    } else if (b.stored > 0 && b.d.dwOffset < headerEnd) {
      c.faults.Add(kIndex, "descriptor", place,
                   "it begins at position " + std::to_string(b.d.dwOffset) + ", inside book.dat's header");
    } else if (compressed && b.d.dwTextSize > kMostExpansion * b.stored) {
      c.faults.Add(kIndex, "descriptor", place,
                   std::to_string(b.d.dwTextSize) + " bytes of text cannot come from " + std::to_string(b.stored) +
                       " stored bytes");
    } else {
      blocks.push_back(b);
    }
  }
  // Blocks that overlap are not read: together the others take at most the
  // file, which bounds the decoding a damaged index can ask for.
  std::vector<Block*> byOffset;
  for (Block& b : blocks) {
    if (b.stored > 0) byOffset.push_back(&b);
  }
  std::sort(byOffset.begin(), byOffset.end(), [](const Block* a, const Block* b) {
    return a->d.dwOffset < b->d.dwOffset || (a->d.dwOffset == b->d.dwOffset && a->number < b->number);
  });
  const Block* last = nullptr;  // the last block kept: the others so far end before it does
  for (Block* b : byOffset) {
    if (last && b->d.dwOffset < last->d.dwOffset + last->stored) {
      b->overlaps = true;
      c.faults.Add(kIndex, "descriptor", "block " + std::to_string(b->number),
                   "its bytes overlap those of block " + std::to_string(last->number));
    } else {
      last = b;
    }
  }
  std::vector<char> buffer;
  const auto codec = std::make_unique<cLzssCodec>();
  for (const Block& b : blocks) {
    if (b.overlaps) continue;
    ReadBlock(c, b.number, b.d, compressed, buffer);
    if (compressed) CheckDecodedSize(c, data, b, *codec, buffer);
  }
  c.out.checked.push_back("book.dat, viewable.idx: " + std::to_string(count) + " text blocks, " +
                          (compressed ? "LZSS-compressed" : "stored"));
}

}  // namespace orva::query::check
