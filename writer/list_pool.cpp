#include "writer/list_pool.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "writer/golomb_writer.h"

namespace orva::writer {

namespace {

// The bytes of a word's position directory for lists at `offsets` (ascending).
size_t DirectorySize(const std::vector<std::uint32_t>& offsets) {
  const size_t keys = offsets.size();
  if (keys <= 1) return keys * 4;
  if (keys == 2) return 8;
  return 8 + CodedListSize(offsets.data() + 1, keys - 2, offsets.back() - offsets.front(),
                           static_cast<std::uint32_t>(keys), offsets.data());
}

// A fixed spread of the numbers of words, so that walks begin apart.
std::uint64_t Spread(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

class Pool {
 public:
  Pool(const std::vector<const WordLists*>& words, std::uint16_t range) {
    std::map<std::vector<std::uint16_t>, int> ids;
    for (const WordLists* word : words) {
      m_words.emplace_back();
      for (const std::vector<std::uint16_t>& list : *word) {
        const auto [at, added] = ids.emplace(list, static_cast<int>(m_lists.size()));
        if (added) m_lists.push_back(CodedPositionList(list, range));
        m_words.back().push_back(at->second);
      }
    }
  }

  size_t DistinctLists() const { return m_lists.size(); }
  // The most keys a word has.
  size_t MostKeys() const {
    size_t most = 0;
    for (const std::vector<int>& word : m_words) most = std::max(most, word.size());
    return most;
  }

  // Every word's lists kept apart: their bytes and directories.
  size_t ApartSize() const {
    size_t size = 0;
    for (size_t w = 0; w < m_words.size(); ++w) size += ApartSize(w);
    return size;
  }

  // Sharing the `distinct` most frequent lists among the words of at most
  // `mostKeys` keys: the shared bytes, where each word's lists are, and the
  // size in all.
  std::pair<SharedLists, size_t> Share(size_t distinct, size_t mostKeys) const {
    // The period: the most frequent lists, each as often as the square root of
    // its frequency, spread evenly.
    std::vector<size_t> frequency(m_lists.size(), 0);
    for (const std::vector<int>& word : m_words) {
      if (word.size() > mostKeys) continue;
      for (int id : word) ++frequency[static_cast<size_t>(id)];
    }
    std::vector<int> order;
    for (size_t id = 0; id < m_lists.size(); ++id) {
      if (frequency[id] > 0) order.push_back(static_cast<int>(id));
    }
    const auto byFrequency = [&](int a, int b) {
      return frequency[static_cast<size_t>(a)] != frequency[static_cast<size_t>(b)]
                 ? frequency[static_cast<size_t>(a)] > frequency[static_cast<size_t>(b)]
                 : a < b;
    };
    std::sort(order.begin(), order.end(), byFrequency);
    order.resize(std::min(order.size(), distinct));
    if (order.empty()) return {SharedLists(), ApartSize()};
    double roots = 0;
    for (int id : order) roots += std::sqrt(static_cast<double>(frequency[static_cast<size_t>(id)]));
    std::vector<std::pair<double, int>> events;
    for (int id : order) {
      const double times = std::sqrt(static_cast<double>(frequency[static_cast<size_t>(id)])) * 3 *
                           static_cast<double>(order.size()) / roots;
      const int n = std::max(1, static_cast<int>(std::lround(times)));
      for (int j = 0; j < n; ++j) events.emplace_back((j + 0.5) / n, id);
    }
    std::sort(events.begin(), events.end());
    const auto period = static_cast<std::int64_t>(events.size());
    std::vector<std::vector<std::int64_t>> places(m_lists.size());
    for (std::int64_t at = 0; at < period; ++at) places[static_cast<size_t>(events[static_cast<size_t>(at)].second)].push_back(at);
    // The next place after `at` that holds list `id`.
    const auto next = [&](std::int64_t at, int id) {
      const std::vector<std::int64_t>& in = places[static_cast<size_t>(id)];
      const std::int64_t from = at + 1, round = from / period;
      const auto found = std::lower_bound(in.begin(), in.end(), from % period);
      return found != in.end() ? round * period + *found : (round + 1) * period + in.front();
    };

    // Walks: how far each goes, then each from a place of its own.
    std::vector<std::int64_t> length(m_words.size(), 0);
    std::int64_t longest = 0;
    for (size_t w = 0; w < m_words.size(); ++w) {
      if (m_words[w].size() > mostKeys) continue;
      std::int64_t at = -1;
      for (int id : m_words[w]) {
        if (!places[static_cast<size_t>(id)].empty()) at = next(at, id);
      }
      length[w] = at + 1;
      longest = std::max(longest, length[w]);
    }
    // Per list a word takes: a place of the run (>= 0), or -1 - the number of a
    // list put in before place `point`.
    struct Put {
      std::int64_t point;
      int id;
    };
    std::vector<Put> put;
    std::vector<std::vector<std::int64_t>> taken(m_words.size());
    std::int64_t end = 0;
    for (size_t w = 0; w < m_words.size(); ++w) {
      if (m_words[w].size() > mostKeys || m_words[w].empty()) continue;
      // A word of one or two keys takes the first places that fit, as the others
      // like it do: their directories are then often the same, and written once.
      const std::int64_t room = m_words[w].size() > 2 ? longest - length[w] : 0;
      std::int64_t at = (room > 0 ? static_cast<std::int64_t>(Spread(w) % static_cast<std::uint64_t>(room)) : 0) - 1;
      for (int id : m_words[w]) {
        if (!places[static_cast<size_t>(id)].empty()) {
          at = next(at, id);
          taken[w].push_back(at);
        } else {
          taken[w].push_back(-1 - static_cast<std::int64_t>(put.size()));
          put.push_back({at + 1, id});
        }
        end = std::max(end, at + 1);
      }
    }
    // The run: at each place, the lists put in before it, then the place's list
    // when a word takes it.
    std::vector<bool> used(static_cast<size_t>(end), false);
    for (const std::vector<std::int64_t>& word : taken) {
      for (std::int64_t at : word) {
        if (at >= 0) used[static_cast<size_t>(at)] = true;
      }
    }
    std::vector<size_t> putOrder(put.size());
    for (size_t i = 0; i < put.size(); ++i) putOrder[i] = i;
    std::stable_sort(putOrder.begin(), putOrder.end(),
                     [&](size_t a, size_t b) { return put[a].point < put[b].point; });
    SharedLists shared;
    std::vector<std::uint32_t> placeOffset(static_cast<size_t>(end), 0), putOffset(put.size(), 0);
    size_t nextPut = 0;
    for (std::int64_t at = 0; at <= end; ++at) {
      for (; nextPut < putOrder.size() && put[putOrder[nextPut]].point == at; ++nextPut) {
        putOffset[putOrder[nextPut]] = static_cast<std::uint32_t>(shared.bytes.size());
        const std::vector<std::uint8_t>& list = m_lists[static_cast<size_t>(put[putOrder[nextPut]].id)];
        shared.bytes.insert(shared.bytes.end(), list.begin(), list.end());
      }
      if (at == end || !used[static_cast<size_t>(at)]) continue;
      placeOffset[static_cast<size_t>(at)] = static_cast<std::uint32_t>(shared.bytes.size());
      const std::vector<std::uint8_t>& list = m_lists[static_cast<size_t>(events[static_cast<size_t>(at % period)].second)];
      shared.bytes.insert(shared.bytes.end(), list.begin(), list.end());
    }
    size_t size = shared.bytes.size();
    shared.offsets.resize(m_words.size());
    for (size_t w = 0; w < m_words.size(); ++w) {
      if (taken[w].empty()) {
        size += ApartSize(w);
        continue;
      }
      for (std::int64_t at : taken[w]) {
        shared.offsets[w].push_back(at >= 0 ? placeOffset[static_cast<size_t>(at)]
                                            : putOffset[static_cast<size_t>(-1 - at)]);
      }
      size += DirectorySize(shared.offsets[w]);
    }
    return {std::move(shared), size};
  }

 private:
  size_t ApartSize(size_t w) const {
    std::vector<std::uint32_t> offsets;
    size_t size = 0;
    for (int id : m_words[w]) {
      offsets.push_back(static_cast<std::uint32_t>(size));
      size += m_lists[static_cast<size_t>(id)].size();
    }
    return size + DirectorySize(offsets);
  }

  std::vector<std::vector<std::uint8_t>> m_lists;  // the bytes of each distinct list
  std::vector<std::vector<int>> m_words;          // per word, its lists
};

}  // namespace

std::vector<std::uint8_t> CodedPositionList(const std::vector<std::uint16_t>& positions, std::uint16_t range) {
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(positions.size() & 0xFF),
                                     static_cast<std::uint8_t>(positions.size() >> 8)};
  if (positions.empty()) return bytes;
  const std::vector<std::uint8_t> coded = EncodeCodedList({positions.begin(), positions.end()}, range);
  bytes.insert(bytes.end(), coded.begin(), coded.end());
  return bytes;
}

SharedLists ShareLists(const std::vector<const WordLists*>& words, std::uint16_t range) {
  const Pool pool(words, range);
  SharedLists best;
  size_t smallest = pool.ApartSize();
  // A bound that no word or list reaches shares as the one below it does: a
  // larger one is not tried. A small book makes one try, not six.
  const size_t lists = pool.DistinctLists(), mostKeys = pool.MostKeys();
  for (size_t distinct : {48, 96}) {
    for (size_t keys : {1000, 3000, 6000}) {
      auto [shared, size] = pool.Share(distinct, keys);
      if (size < smallest) {
        smallest = size;
        best = std::move(shared);
      }
      if (mostKeys <= keys) break;
    }
    if (lists <= distinct) break;
  }
  return best;
}

}  // namespace orva::writer
