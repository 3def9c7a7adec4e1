// Any bytes as an LZSS stream, decoded from memory by both roads of the decoder:
// the memory streams (decoding straight into the output) and another stream (the
// ring buffer, a Transfer per item). They must write the same bytes and stop at
// the same positions. A short input, as text, must also come back unchanged
// from the encoder's stream.
// Input: two bytes, the output capacity (little-endian, modulo 10001), then the
// stream.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "text/lzss_codec.h"

namespace {

constexpr std::size_t kMaxInput = 1 << 14;
// Enough to wrap the 4096-byte ring twice, little enough for a fast harness.
constexpr std::size_t kMaxOutput = 10000;
constexpr std::size_t kMaxRoundTrip = 64;
constexpr std::uint8_t kFill = 0xA5;
constexpr std::size_t kReach = 32;

// A stream over a buffer that is not one of the memory streams.
class OtherStream : public cCodecStream {
 public:
  OtherStream(std::uint8_t* bytes, std::size_t size, bool writing) : m_bytes(bytes), m_size(size), m_writing(writing) {}
  void Rewind() override { m_position = 0; }
  WORD Transfer(void* buffer, WORD count) override {
    const std::size_t n = count < m_size - m_position ? count : m_size - m_position;
    if (n == 0) return 0;
    if (m_writing) {
      std::memcpy(m_bytes + m_position, buffer, n);
    } else {
      std::memcpy(buffer, m_bytes + m_position, n);
    }
    m_position += n;
    return static_cast<WORD>(n);
  }
  std::size_t m_position = 0;

 private:
  std::uint8_t* m_bytes;
  std::size_t m_size;
  bool m_writing;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > kMaxInput) return 0;
  static cLzssCodec codec;
  static std::vector<std::uint8_t> direct(kMaxOutput, kFill), other(kMaxOutput, kFill), stream, text;
  const std::size_t capacity = (data[0] | data[1] << 8) % (kMaxOutput + 1);
  stream.assign(data + 2, data + size);

  cMemoryReadStream in;
  in.m_pBuffer = stream.data();
  in.m_dwSize = static_cast<DWORD>(stream.size());
  cMemoryWriteStream out;
  out.m_pBuffer = direct.data();
  out.m_dwSize = static_cast<DWORD>(capacity);
  codec.Decode(&in, &out);
  OtherStream otherIn(stream.data(), stream.size(), false), otherOut(other.data(), capacity, true);
  codec.Decode(&otherIn, &otherOut);
  Check(out.m_dwPosition == otherOut.m_position && in.m_dwPosition == otherIn.m_position);
  // Both buffers hold kFill outside what a run wrote. No road may leave anything
  // behind its final position (the direct one writes ahead only by up to 18 bytes).
  const std::size_t touched = std::min<std::size_t>(capacity, out.m_dwPosition + kReach);
  Check(std::memcmp(direct.data(), other.data(), touched) == 0);
  std::memset(direct.data(), kFill, touched);
  std::memset(other.data(), kFill, touched);

  // Short inputs, where the encoder's start state decides between equal matches,
  // also go through the encoder and back.
  if (stream.empty() || stream.size() > kMaxRoundTrip) return 0;
  text = stream;
  std::vector<std::uint8_t> encoded(text.size() + text.size() / 8 + 1);
  in.m_pBuffer = text.data();
  in.m_dwSize = static_cast<DWORD>(text.size());
  out.m_pBuffer = encoded.data();
  out.m_dwSize = static_cast<DWORD>(encoded.size());
  codec.Encode(&in, &out);
  in.m_pBuffer = encoded.data();
  in.m_dwSize = out.m_dwPosition;
  out.m_pBuffer = direct.data();
  out.m_dwSize = static_cast<DWORD>(text.size());
  codec.Decode(&in, &out);
  Check(out.m_dwPosition == text.size() && std::memcmp(direct.data(), text.data(), text.size()) == 0);
  std::memset(direct.data(), kFill, text.size());
  return 0;
}
