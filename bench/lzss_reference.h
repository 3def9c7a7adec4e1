// The classic LZSS codec written plainly, memory in and memory out: a ring buffer
// walked one byte at a time, and the binary-tree encoder comparing one byte at a
// time. The benchmarks measure the library against it, and a test checks that the
// library's encoder writes exactly its bytes. It starts from the same state as the
// library: spaces before position 4078, zeros from there on.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace orva::reference {

constexpr int N = 4096;
constexpr int F = 18;
constexpr int THRESHOLD = 2;
constexpr int NIL = N;

// Decodes `size` bytes at `in` into at most `capacity` bytes at `out`; returns the
// number of bytes written.
inline size_t LzssDecode(const std::uint8_t* in, size_t size, std::uint8_t* out, size_t capacity) {
  std::uint8_t ring[N];
  std::memset(ring, ' ', N - F);
  std::memset(ring + N - F, 0, F);
  unsigned r = N - F, flags = 0;
  size_t i = 0, o = 0;
  for (;;) {
    if (((flags >>= 1) & 256) == 0) {
      if (i == size) break;
      flags = in[i++] | 0xFF00u;
    }
    if (flags & 1) {
      if (i == size || o == capacity) break;
      const std::uint8_t c = in[i++];
      out[o++] = c;
      ring[r++] = c;
      r &= N - 1;
    } else {
      if (size - i < 2) break;
      const unsigned p = in[i] | ((in[i + 1] & 0xF0u) << 4);
      const unsigned length = (in[i + 1] & 0x0Fu) + THRESHOLD + 1;
      i += 2;
      for (unsigned k = 0; k < length; ++k) {
        if (o == capacity) return o;
        const std::uint8_t c = ring[(p + k) & (N - 1)];
        out[o++] = c;
        ring[r++] = c;
        r &= N - 1;
      }
    }
  }
  return o;
}

class LzssEncoder {
 public:
  std::vector<std::uint8_t> Encode(const std::uint8_t* in, size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size + size / 8 + 1);
    for (int i = N + 1; i <= N + 256; i++) rson[i] = NIL;
    for (int i = 0; i < N; i++) dad[i] = NIL;
    std::memset(text_buf, ' ', N - F);
    std::memset(text_buf + N - F, 0, sizeof text_buf - (N - F));
    size_t next = 0;
    int s = 0, r = N - F, len;
    for (len = 0; len < F && next < size; len++) text_buf[r + len] = in[next++];
    if (len == 0) return out;
    std::uint8_t code_buf[17];
    code_buf[0] = 0;
    int code_buf_ptr = 1;
    std::uint8_t mask = 1;
    for (int i = 1; i <= F; i++) InsertNode(r - i);
    InsertNode(r);
    do {
      if (match_length > len) match_length = len;
      if (match_length <= THRESHOLD) {
        match_length = 1;
        code_buf[0] |= mask;
        code_buf[code_buf_ptr++] = text_buf[r];
      } else {
        code_buf[code_buf_ptr++] = static_cast<std::uint8_t>(match_position);
        code_buf[code_buf_ptr++] =
            static_cast<std::uint8_t>(((match_position >> 4) & 0xF0) | (match_length - (THRESHOLD + 1)));
      }
      if ((mask = static_cast<std::uint8_t>(mask << 1)) == 0) {
        out.insert(out.end(), code_buf, code_buf + code_buf_ptr);
        code_buf[0] = 0;
        code_buf_ptr = mask = 1;
      }
      const int last_match_length = match_length;
      int i;
      for (i = 0; i < last_match_length && next < size; i++) {
        const std::uint8_t c = in[next++];
        DeleteNode(s);
        text_buf[s] = c;
        if (s < F - 1) text_buf[s + N] = c;
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        InsertNode(r);
      }
      while (i++ < last_match_length) {
        DeleteNode(s);
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        if (--len) InsertNode(r);
      }
    } while (len > 0);
    if (code_buf_ptr > 1) out.insert(out.end(), code_buf, code_buf + code_buf_ptr);
    return out;
  }

 private:
  void InsertNode(int r) {
    int i, p, cmp = 1;
    const std::uint8_t* key = &text_buf[r];
    p = N + 1 + key[0];
    rson[r] = lson[r] = NIL;
    match_length = 0;
    for (;;) {
      if (cmp >= 0) {
        if (rson[p] != NIL) {
          p = rson[p];
        } else {
          rson[p] = r;
          dad[r] = p;
          return;
        }
      } else {
        if (lson[p] != NIL) {
          p = lson[p];
        } else {
          lson[p] = r;
          dad[r] = p;
          return;
        }
      }
      for (i = 1; i < F; i++) {
        if ((cmp = key[i] - text_buf[p + i]) != 0) break;
      }
      if (i > match_length) {
        match_position = p;
        if ((match_length = i) >= F) break;
      }
    }
    dad[r] = dad[p];
    lson[r] = lson[p];
    rson[r] = rson[p];
    dad[lson[p]] = r;
    dad[rson[p]] = r;
    if (rson[dad[p]] == p) {
      rson[dad[p]] = r;
    } else {
      lson[dad[p]] = r;
    }
    dad[p] = NIL;
  }

  void DeleteNode(int p) {
    int q;
    if (dad[p] == NIL) return;
    if (rson[p] == NIL) {
      q = lson[p];
    } else if (lson[p] == NIL) {
      q = rson[p];
    } else {
      q = lson[p];
      if (rson[q] != NIL) {
        do {
          q = rson[q];
        } while (rson[q] != NIL);
        rson[dad[q]] = lson[q];
        dad[lson[q]] = dad[q];
        lson[q] = lson[p];
        dad[lson[p]] = q;
      }
      rson[q] = rson[p];
      dad[rson[p]] = q;
    }
    dad[q] = dad[p];
    if (rson[dad[p]] == p) {
      rson[dad[p]] = q;
    } else {
      lson[dad[p]] = q;
    }
    dad[p] = NIL;
  }

  std::uint8_t text_buf[N + F - 1];
  int match_position = 0, match_length = 0;
  int lson[N + 1], rson[N + 257], dad[N + 1];
};

}  // namespace orva::reference
