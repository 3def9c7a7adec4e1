// Position lists that the words of a language share, for a smaller coded
// concordance. A word's position lists need only lie at strictly ascending
// offsets in the order of its keys (its position directory codes the gaps
// between them), so one list of bytes (a count and the coded positions) can
// serve every word that has those positions at some key. Most lists are one of
// a few: a word that stands once, in the first words of its verse.
//
// The shared lists are a run of "periods", each period the most frequent lists,
// the more frequent ones more often (as often as the square root of their
// frequency, spread evenly), so that wherever a word stands in the run the list
// it needs next is near. A word walks the run from a place of its own (the
// walks spread over the run, so that no part of it is crowded), taking each
// list at its next place; a list that no period holds is put into the run where
// the word stands. Places that no word takes are left out. A word with many
// keys walks far, so words with more keys than a bound keep their lists to
// themselves, as do all words when sharing would not make the lists smaller.
// A few bounds and sizes of period are tried and the smallest result kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orva::writer {

// The position lists of one word, one per key in key order.
using WordLists = std::vector<std::vector<std::uint16_t>>;

struct SharedLists {
  // The bytes of the shared lists, one after the other; empty when no word
  // shares.
  std::vector<std::uint8_t> bytes;
  // Per word, where its lists begin in `bytes`, ascending; empty for a word that
  // keeps its lists to itself.
  std::vector<std::vector<std::uint32_t>> offsets;
};

// The coded position list of `positions` (ascending) in a language of position
// range `range`: its u16 count, then the coded list.
std::vector<std::uint8_t> CodedPositionList(const std::vector<std::uint16_t>& positions, std::uint16_t range);

// The shared lists of `words` (in the order they are written), for a language of
// position range `range`; the result is never larger, lists and directories
// counted, than every word's lists kept apart. Deterministic.
SharedLists ShareLists(const std::vector<const WordLists*>& words, std::uint16_t range);

}  // namespace orva::writer
