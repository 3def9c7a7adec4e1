#include "sync/word_prefix.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "files/file_checks.h"
#include "langtext/tagged_string.h"

namespace {

constexpr long long kWindow = kLanguageTagWindow;

}  // namespace

cWordPrefix::cWordPrefix(cFileBase& file) : m_file(file), m_fileLength(file.GetFileLength()) {}

unsigned char cWordPrefix::Refill(long long position) {
  if (position >= m_fileLength) return 0;
  // A few bytes before the position too: the search for a run's last tag steps back.
  m_windowStart = std::max<long long>(0, position - kWindow);
  m_windowSize = static_cast<size_t>(std::min<long long>(sizeof m_window, m_fileLength - m_windowStart));
  orva::ReadBytesAt(m_file, m_windowStart, m_window, static_cast<UINT>(m_windowSize));
  return m_window[position - m_windowStart];
}

const unsigned char* cWordPrefix::Bytes(long long position, int count) {
  if (position < m_windowStart || position + count > m_windowStart + static_cast<long long>(m_windowSize)) {
    Refill(position);
  }
  return m_window + (position - m_windowStart);
}

long long cWordPrefix::ParseTag(long long position, long long end, unsigned short& language) {
  if (At(position) != ORVA_LANGUAGE_TAG_START) return -1;
  // The parse reads no further than the window: a copy of it stands for the text.
  char text[kWindow + 1];
  const int size = static_cast<int>(std::min({kWindow, end - position, m_fileLength - position}));
  std::memcpy(text, Bytes(position, size), static_cast<size_t>(size));
  text[size] = 0;
  int at = 0;
  if (!ParseLanguageTag(text, at, language)) return -1;
  return position + at + (text[at] != 0 ? 1 : 0);
}

cWordPrefix::Run cWordPrefix::RunFrom(long long position) {
  // A run known to hold the position: in a run every '<' starts a tag (language
  // names hold no '<'), so the run from there ends where the known one does.
  auto known = m_runs.upper_bound(position);
  if (known != m_runs.begin() && position < std::prev(known)->second.end) return std::prev(known)->second;
  Run run{position, 0};
  for (long long at = position;;) {
    // A walk that meets a known run meets its first tag: the run joins this one.
    known = m_runs.find(at);
    if (known != m_runs.end()) {
      run = known->second;
      m_runs.erase(known);
      break;
    }
    unsigned short language = 0;
    const long long next = ParseTag(at, m_fileLength, language);
    if (next < 0) {
      run.end = at;
      break;
    }
    run.language = language;
    at = next;
  }
  if (run.end != position) AfxAllocating([&] { m_runs.emplace(position, run); });
  return run;
}

long long cWordPrefix::SkipTags(long long position, long long end, unsigned short& language) {
  // Near the word's end a tag may be cut short by it: parse there within the word.
  if (end - position < kWindow) return ParseTag(position, end, language);
  // Far from it the tag reads only bytes of the word, as the run does.
  const Run run = RunFrom(position);
  if (run.end == position) return -1;
  if (end - run.end >= kWindow) {
    language = run.language;
    return run.end;
  }
  // The run reaches the word's last bytes: cross it up to its last tag that starts
  // far from the end, the last '<' at or before end - kWindow (language names hold
  // no '<', so in a run every '<' starts a tag, and tags are at most kWindow bytes
  // long), and go on from there within the word.
  long long last = end - kWindow;
  while (last > position && At(last) != ORVA_LANGUAGE_TAG_START) --last;
  return ParseTag(last, end, language);
}

void cWordPrefix::Convert(long long start, int length, int limit, cLanguageString& out) {
  out.Empty(0);
  m_pending.clear();
  unsigned short language = cLanguageString::kDefaultLanguage;
  const auto flush = [&] {
    if (m_pending.empty()) return;
    m_piece.SingleByteToWideChar(m_pending.data(), language, static_cast<unsigned>(m_pending.size()));
    out += m_piece;
    m_pending.clear();
  };
  const long long end = start + length;
  int taken = 0;
  for (long long at = start; at < end && taken < limit;) {
    const unsigned char byte = At(at);
    if (byte == 0) break;
    if (byte == ORVA_LANGUAGE_TAG_START) {
      unsigned short tagged = language;
      const long long next = SkipTags(at, end, tagged);
      if (next >= 0) {
        if (tagged != language) flush();
        language = tagged;
        at = next;
        continue;
      }
    }
    AfxAllocating([&] { m_pending += static_cast<char>(byte); });
    ++taken;
    ++at;
  }
  flush();
}
