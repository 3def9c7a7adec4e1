// cLzssCodec: the LZSS codec of compressed text blocks.
//
// The stream: groups of one flag byte and up to eight items. Flag bits are taken
// from bit 0 up; a 1 bit is one literal byte, a 0 bit a pair b0 b1 that copies
// (b1 & 0x0F) + 3 bytes (3 to 18) from the 12-bit ring position b0 | (b1 & 0xF0) << 4.
// The ring holds 4096 bytes; positions 0-4077 start as spaces and 4078-4095 as
// zeros, and the first byte of data goes to position 4078. There is no length field
// and no end marker: the stream ends where its bytes end, and an empty input
// encodes to an empty stream.
//
// The encoder is the classic binary-tree match search; its output depends on the
// input alone (every call starts from the same state), also when a codec is
// reused. The decoder reads what it writes.
//
// A codec is a large object (about 29 KiB) that a caller creates for a call or a
// few; each call initialises the state it needs and allocates nothing. Neither
// call throws or reports anything: the caller judges a decode by the output
// stream's final position. Malformed input cannot make the codec read or write
// outside its state or its streams.
#pragma once

#include "platform/object.h"
#include "platform/types.h"
#include "text/codec_stream.h"

class cLzssCodec : public CObject {
 public:
  static constexpr int kRingSize = 4096;      // N
  static constexpr int kLongestMatch = 18;    // F
  static constexpr int kThreshold = 2;        // matches this long or shorter go as literals
  static constexpr int kNil = kRingSize;      // a tree link to no node
  static constexpr int kFirstWrite = kRingSize - kLongestMatch;  // 4078
  static constexpr BYTE kFill = 0x20;         // ring bytes 0-4077 before any data

  // Leaves the state unset: each call initialises what it uses.
  cLzssCodec() {}  // NOLINT: the arrays are set by each call, not here

  // Rewinds both streams and writes the compressed form of everything `in`
  // delivers to `out`, one group per Transfer. An output that refuses bytes is not
  // noticed: what it took is what was written.
  virtual void Encode(cCodecStream* in, cCodecStream* out);
  // Rewinds both streams and decodes what `in` delivers into `out` until the input
  // ends (a pair cut after its first byte writes nothing of its run) or the output
  // is full (the run that fills it is written as far as it fits).
  virtual void Decode(cCodecStream* in, cCodecStream* out);

 private:
  template <class Source, class Sink>
  void EncodeFrom(Source& in, Sink& out);
  void DecodeStreams(cCodecStream* in, cCodecStream* out);
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);

  // Ring bytes N .. N+F-2 mirror bytes 0 .. F-2 so that the encoder's string
  // comparisons can run past the end of the ring without wrapping.
  BYTE m_Ring[kRingSize + kLongestMatch - 1];
  short m_nMatchPosition;
  short m_nMatchLength;
  short m_Left[kRingSize + 1];
  short m_Right[kRingSize + 257];  // N+1 .. N+256: the root of each first byte's tree
  short m_Parent[kRingSize + 1];
};
