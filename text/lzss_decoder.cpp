// The decoder, two ways with one result.
//
// Over arbitrary streams it follows the format's definition: a ring of 4096 bytes,
// one Transfer per literal, per pair and per run.
//
// Over the memory streams it needs no ring. The ring always holds the last 4096
// bytes written, each at position (4078 + its output index) mod 4096, so at output
// index o ring position q holds output byte o - d, d = (4078 + o - q) mod 4096 (4096
// when that is 0), or the ring's first content while o - d is negative. A pair is
// therefore a copy from a fixed distance back in the output buffer, which the
// decoder writes directly: literal runs and runs from far enough back are moved
// in fixed-size blocks, and bounds are checked once per group while both buffers
// have room for a whole one.
#include <cstring>
#include <typeinfo>

#include "text/lzss_codec.h"

namespace {

constexpr unsigned kRingMask = cLzssCodec::kRingSize - 1;
constexpr size_t kLongestGroupIn = 16;    // eight pairs after the flag byte
constexpr size_t kLongestGroupOut = 144;  // eight runs of 18
// The fast road writes up to this many bytes past the end of an item...
constexpr size_t kSlack = 16;
// ...and takes a group only while at least this much input follows the group. The
// rest of the input then decodes to at least kSlack more bytes (at worst a flag
// byte per eight literals and one byte of a cut pair), or fills the output, so
// every byte written past an item is written again with its right value before
// decoding ends: the output holds exactly what the exact road writes.
constexpr size_t kInputAfterGroup = 24;

BYTE FirstRingByte(unsigned position) { return position < cLzssCodec::kFirstWrite ? cLzssCodec::kFill : 0; }

// Copies n (0 to 18) bytes between ranges that do not overlap, with fixed-size
// moves that stay inside both ranges.
inline void CopyDisjoint(BYTE* dst, const BYTE* src, size_t n) {
  if (n >= 16) {
    std::memcpy(dst, src, 16);
    std::memcpy(dst + n - 16, src + n - 16, 16);
  } else if (n >= 8) {
    std::memcpy(dst, src, 8);
    std::memcpy(dst + n - 8, src + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(dst, src, 4);
    std::memcpy(dst + n - 4, src + n - 4, 4);
  } else if (n != 0) {
    dst[0] = src[0];
    dst[n / 2] = src[n / 2];
    dst[n - 1] = src[n - 1];
  }
}

class DirectDecoder {
 public:
  DirectDecoder(const BYTE* in, size_t inSize, BYTE* out, size_t outSize)
      : m_in(in), m_inEnd(in + inSize), m_outBegin(out), m_out(out), m_outEnd(out + outSize), m_inBegin(in) {}

  void Run() {
    while (m_in != m_inEnd) {
      const unsigned flags = *m_in++;
      if (static_cast<size_t>(m_inEnd - m_in) >= kLongestGroupIn + kInputAfterGroup &&
          static_cast<size_t>(m_outEnd - m_out) >= kLongestGroupOut + kSlack) {
        FastGroup(flags);
      } else if (!CheckedGroup(flags)) {
        return;
      }
    }
  }

  size_t Consumed() const { return static_cast<size_t>(m_in - m_inBegin); }
  size_t Produced() const { return static_cast<size_t>(m_out - m_outBegin); }

 private:
  // A group with room on both sides for its longest form and the slack: literal
  // runs and runs from far enough back are moved in fixed-size blocks.
  void FastGroup(unsigned flags) {
    if (flags == 0xFF) {
      std::memcpy(m_out, m_in, 8);
      m_in += 8;
      m_out += 8;
      return;
    }
    for (int item = 0; item < 8;) {
      if (flags & 1) {
        const int literals = __builtin_ctz(~flags);  // at most 8: flags has 8 bits
        std::memcpy(m_out, m_in, 8);
        m_in += literals;
        m_out += literals;
        flags >>= literals;
        item += literals;
      } else {
        const unsigned b0 = m_in[0], b1 = m_in[1];
        m_in += 2;
        const size_t length = (b1 & 0x0Fu) + 3;
        const size_t distance = Distance(b0 | (b1 & 0xF0u) << 4);
        if (distance >= 16 && Produced() >= distance) {
          // Bytes 16 and 17 come from at least 16 back: written already, also
          // when the distance is 16 or 17.
          const BYTE* src = m_out - distance;
          std::memcpy(m_out, src, 16);
          std::memcpy(m_out + 16, src + 16, 2);
          m_out += length;
        } else {
          Copy(b0 | (b1 & 0xF0u) << 4, length);
        }
        flags >>= 1;
        ++item;
      }
    }
  }

  // A group near the end of either buffer; false when decoding stops in it.
  bool CheckedGroup(unsigned flags) {
    for (int item = 0; item < 8; ++item, flags >>= 1) {
      if (flags & 1) {
        if (m_in == m_inEnd) return false;
        if (m_out == m_outEnd) {
          ++m_in;  // the literal was read before the output refused it
          return false;
        }
        *m_out++ = *m_in++;
      } else {
        if (m_inEnd - m_in < 2) {
          m_in = m_inEnd;
          return false;
        }
        const unsigned b0 = m_in[0], b1 = m_in[1];
        m_in += 2;
        const size_t length = (b1 & 0x0Fu) + 3;
        const size_t room = static_cast<size_t>(m_outEnd - m_out);
        const size_t n = length < room ? length : room;
        Copy(b0 | (b1 & 0xF0u) << 4, n);
        if (n < length) return false;
      }
    }
    return true;
  }

  // How far back in the output ring position `from` is, 1 to 4096.
  size_t Distance(unsigned from) const {
    const size_t distance = (cLzssCodec::kFirstWrite + Produced() - from) & kRingMask;
    return distance == 0 ? cLzssCodec::kRingSize : distance;
  }

  // Writes exactly the n bytes that ring position `from` onwards gives at the
  // current output.
  void Copy(unsigned from, size_t n) {
    const size_t produced = Produced();
    const size_t distance = Distance(from);
    if (produced >= distance) {
      const BYTE* src = m_out - distance;
      if (distance >= n) {
        CopyDisjoint(m_out, src, n);
      } else if (distance == 1) {
        std::memset(m_out, src[0], n);
      } else {
        for (size_t k = 0; k < n; ++k) m_out[k] = src[k];
      }
    } else {
      for (size_t k = 0; k < n; ++k) {
        m_out[k] = produced + k >= distance ? m_outBegin[produced + k - distance]
                                            : FirstRingByte((from + static_cast<unsigned>(k)) & kRingMask);
      }
    }
    m_out += n;
  }

  const BYTE* m_in;
  const BYTE* const m_inEnd;
  BYTE* const m_outBegin;
  BYTE* m_out;
  BYTE* const m_outEnd;
  const BYTE* const m_inBegin;
};

}  // namespace

void cLzssCodec::DecodeStreams(cCodecStream* in, cCodecStream* out) {
  std::memset(m_Ring, kFill, kFirstWrite);
  std::memset(m_Ring + kFirstWrite, 0, kRingSize - kFirstWrite);
  unsigned r = kFirstWrite;
  unsigned flags = 0;
  int flagsLeft = 0;
  for (;;) {
    BYTE c;
    if (flagsLeft > 0) {
      flags >>= 1;
      --flagsLeft;
    } else {
      if (in->Transfer(&c, 1) < 1) return;
      flags = c;
      flagsLeft = 7;
    }
    if (flags & 1) {
      if (in->Transfer(&c, 1) < 1) return;
      if (out->Transfer(&c, 1) < 1) return;
      m_Ring[r] = c;
      r = (r + 1) & kRingMask;
    } else {
      BYTE pair[2];
      if (in->Transfer(pair, 2) < 2) return;
      const unsigned from = pair[0] | (pair[1] & 0xF0u) << 4;
      const WORD length = static_cast<WORD>((pair[1] & 0x0F) + kThreshold + 1);
      BYTE staged[kLongestMatch];
      for (unsigned k = 0; k < length; ++k) {
        const BYTE v = m_Ring[(from + k) & kRingMask];
        staged[k] = v;
        m_Ring[r] = v;
        r = (r + 1) & kRingMask;
      }
      if (out->Transfer(staged, length) < length) return;
    }
  }
}

void cLzssCodec::Decode(cCodecStream* in, cCodecStream* out) {
  in->Rewind();
  out->Rewind();
  if (typeid(*in) == typeid(cMemoryReadStream) && typeid(*out) == typeid(cMemoryWriteStream)) {
    auto* source = static_cast<cMemoryReadStream*>(in);
    auto* sink = static_cast<cMemoryWriteStream*>(out);
    DirectDecoder decoder(source->m_pBuffer, source->m_dwSize, sink->m_pBuffer, sink->m_dwSize);
    decoder.Run();
    source->m_dwPosition = static_cast<DWORD>(decoder.Consumed());
    sink->m_dwPosition = static_cast<DWORD>(decoder.Produced());
  } else {
    DecodeStreams(in, out);
  }
}
