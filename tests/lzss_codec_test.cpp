// The LZSS codec: the format's own byte examples, the two decoders (memory streams
// and any other stream) writing what the plain decoder writes on any input, and
// the encoder writing the classic algorithm's bytes, which decode to its input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/lzss_reference.h"
#include "text/lzss_codec.h"
#include "writer/lzss_parse.h"
#include "writer/text_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream over a vector that is not one of the memory streams, so the codec
// takes its general road through Transfer.
class VectorStream : public cCodecStream {
 public:
  VectorStream(Bytes& bytes, size_t capacity) : m_bytes(bytes), m_capacity(capacity) {}
  void Rewind() override { m_position = 0; }
  WORD Transfer(void* buffer, WORD count) override {
    const size_t n = std::min<size_t>(count, m_capacity - m_position);
    if (n == 0) return 0;
    if (m_writing) {
      std::memcpy(m_bytes.data() + m_position, buffer, n);
    } else {
      std::memcpy(buffer, m_bytes.data() + m_position, n);
    }
    m_position += n;
    return static_cast<WORD>(n);
  }
  size_t m_position = 0;
  bool m_writing = false;

 private:
  Bytes& m_bytes;
  size_t m_capacity;
};

struct Decoded {
  Bytes out;        // the output buffer, all of it
  size_t produced;  // the output position
  size_t consumed;  // the input position
};

Decoded Decode(Bytes in, size_t capacity, bool memoryStreams, std::uint8_t fill = 0xEE) {
  Decoded result{Bytes(capacity, fill), 0, 0};
  cLzssCodec codec;
  if (memoryStreams) {
    cMemoryReadStream source;
    source.m_pBuffer = in.data();
    source.m_dwSize = static_cast<DWORD>(in.size());
    source.m_dwPosition = 99;
    cMemoryWriteStream sink;
    sink.m_pBuffer = result.out.data();
    sink.m_dwSize = static_cast<DWORD>(capacity);
    codec.Decode(&source, &sink);
    result.produced = sink.m_dwPosition;
    result.consumed = source.m_dwPosition;
  } else {
    VectorStream source(in, in.size());
    VectorStream sink(result.out, capacity);
    sink.m_writing = true;
    codec.Decode(&source, &sink);
    result.produced = sink.m_position;
    result.consumed = source.m_position;
  }
  return result;
}

// Decodes through both roads, checks that they agree, and returns the output.
Bytes DecodeBoth(const Bytes& in, size_t capacity) {
  const Decoded direct = Decode(in, capacity, true);
  const Decoded general = Decode(in, capacity, false);
  EXPECT_EQ(direct.out, general.out);
  EXPECT_EQ(direct.produced, general.produced);
  EXPECT_EQ(direct.consumed, general.consumed);
  return Bytes(direct.out.begin(), direct.out.begin() + static_cast<std::ptrdiff_t>(direct.produced));
}

// The library's encoder through its memory streams (as the writer calls it), or
// through a stream of another class.
Bytes Encode(const Bytes& in, bool memoryStreams) {
  if (memoryStreams) return orva::writer::LzssCompress(in.data(), in.size());
  Bytes input = in, out(in.size() + in.size() / 8 + 1);
  cLzssCodec codec;
  VectorStream source(input, input.size());
  VectorStream sink(out, out.size());
  sink.m_writing = true;
  codec.Encode(&source, &sink);
  out.resize(sink.m_position);
  return out;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Random(size_t size, unsigned seed, unsigned alphabet = 256) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random() % alphabet);
  return bytes;
}

TEST(LzssCodecTest, FormatExamplesDecodeAndEncodeExactly) {
  const struct {
    Bytes in;
    size_t capacity;
    Bytes out;
    const char* what;
  } kDecoded[] = {
      {Text("\xFF" "ABCDEFGH"), 100, Text("ABCDEFGH"), "eight literals"},
      {{0x00, 0x00, 0x00}, 100, Text("   "), "a pair copies the leading spaces"},
      {{0x01, 'a', 0xEE, 0xF2}, 100, Text("aaaaaa"), "a run overlapping its output"},
      {{0x00, 0xEE, 0xF0}, 100, Bytes(3, 0), "ring 4078 on reads zero before data"},
      {{0x01, 'a', 0xEE, 0xF6}, 100, Text("aaaaaaaaaa"), "what the encoder writes for ten letters"},
      {{}, 100, {}, "nothing"},
      {{0x01, 'x', 0xEE}, 100, Text("x"), "nothing of a cut pair"},
      {{0x01, 'a', 0xEE, 0xF6}, 4, Text("aaaa"), "a run written as far as it fits"},
      {Text("\xFF" "ABCDEFGH"), 3, Text("ABC"), "a full output refuses a literal"},
  };
  for (const auto& c : kDecoded) EXPECT_EQ(DecodeBoth(c.in, c.capacity), c.out) << c.what;
  EXPECT_EQ(Encode(Text("aaaaaaaaaa"), true), (Bytes{0x01, 'a', 0xEE, 0xF6}));
  EXPECT_EQ(Encode({}, true), Bytes());
}

// A stream of `items` random items, pairs with probability `pairs` in 8, followed
// by `literals` literals: a short, literal tail after runs is where a decoder that
// writes ahead of its output could leave bytes behind.
Bytes RandomStream(std::mt19937& random, int items, unsigned pairs, int literals) {
  Bytes stream;
  size_t flag = 0;
  for (int item = 0; item < items + literals; ++item) {
    if (item % 8 == 0) {
      flag = stream.size();
      stream.push_back(0);
    }
    if (item >= items || random() % 8 >= pairs) {
      stream[flag] = static_cast<std::uint8_t>(stream[flag] | 1 << (item % 8));
      stream.push_back(static_cast<std::uint8_t>(random()));
    } else {
      stream.push_back(static_cast<std::uint8_t>(random()));
      stream.push_back(static_cast<std::uint8_t>(random()));
    }
  }
  return stream;
}

// Both roads write exactly what the plain ring-buffer decoder writes, and nothing
// past it, and stop reading at the same place, on random bytes and on random
// streams cut anywhere, into outputs large and small.
TEST(LzssCodecTest, BothDecodersWriteWhatThePlainDecoderWrites) {
  std::mt19937 random(3);
  for (int round = 0; round < 600; ++round) {
    Bytes in = round % 3 == 0 ? Random(random() % 3000, static_cast<unsigned>(round))
                              : RandomStream(random, static_cast<int>(random() % 2000), random() % 9,
                                             static_cast<int>(random() % 40));
    if (round % 5 == 0 && !in.empty()) in.resize(random() % in.size());
    const size_t capacity = round % 4 == 0 ? random() % 300 : 40000;
    Bytes plain(capacity);
    plain.resize(orva::reference::LzssDecode(in.data(), in.size(), plain.data(), capacity));
    const Decoded direct = Decode(in, capacity, true), general = Decode(in, capacity, false);
    for (const Decoded* d : {&direct, &general}) {
      const auto end = d->out.begin() + static_cast<std::ptrdiff_t>(d->produced);
      ASSERT_EQ(Bytes(d->out.begin(), end), plain) << "round " << round << ", memory streams " << (d == &direct);
      ASSERT_EQ(static_cast<size_t>(std::count(end, d->out.end(), 0xEE)), capacity - d->produced) << "round " << round;
    }
    ASSERT_EQ(direct.consumed, general.consumed) << "both stop reading where the output fills, round " << round;
  }
}

// Through either road the encoder writes the classic encoder's bytes, and both
// decoders give the input back; so they do for the book builder's smaller parse,
// which is never longer.
TEST(LzssCodecTest, TheEncoderWritesTheClassicAlgorithmsBytes) {
  const Bytes prose = Text(
      "In the beginning the word was spoken, and the word went out over the water; and the water heard "
      "the word and was still. ");
  Bytes text;
  while (text.size() < 3000) text.insert(text.end(), prose.begin(), prose.end());
  std::vector<Bytes> inputs = {text,         Random(300000, 4), Random(50000, 5, 4), Bytes(5000, ' '),
                               Bytes(5000, 0), Bytes(100000, 'z')};
  // Short inputs leave the look-ahead partly zero, which decides between equal matches.
  for (size_t length = 1; length <= 40; ++length) {
    inputs.push_back(Bytes(length, ' '));
    inputs.push_back(Random(length, static_cast<unsigned>(length), 2));
    inputs.push_back(Bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length)));
  }
  orva::reference::LzssEncoder classic;
  for (const Bytes& in : inputs) {
    const Bytes encoded = classic.Encode(in.data(), in.size());
    EXPECT_EQ(Encode(in, true), encoded) << "length " << in.size();
    EXPECT_EQ(Encode(in, false), encoded) << "the general road, length " << in.size();
    EXPECT_EQ(DecodeBoth(encoded, in.size() + 20), in) << "length " << in.size();
    const Bytes smaller = orva::writer::LzssCompressSmaller(in.data(), in.size());
    EXPECT_EQ(DecodeBoth(smaller, in.size() + 20), in) << "the smaller parse, length " << in.size();
    EXPECT_LE(smaller.size(), encoded.size()) << "length " << in.size();
  }
}

}  // namespace
