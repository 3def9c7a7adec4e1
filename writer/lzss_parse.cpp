#include "writer/lzss_parse.h"

#include <algorithm>
#include <stdexcept>

namespace orva::writer {

namespace {

constexpr int kRing = 4096;
constexpr int kFirstWrite = 4078;  // the ring place of the first byte; the places before hold spaces
constexpr int kFarthest = 4078;    // the farthest back a match begins (the library's encoder's window)
constexpr int kShortest = 3;
constexpr int kLongest = 18;
constexpr int kCandidates = 256;
constexpr std::uint32_t kLiteralBits = 9, kPairBits = 17;

struct Match {
  int length = 0;  // 0, or kShortest to kLongest
  int from = 0;    // the place in the text with the spaces before it
};

// The longest match at every byte of `text`, which is the data with the ring's
// spaces before it. A match copies from at most kFarthest bytes back, also from
// the spaces, and may run into the bytes it makes.
std::vector<Match> LongestMatches(const std::vector<std::uint8_t>& text) {
  const int size = static_cast<int>(text.size());
  std::vector<Match> matches(static_cast<size_t>(size - kFirstWrite));
  // Places are chained by their first three bytes, each to the last place before
  // it with the same hash. The first kRun places hold three spaces each: their
  // chain, each to the place before it, is not stored, nor walked through.
  constexpr int kRun = kFirstWrite - kShortest + 1;
  // The last place of each hash so far, -1 for none: the table of the thread,
  // kept for its next text and put back to -1 where this one used it, so that a
  // short text (each block of a book is one) fills no 256 KiB.
  thread_local std::vector<int> head(1 << 16, -1);
  std::vector<int> previous(static_cast<size_t>(size - kRun), -1);  // of the places from kRun on
  const auto before = [&](int from) { return from < kRun ? from - 1 : previous[static_cast<size_t>(from - kRun)]; };
  const auto hash = [&](int at) { return (text[at] << 8 ^ text[at + 1] << 4 ^ text[at + 2]) & 0xFFFF; };
  const int spaces = hash(0);
  head[spaces] = kRun - 1;
  for (int at = kRun; at + kShortest <= size; ++at) {
    const int key = hash(at);
    if (at >= kFirstWrite) {
      Match& best = matches[static_cast<size_t>(at - kFirstWrite)];
      const int most = std::min(kLongest, size - at);
      int tried = 0;
      for (int from = head[key]; from >= 0 && at - from <= kFarthest && tried < kCandidates && best.length < most;
           from = before(from), ++tried) {
        int length = 0;
        while (length < most && text[from + length] == text[at + length]) ++length;
        if (length > best.length) best = {length, from};
      }
      if (best.length < kShortest) best = Match();
    }
    previous[static_cast<size_t>(at - kRun)] = head[key];
    head[key] = at;
  }
  head[spaces] = -1;
  for (int at = kRun; at + kShortest <= size; ++at) head[hash(at)] = -1;
  return matches;
}

}  // namespace

std::vector<std::uint8_t> LzssCompressSmaller(const std::uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFFu - kFirstWrite) throw std::length_error("LzssCompressSmaller: input too large");
  std::vector<std::uint8_t> text(kFirstWrite + size, ' ');
  for (size_t i = 0; i < size; ++i) text[kFirstWrite + i] = data[i];
  const std::vector<Match> matches = LongestMatches(text);

  // From the end back: the fewest bits from each byte on, and the length taken
  // there (1 for a literal).
  const size_t n = size;
  std::vector<std::uint32_t> bits(n + 1, 0);
  std::vector<std::uint8_t> take(n, 1);
  for (size_t i = n; i-- > 0;) {
    bits[i] = kLiteralBits + bits[i + 1];
    for (int length = kShortest; length <= matches[i].length; ++length) {
      const std::uint32_t cost = kPairBits + bits[i + static_cast<size_t>(length)];
      if (cost < bits[i]) {
        bits[i] = cost;
        take[i] = static_cast<std::uint8_t>(length);
      }
    }
  }

  std::vector<std::uint8_t> out;
  out.reserve(n + n / 8 + 1);
  size_t flags = 0;
  int items = 8;
  for (size_t i = 0; i < n; i += take[i]) {
    if (items == 8) {
      flags = out.size();
      out.push_back(0);
      items = 0;
    }
    if (take[i] == 1) {
      out[flags] |= static_cast<std::uint8_t>(1 << items);
      out.push_back(data[i]);
    } else {
      const int ring = matches[i].from % kRing;
      out.push_back(static_cast<std::uint8_t>(ring & 0xFF));
      out.push_back(static_cast<std::uint8_t>(((ring >> 4) & 0xF0) | (take[i] - kShortest)));
    }
    ++items;
  }
  return out;
}

}  // namespace orva::writer
