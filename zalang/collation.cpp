// cLanguageString::Compare: the ordinal order and the three linguistic levels.
#include <algorithm>
#include <array>
#include <vector>

#include "platform/exceptions.h"
#include "zalang/char_data.h"
#include "zalang/language_string.h"

namespace {

using zalang::cCharData;

struct View {
  const unsigned short* chars;
  const unsigned short* ids;
  int length;
};

View ViewOf(const cLanguageString& s) {
  return {s.GetString(), s.GetLanguageIDs(), static_cast<int>(s.GetLength())};
}

int Order(unsigned a, unsigned b) { return a < b ? -1 : a > b ? 1 : 0; }

int CompareOrdinal(const View& a, const View& b) {
  const int common = std::min(a.length, b.length);
  for (int i = 0; i < common; ++i) {
    if (a.chars[i] != b.chars[i]) return Order(a.chars[i], b.chars[i]);
  }
  if (a.length != b.length) return Order(static_cast<unsigned>(a.length), static_cast<unsigned>(b.length));
  for (int i = 0; i < common; ++i) {
    if (a.ids[i] != b.ids[i]) return Order(a.ids[i], b.ids[i]);
  }
  return 0;
}

// The number of leading code units the two strings share.
int CommonPrefix(const View& a, const View& b) {
  const int common = std::min(a.length, b.length);
  int k = 0;
  while (k < common && a.chars[k] == b.chars[k]) ++k;
  return k;
}

// The weight of the next character that level 1 looks at, from `i` on; 0 at the end.
inline unsigned NextWeight(const cCharData& data, const View& s, int& i) {
  while (i < s.length) {
    const unsigned weight = data.Weight(s.chars[i++]);
    if (weight != 0) return weight;
  }
  return 0;
}

// Starts after the strings' common prefix, whose weights are the same in both.
int CompareLevel1(const cCharData& data, const View& a, const View& b, int common) {
  int i = common;
  int j = common;
  for (;;) {
    const unsigned wa = NextWeight(data, a, i);
    const unsigned wb = NextWeight(data, b, j);
    if (wa != wb || wa == 0) return Order(wa, wb);
  }
}

// A run of marks: a few in place, more on the heap.
class MarkRun {
 public:
  void Clear() {
    m_size = 0;
    m_heap.clear();
  }
  void Add(unsigned short mark) {
    if (m_size < m_local.size()) {
      m_local[m_size++] = mark;
      return;
    }
    AfxAllocating([&] {
      if (m_heap.empty()) m_heap.assign(m_local.begin(), m_local.end());
      m_heap.push_back(mark);
    });
    ++m_size;
  }
  void Sort() { std::sort(Data(), Data() + m_size); }
  int Compare(const MarkRun& o) const {
    const size_t common = std::min(m_size, o.m_size);
    for (size_t i = 0; i < common; ++i) {
      if (Data()[i] != o.Data()[i]) return Order(Data()[i], o.Data()[i]);
    }
    return Order(static_cast<unsigned>(m_size), static_cast<unsigned>(o.m_size));
  }

 private:
  unsigned short* Data() { return m_heap.empty() ? m_local.data() : m_heap.data(); }
  const unsigned short* Data() const { return m_heap.empty() ? m_local.data() : m_heap.data(); }

  std::array<unsigned short, 16> m_local{};
  std::vector<unsigned short> m_heap;
  size_t m_size = 0;
};

// The runs of marks of a string in turn: first the marks before its first base,
// then for each base the marks of its decomposition and the marks that follow it,
// each run in code-point order.
class MarkRuns {
 public:
  MarkRuns(const cCharData& data, const View& s) : m_data(data), m_s(s) {}

  // Fills `run` with the next run; false after the last.
  bool Next(MarkRun& run) {
    if (m_pos > m_s.length) return false;
    run.Clear();
    if (m_started) {
      const zalang::sDecomposed d = m_data.Decompose(m_s.chars[m_pos++]);
      for (int k = 0; k < d.markCount; ++k) run.Add(d.marks[k]);
    }
    m_started = true;
    while (m_pos < m_s.length && !m_data.IsBase(m_s.chars[m_pos])) {
      if (m_data.IsMark(m_s.chars[m_pos])) run.Add(m_s.chars[m_pos]);
      ++m_pos;
    }
    if (m_pos == m_s.length) m_pos = m_s.length + 1;
    run.Sort();
    return true;
  }

 private:
  const cCharData& m_data;
  View m_s;
  int m_pos = 0;
  bool m_started = false;
};

bool CarriesMarks(const cCharData& data, const View& s) {
  for (int i = 0; i < s.length; ++i) {
    if (data.CarriesMarks(s.chars[i])) return true;
  }
  return false;
}

// Called when level 1 found the strings equal, so they have as many bases and runs.
int CompareLevel2(const cCharData& data, const View& a, const View& b) {
  if (!CarriesMarks(data, a) && !CarriesMarks(data, b)) return 0;
  MarkRuns runsA(data, a);
  MarkRuns runsB(data, b);
  MarkRun runA;
  MarkRun runB;
  for (;;) {
    const bool moreA = runsA.Next(runA);
    const bool moreB = runsB.Next(runB);
    if (!moreA || !moreB) return Order(moreA, moreB);
    if (const int order = runA.Compare(runB)) return order;
  }
}

// Upper case sorts first: the key of a base is 0 for upper case, 1 otherwise.
int CompareLevel3(const cCharData& data, const View& a, const View& b) {
  int i = 0;
  int j = 0;
  for (;;) {
    while (i < a.length && !data.IsBase(a.chars[i])) ++i;
    while (j < b.length && !data.IsBase(b.chars[j])) ++j;
    if (i == a.length || j == b.length) return Order(i < a.length, j < b.length);
    const bool lowerA = !data.IsUpperBase(a.chars[i++]);
    const bool lowerB = !data.IsUpperBase(b.chars[j++]);
    if (lowerA != lowerB) return Order(lowerA, lowerB);
  }
}

// Characters U+0001-U+007F carry no marks and no decompositions, every one is a
// base, and only A-Z have a lower case: strings of them compare at every level
// without the character tables, which a process would otherwise build first.
bool IsAscii(const View& s) {
  for (int i = 0; i < s.length; ++i) {
    if (s.chars[i] == 0 || s.chars[i] >= 0x80) return false;
  }
  return true;
}

bool IsAsciiUpper(unsigned short c) { return c >= 'A' && c <= 'Z'; }
unsigned AsciiWeight(unsigned short c) { return IsAsciiUpper(c) ? c + ('a' - 'A') : c; }

// Compare for two ASCII strings that differ after their common prefix.
int CompareAscii(const View& a, const View& b, int common, int collate) {
  const int shorter = std::min(a.length, b.length);
  for (int i = common; i < shorter; ++i) {
    const unsigned wa = AsciiWeight(a.chars[i]);
    const unsigned wb = AsciiWeight(b.chars[i]);
    if (wa != wb) return Order(wa, wb);
  }
  if (a.length != b.length) return Order(static_cast<unsigned>(a.length), static_cast<unsigned>(b.length));
  if (!collate) return 0;
  for (int i = common; i < shorter; ++i) {  // upper case first
    const bool lowerA = !IsAsciiUpper(a.chars[i]);
    const bool lowerB = !IsAsciiUpper(b.chars[i]);
    if (lowerA != lowerB) return Order(lowerA, lowerB);
  }
  return CompareOrdinal(a, b);
}

}  // namespace

int cLanguageString::Compare(const cLanguageString& other, int options, int collate) const {
  const View a = ViewOf(*this);
  const View b = ViewOf(other);
  if (options & 1) return CompareOrdinal(a, b);
  // Identical characters are equal at every linguistic level.
  const int common = CommonPrefix(a, b);
  if (common == a.length && common == b.length) return collate ? CompareOrdinal(a, b) : 0;
  if (IsAscii(a) && IsAscii(b)) return CompareAscii(a, b, common, collate);
  const cCharData& data = cCharData::Get();
  if (const int order = CompareLevel1(data, a, b, common)) return order;
  if (const int order = CompareLevel2(data, a, b)) return order;
  if (!collate) return 0;
  if (const int order = CompareLevel3(data, a, b)) return order;
  return CompareOrdinal(a, b);
}

int cLanguageString::DecomposedLength() const {
  const cCharData& data = cCharData::Get();
  const View s = ViewOf(*this);
  int length = 0;
  for (int i = 0; i < s.length; ++i) length += 1 + data.Decompose(s.chars[i]).markCount;
  return length;
}
