#include "writer/text_writer.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <thread>

#include "text/codec_stream.h"
#include "text/lzss_codec.h"
#include "writer/book_dir.h"
#include "writer/byte_writer.h"
#include "writer/lzss_parse.h"

namespace orva::writer {

std::vector<std::uint8_t> LzssCompress(const std::uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFFu / 2) throw std::length_error("LzssCompress: input too large");
  // The longest stream: one flag byte per eight literals.
  std::vector<std::uint8_t> out(size + size / 8 + 1);
  cMemoryReadStream in;
  in.m_pBuffer = const_cast<std::uint8_t*>(data);
  in.m_dwSize = static_cast<DWORD>(size);
  cMemoryWriteStream sink;
  sink.m_pBuffer = out.data();
  sink.m_dwSize = static_cast<DWORD>(out.size());
  cLzssCodec codec;
  codec.Encode(&in, &sink);
  out.resize(sink.m_dwPosition);
  return out;
}

std::string ControlWord(const std::string& name, const std::string& data) { return "{\\" + name + ":" + data + "}"; }

const std::vector<std::string>& StandardControlWords() {
  static const std::vector<std::string> words = {"TITLE", "ABBREV", "LANG", "EDITION", "COPYRIGHT", "SYNCTYPE"};
  return words;
}

namespace {

// The LZSS streams of `blocks`. A large text is compressed on a few threads, each
// taking every n-th block: the encoder is most of the time a whole Bible takes to
// build.
std::vector<std::vector<std::uint8_t>> CompressBlocks(const std::vector<std::string>& blocks, bool smaller) {
  std::vector<std::vector<std::uint8_t>> streams(blocks.size());
  size_t total = 0;
  for (const std::string& block : blocks) total += block.size();
  const unsigned threads = total < (1u << 20) ? 1 : std::min(4u, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::exception_ptr> failures(threads);
  const auto work = [&](unsigned first) {
    try {
      for (size_t i = first; i < blocks.size(); i += threads) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(blocks[i].data());
        streams[i] = smaller ? LzssCompressSmaller(bytes, blocks[i].size()) : LzssCompress(bytes, blocks[i].size());
      }
    } catch (...) {
      failures[first] = std::current_exception();
    }
  };
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(work, t);
  work(0);
  for (std::thread& helper : helpers) helper.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  return streams;
}

}  // namespace

EncodedTextData EncodeTextData(const TextDataDescription& text) {
  std::vector<std::vector<std::uint8_t>> streams;
  if (text.compressed) streams = CompressBlocks(text.blocks, text.smaller);
  ByteWriter out;
  WriteVersionRecord(out, text.version);
  out.U32(static_cast<std::uint32_t>(text.headerText.size())).Text(text.headerText);
  EncodedTextData encoded;
  for (size_t i = 0; i < text.blocks.size(); ++i) {
    const std::string& block = text.blocks[i];
    sViewableRec descriptor{};
    descriptor.dwOffset = static_cast<DWORD>(out.Size());
    descriptor.dwTextSize = static_cast<DWORD>(block.size());
    if (text.compressed) {
      const std::vector<std::uint8_t>& stored = streams[i];
      descriptor.dwStoredSize = static_cast<DWORD>(stored.size());
      out.Bytes(stored);
    } else {
      out.Text(block);
    }
    encoded.descriptors.push_back(descriptor);
  }
  encoded.bytes = out.Take();
  return encoded;
}

std::vector<std::uint8_t> EncodeViewableIndex(const ViewableDescription& index) {
  ByteWriter out;
  WriteVersionRecord(out, index.version);
  const auto count = static_cast<std::uint32_t>(index.descriptors.size());
  ByteWriter header;
  header.U16(index.headerLength).U32(index.areaCount.value_or(count - index.blockCount)).U32(index.blockCount);
  header.U8(index.compression).U8(0).U16(index.recordSize).U16(0);
  out.Record(header, std::max<size_t>(index.headerLength, 2));
  ByteWriter record;
  for (const sViewableRec& descriptor : index.descriptors) {
    record.Clear().U32(descriptor.dwOffset).U32(descriptor.dwTextSize).U32(descriptor.dwStoredSize);
    out.Record(record, index.recordSize);
  }
  return out.Take();
}

void WriteTextBook(const std::string& folder, const TextBook& book) {
  TextDataDescription text;
  text.version = book.version;
  text.headerText = book.headerText;
  text.blocks = book.blocks;
  text.compressed = book.compressed;
  EncodedTextData data = EncodeTextData(text);
  ViewableDescription index;
  index.version = book.version;
  index.descriptors = std::move(data.descriptors);
  index.blockCount = book.blockCount;
  index.compression = book.compressed ? 1 : 0;
  WriteBookFile(folder, "book.dat", data.bytes);
  WriteBookFile(folder, "viewable.idx", EncodeViewableIndex(index));
}

TextBook SampleTextBook(const VersionFields& version, bool compressed) {
  TextBook book;
  book.version = version;
  book.compressed = compressed;
  book.headerText = ControlWord("TITLE", "A Sample Book") + ControlWord("ABBREV", "SMP") +
                    ControlWord("LANG", "en") + ControlWord("EDITION", "1") +
                    ControlWord("COPYRIGHT", "Written for the ORVADA tests; free to copy.");
  book.blocks = {
      "<style>verse numbers in bold</style>\n",
      "Chapter 1\n"
      "1 In the morning the traveller rose and went down to the river.\n"
      "2 The river was wide, and the water was cold, and the traveller was afraid.\n"
      "3 And a voice said: Go over the river, for the land on the other side is good.\n",
      "Chapter 2\n"
      "1 So the traveller went over the river, and the water was cold, but the land was good.\n"
      "2 And the traveller built a house by the river and lived there many years.\n",
      "Note: the traveller stands for every reader who goes on.\n",
  };
  book.blockCount = 1;
  return book;
}

}  // namespace orva::writer
