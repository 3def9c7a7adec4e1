#include "web/answer_cache.h"

namespace orva::web {

std::shared_ptr<const AnswerCache::Answer> AnswerCache::Find(const std::string& key) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_index.find(key);
  if (found == m_index.end()) return nullptr;
  m_recent.splice(m_recent.begin(), m_recent, found->second);
  return found->second->second;
}

void AnswerCache::Keep(const std::string& key, std::shared_ptr<const Answer> answer) {
  const std::size_t size = key.size() + answer->body.size() + 64;
  if (size > m_bound / 16) return;
  const std::lock_guard<std::mutex> lock(m_mutex);
  if (m_index.count(key) != 0) return;  // another thread asked the same meanwhile
  m_recent.emplace_front(key, std::move(answer));
  m_index.emplace(key, m_recent.begin());
  m_bytes += size;
  while (m_bytes > m_bound) {
    m_bytes -= SizeOf(m_recent.back());
    m_index.erase(m_recent.back().first);
    m_recent.pop_back();
  }
}

std::size_t AnswerCache::Bytes() const {
  const std::lock_guard<std::mutex> lock(m_mutex);
  return m_bytes;
}

}  // namespace orva::web
