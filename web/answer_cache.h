// The API's answers kept for the next request that asks the same: a library
// does not change while it is served, so an answer is the same every time. The
// least recently used answers go first once the answers kept pass a bound in
// bytes. Safe from several threads (a lock of its own, held for a look-up or an
// insertion, never while the library is asked).
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace orva::web {

class AnswerCache {
 public:
  struct Answer {
    int status = 200;
    std::string body;
  };

  // Keeps answers of at most `bytes` bytes in all (0: keeps none).
  explicit AnswerCache(std::size_t bytes) : m_bound(bytes) {}

  // The answer kept for `key`, or null.
  std::shared_ptr<const Answer> Find(const std::string& key);
  // Keeps `answer` for `key` (not when it alone is larger than a sixteenth of
  // the bound), dropping the least recently used answers to stay in the bound.
  void Keep(const std::string& key, std::shared_ptr<const Answer> answer);

  std::size_t Bytes() const;

 private:
  using Entry = std::pair<std::string, std::shared_ptr<const Answer>>;
  static std::size_t SizeOf(const Entry& entry) { return entry.first.size() + entry.second->body.size() + 64; }

  const std::size_t m_bound;
  mutable std::mutex m_mutex;
  std::list<Entry> m_recent;  // the most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
  std::size_t m_bytes = 0;
};

}  // namespace orva::web
