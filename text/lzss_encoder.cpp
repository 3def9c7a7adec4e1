// The encoder: the classic binary-tree match search. Its output must stay byte for
// byte that of the classic algorithm (books written by other tools carry it), so
// only the mechanics around the search are ours: the streams are reached without
// a virtual call per byte when they are memory streams, and string comparisons
// look at eight bytes at a time.
#include <array>
#include <cstdint>
#include <cstring>
#include <typeinfo>

#include "text/lzss_codec.h"

namespace {

constexpr int N = cLzssCodec::kRingSize;
constexpr int F = cLzssCodec::kLongestMatch;
constexpr int NIL = cLzssCodec::kNil;

// The input and output of an encode, over any stream.
struct StreamSource {
  cCodecStream* stream;
  WORD Read(BYTE* buffer, WORD count) { return stream->Transfer(buffer, count); }
  bool Next(BYTE& c) { return stream->Transfer(&c, 1) == 1; }
  void Finish() {}
};

struct StreamSink {
  cCodecStream* stream;
  void Write(BYTE* buffer, WORD count) { stream->Transfer(buffer, count); }
  void Finish() {}
};

// The same over the buffers of the memory streams, with their positions written
// back at the end.
struct MemorySource {
  cMemoryReadStream* stream;
  DWORD position = 0;
  WORD Read(BYTE* buffer, WORD count) {
    const DWORD left = position < stream->m_dwSize ? stream->m_dwSize - position : 0;
    const WORD n = static_cast<WORD>(left < count ? left : count);
    if (n != 0) std::memcpy(buffer, stream->m_pBuffer + position, n);
    position += n;
    return n;
  }
  bool Next(BYTE& c) {
    if (position >= stream->m_dwSize) return false;
    c = stream->m_pBuffer[position++];
    return true;
  }
  void Finish() { stream->m_dwPosition = position; }
};

struct MemorySink {
  cMemoryWriteStream* stream;
  DWORD position = 0;
  void Write(const BYTE* buffer, WORD count) {
    const DWORD left = position < stream->m_dwSize ? stream->m_dwSize - position : 0;
    const DWORD n = left < count ? left : count;
    if (n != 0) std::memcpy(stream->m_pBuffer + position, buffer, n);
    position += n;
  }
  void Finish() { stream->m_dwPosition = position; }
};

std::uint64_t Load64(const BYTE* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The first index in 1 .. F-1 at which `key` and `other` differ, or F when bytes
// 1 .. F-1 all agree. Both point at F readable bytes.
[[gnu::always_inline]] inline int FirstDifference(const BYTE* key, const BYTE* other) {
  if (key[1] != other[1]) return 1;  // the common case on text that does not repeat
  std::uint64_t diff = Load64(key + 1) ^ Load64(other + 1);
  if (diff != 0) return 1 + __builtin_ctzll(diff) / 8;
  diff = Load64(key + 9) ^ Load64(other + 9);
  if (diff != 0) return 9 + __builtin_ctzll(diff) / 8;
  return key[17] != other[17] ? 17 : F;
}

}  // namespace

void cLzssCodec::InitTree() {
  // Nil links copied from a table in one move per array: the trees are set up on
  // every call, also for a few bytes of input.
  static const auto kNils = [] {
    std::array<short, N + 257> nils;
    nils.fill(NIL);
    return nils;
  }();
  std::memcpy(m_Left, kNils.data(), N * sizeof(short));
  std::memcpy(m_Right, kNils.data(), N * sizeof(short));
  std::memcpy(m_Parent, kNils.data(), N * sizeof(short));
  std::memcpy(m_Right + N + 1, kNils.data(), 256 * sizeof(short));
}

// Inlined into the encoding loop, as the classic single-function encoder is.
[[gnu::always_inline]] inline void cLzssCodec::InsertNode(int r) {
  const BYTE* key = &m_Ring[r];
  int p = N + 1 + key[0];
  int cmp = 1;
  int matchLength = 0, matchPosition = m_nMatchPosition;
  m_Right[r] = m_Left[r] = NIL;
  for (;;) {
    short* next = cmp >= 0 ? &m_Right[p] : &m_Left[p];
    if (*next == NIL) {
      *next = static_cast<short>(r);
      m_Parent[r] = static_cast<short>(p);
      m_nMatchLength = static_cast<short>(matchLength);
      m_nMatchPosition = static_cast<short>(matchPosition);
      return;
    }
    p = *next;
    const int i = FirstDifference(key, &m_Ring[p]);
    cmp = i < F ? key[i] - m_Ring[p + i] : 0;
    if (i > matchLength) {
      matchPosition = p;
      matchLength = i;
      if (i >= F) break;
    }
  }
  m_nMatchLength = static_cast<short>(matchLength);
  m_nMatchPosition = static_cast<short>(matchPosition);
  // A full match: r takes p's place in the tree.
  m_Parent[r] = m_Parent[p];
  m_Left[r] = m_Left[p];
  m_Right[r] = m_Right[p];
  m_Parent[m_Left[p]] = static_cast<short>(r);
  m_Parent[m_Right[p]] = static_cast<short>(r);
  if (m_Right[m_Parent[p]] == p) {
    m_Right[m_Parent[p]] = static_cast<short>(r);
  } else {
    m_Left[m_Parent[p]] = static_cast<short>(r);
  }
  m_Parent[p] = NIL;
}

[[gnu::always_inline]] inline void cLzssCodec::DeleteNode(int p) {
  if (m_Parent[p] == NIL) return;
  int q;
  if (m_Right[p] == NIL) {
    q = m_Left[p];
  } else if (m_Left[p] == NIL) {
    q = m_Right[p];
  } else {
    q = m_Left[p];
    if (m_Right[q] != NIL) {
      do {
        q = m_Right[q];
      } while (m_Right[q] != NIL);
      m_Right[m_Parent[q]] = m_Left[q];
      m_Parent[m_Left[q]] = m_Parent[q];
      m_Left[q] = m_Left[p];
      m_Parent[m_Left[p]] = static_cast<short>(q);
    }
    m_Right[q] = m_Right[p];
    m_Parent[m_Right[p]] = static_cast<short>(q);
  }
  m_Parent[q] = m_Parent[p];
  if (m_Right[m_Parent[p]] == p) {
    m_Right[m_Parent[p]] = static_cast<short>(q);
  } else {
    m_Left[m_Parent[p]] = static_cast<short>(q);
  }
  m_Parent[p] = NIL;
}

template <class Source, class Sink>
void cLzssCodec::EncodeFrom(Source& in, Sink& out) {
  InitTree();
  // Every call starts from the state of a freshly zeroed codec: spaces before the
  // first write position, zeros from it on (the look-ahead a short input leaves
  // unfilled, and the mirror). Equal matches are then decided the same way on
  // every call.
  std::memset(m_Ring, kFill, kFirstWrite);
  std::memset(m_Ring + kFirstWrite, 0, sizeof m_Ring - kFirstWrite);
  m_nMatchPosition = m_nMatchLength = 0;
  int s = 0;
  int r = kFirstWrite;
  int len = in.Read(m_Ring + r, F);
  if (len == 0) return;

  BYTE code[17];
  code[0] = 0;
  WORD codeLength = 1;
  BYTE mask = 1;
  for (int i = 1; i <= F; ++i) InsertNode(r - i);
  InsertNode(r);
  while (len > 0) {
    if (m_nMatchLength > len) m_nMatchLength = static_cast<short>(len);
    if (m_nMatchLength <= kThreshold) {
      m_nMatchLength = 1;
      code[0] |= mask;
      code[codeLength++] = m_Ring[r];
    } else {
      code[codeLength++] = static_cast<BYTE>(m_nMatchPosition);
      code[codeLength++] =
          static_cast<BYTE>(((m_nMatchPosition >> 4) & 0xF0) | (m_nMatchLength - (kThreshold + 1)));
    }
    mask = static_cast<BYTE>(mask << 1);
    if (mask == 0) {
      out.Write(code, codeLength);
      code[0] = 0;
      codeLength = 1;
      mask = 1;
    }
    const int last = m_nMatchLength;
    int i = 0;
    for (BYTE c; i < last && in.Next(c); ++i) {
      DeleteNode(s);
      m_Ring[s] = c;
      if (s < F - 1) m_Ring[s + N] = c;
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    for (; i < last; ++i) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len != 0) InsertNode(r);
    }
  }
  if (codeLength > 1) out.Write(code, codeLength);
}

void cLzssCodec::Encode(cCodecStream* in, cCodecStream* out) {
  in->Rewind();
  out->Rewind();
  if (typeid(*in) == typeid(cMemoryReadStream) && typeid(*out) == typeid(cMemoryWriteStream)) {
    MemorySource source{static_cast<cMemoryReadStream*>(in)};
    MemorySink sink{static_cast<cMemoryWriteStream*>(out)};
    EncodeFrom(source, sink);
    source.Finish();
    sink.Finish();
  } else {
    StreamSource source{in};
    StreamSink sink{out};
    EncodeFrom(source, sink);
  }
}
