// LZSS decode and encode speed, in MB/s of decoded text, beside the baselines of
// the same run: the classic codec written plainly (a ring buffer walked one byte
// at a time, memory in and out; bench/lzss_reference.h) and memcpy of the same
// size. Inputs: 4 MB of generated English prose, 4 MB of random bytes (all
// literals) and 4 MB of one repeated byte (all long runs). Before measuring, the
// fixture checks that the library decodes to exactly the reference's output and
// that its encoder writes exactly the reference encoder's bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/lzss_reference.h"
#include "bench/prose.h"
#include "text/lzss_codec.h"
#include "writer/lzss_parse.h"
#include "writer/text_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr size_t kSize = 4 << 20;

struct Case {
  Bytes text;
  Bytes stream;
};

// The library's encoder through its memory streams, as the writer calls it.
Bytes LibraryEncode(const Bytes& text) { return orva::writer::LzssCompress(text.data(), text.size()); }

size_t LibraryDecode(Bytes& stream, Bytes& out) {
  cMemoryReadStream in;
  in.m_pBuffer = stream.data();
  in.m_dwSize = static_cast<DWORD>(stream.size());
  cMemoryWriteStream sink;
  sink.m_pBuffer = out.data();
  sink.m_dwSize = static_cast<DWORD>(out.size());
  cLzssCodec codec;
  codec.Decode(&in, &sink);
  return sink.m_dwPosition;
}

[[noreturn]] void Fail(const char* what, int c) {
  std::fprintf(stderr, "lzss_bench: case %d: %s\n", c, what);
  std::exit(1);
}

Case Make(int c) {
  Case made;
  if (c == 0) {
    const std::string prose = orva::bench::Prose(kSize);
    made.text.assign(prose.begin(), prose.end());
  } else if (c == 1) {
    std::mt19937 random(7);
    made.text.resize(kSize);
    for (auto& b : made.text) b = static_cast<std::uint8_t>(random());
  } else {
    made.text.assign(kSize, 'a');
  }
  made.stream = LibraryEncode(made.text);
  orva::reference::LzssEncoder reference;
  if (made.stream != reference.Encode(made.text.data(), made.text.size())) Fail("encoders differ", c);
  Bytes out(kSize), expected(kSize);
  if (LibraryDecode(made.stream, out) != kSize || out != made.text) Fail("library decode differs", c);
  if (orva::reference::LzssDecode(made.stream.data(), made.stream.size(), expected.data(), kSize) != kSize ||
      expected != made.text) {
    Fail("reference decode differs", c);
  }
  std::fprintf(stderr, "case %d: %zu bytes compress to %zu (%.1f%%)\n", c, made.text.size(), made.stream.size(),
               100.0 * static_cast<double>(made.stream.size()) / static_cast<double>(made.text.size()));
  return made;
}

Case& Input(int c) {
  static Case cases[3] = {Make(0), Make(1), Make(2)};
  return cases[c];
}

void Label(benchmark::State& state) {
  static const char* const kNames[] = {"prose", "random", "one_byte"};
  state.SetLabel(kNames[state.range(0)]);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}

void BM_Memcpy(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  Bytes out(kSize);
  for (auto _ : state) {
    std::memcpy(out.data(), input.text.data(), kSize);
    benchmark::ClobberMemory();
  }
  Label(state);
}

void BM_ReferenceDecode(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  Bytes out(kSize);
  for (auto _ : state) {
    benchmark::DoNotOptimize(orva::reference::LzssDecode(input.stream.data(), input.stream.size(), out.data(), kSize));
  }
  Label(state);
}

void BM_LibraryDecode(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  Bytes out(kSize);
  for (auto _ : state) benchmark::DoNotOptimize(LibraryDecode(input.stream, out));
  Label(state);
}

// The library's decoder over a stream that is not a memory stream: the ring
// buffer and a Transfer per item, as the format defines it.
class PlainStream : public cCodecStream {
 public:
  PlainStream(Bytes& bytes, bool writing) : m_bytes(bytes), m_writing(writing) {}
  void Rewind() override { m_position = 0; }
  WORD Transfer(void* buffer, WORD count) override {
    const size_t n = std::min<size_t>(count, m_bytes.size() - m_position);
    std::memcpy(m_writing ? m_bytes.data() + m_position : buffer, m_writing ? buffer : m_bytes.data() + m_position, n);
    m_position += n;
    return static_cast<WORD>(n);
  }

 private:
  Bytes& m_bytes;
  bool m_writing;
  size_t m_position = 0;
};

void BM_LibraryDecodeOtherStream(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  Bytes out(kSize);
  for (auto _ : state) {
    PlainStream in(input.stream, false), sink(out, true);
    cLzssCodec codec;
    codec.Decode(&in, &sink);
    benchmark::ClobberMemory();
  }
  Label(state);
}

void BM_ReferenceEncode(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  orva::reference::LzssEncoder encoder;
  for (auto _ : state) benchmark::DoNotOptimize(encoder.Encode(input.text.data(), input.text.size()));
  Label(state);
}

void BM_LibraryEncode(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(LibraryEncode(input.text));
  Label(state);
}

// The book builder's smaller parse (writer/lzss_parse.h), in blocks of 4 KB as a
// chapter is; its label says how much smaller its streams are.
void BM_SmallerParseEncode(benchmark::State& state) {
  Case& input = Input(static_cast<int>(state.range(0)));
  constexpr size_t kBlock = 4096;
  size_t smaller = 0, classic = 0;
  for (size_t at = 0; at < kSize; at += kBlock) {
    smaller += orva::writer::LzssCompressSmaller(input.text.data() + at, kBlock).size();
    classic += orva::writer::LzssCompress(input.text.data() + at, kBlock).size();
  }
  for (auto _ : state) {
    for (size_t at = 0; at < kSize; at += kBlock) {
      benchmark::DoNotOptimize(orva::writer::LzssCompressSmaller(input.text.data() + at, kBlock));
    }
  }
  static const char* const kNames[] = {"prose", "random", "one_byte"};
  state.SetLabel(std::string(kNames[state.range(0)]) + ": " + std::to_string(smaller) + " bytes, the library's encoder " +
                 std::to_string(classic));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}

BENCHMARK(BM_Memcpy)->DenseRange(0, 2);
BENCHMARK(BM_ReferenceDecode)->DenseRange(0, 2);
BENCHMARK(BM_LibraryDecode)->DenseRange(0, 2);
BENCHMARK(BM_LibraryDecodeOtherStream)->DenseRange(0, 2);
BENCHMARK(BM_ReferenceEncode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryEncode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallerParseEncode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
