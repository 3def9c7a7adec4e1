#include "writer/lzss_parse.h"

#include <algorithm>
#include <iterator>
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

// The data with the ring's spaces before it, its places counted from the first
// space. Of those kFirstWrite spaces only the last kLongest are held: a match
// from an earlier place copies spaces alone (it is at most kLongest bytes long),
// so a block of a book, whatever its size, fills no 4 KiB of spaces.
class Text {
 public:
  Text(const std::uint8_t* data, size_t size) : m_held(kLongest + size, ' ') {
    std::copy(data, data + size, m_held.begin() + kLongest);
    std::fill(std::begin(m_spaces), std::end(m_spaces), ' ');
  }
  int Size() const { return kUnheld + static_cast<int>(m_held.size()); }
  // The bytes from place `at` on, to the end or for kLongest bytes at least.
  const std::uint8_t* From(int at) const { return at >= kUnheld ? m_held.data() + (at - kUnheld) : m_spaces; }

 private:
  static constexpr int kUnheld = kFirstWrite - kLongest;
  std::vector<std::uint8_t> m_held;  // the last kLongest spaces and the data
  std::uint8_t m_spaces[kLongest];   // what every earlier place begins with
};

// The longest match at every byte of the data. A match copies from at most
// kFarthest bytes back, also from the spaces, and may run into the bytes it makes.
std::vector<Match> LongestMatches(const Text& text) {
  const int size = text.Size();
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
  const auto hash = [&](int at) {
    const std::uint8_t* bytes = text.From(at);
    return (bytes[0] << 8 ^ bytes[1] << 4 ^ bytes[2]) & 0xFFFF;
  };
  const int spaces = hash(0);
  head[spaces] = kRun - 1;
  for (int at = kRun; at + kShortest <= size; ++at) {
    const int key = hash(at);
    if (at >= kFirstWrite) {
      Match& best = matches[static_cast<size_t>(at - kFirstWrite)];
      const int most = std::min(kLongest, size - at);
      const std::uint8_t* const here = text.From(at);
      int tried = 0;
      for (int from = head[key]; from >= 0 && at - from <= kFarthest && tried < kCandidates && best.length < most;
           from = before(from), ++tried) {
        const std::uint8_t* const there = text.From(from);
        // Only a place that also holds the byte after the best match so far can
        // beat it: in a run of one byte, most places do not, nor are compared.
        if (there[best.length] != here[best.length]) continue;
        int length = 0;
        while (length < most && there[length] == here[length]) ++length;
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
  const std::vector<Match> matches = LongestMatches(Text(data, size));

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
