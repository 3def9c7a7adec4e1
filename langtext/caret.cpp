#include "orvada/caret.h"

CaretPos& CaretPos::operator=(const CaretPos& other) {
  m_index = other.m_index;
  m_after = other.m_after;
  return *this;
}

void CaretPos::Index(int index, int after) {
  m_index = static_cast<UINT>(index);
  m_after = after;
}

void CaretPos::operator++(int) {
  if (AtBeginning()) {
    m_after = 1;
  } else {
    ++m_index;
  }
}

void CaretPos::operator--(int) {
  if (m_index == 0) {
    m_after = 0;
  } else {
    --m_index;
  }
}

// The same as |n| single steps, in constant time. Forward, the index only grows,
// except that the step that arrives at index 0 with the flag 0 (the beginning,
// reached by wrapping past the last unsigned index) makes the next step set the
// flag instead. Back, the index only shrinks until 0, where every further step
// clears the flag.
void CaretPos::Step(long long n) {
  if (n > 0) {
    unsigned long long left = static_cast<unsigned long long>(n);
    if (m_after == 0) {
      // Steps until the index wraps to 0 (the beginning); at index 0, none.
      const unsigned long long toBeginning = m_index == 0 ? 0 : (1ull << 32) - m_index;
      if (left <= toBeginning) {
        m_index += static_cast<UINT>(left);
        return;
      }
      left -= toBeginning;
      m_index = 0;
      m_after = 1;  // the step taken from the beginning
      --left;
    }
    m_index += static_cast<UINT>(left);
  } else if (n < 0) {
    const unsigned long long back = static_cast<unsigned long long>(-n);
    if (back <= m_index) {
      m_index -= static_cast<UINT>(back);
    } else {
      m_index = 0;
      m_after = 0;
    }
  }
}

void CaretPos::operator+=(int n) { Step(n); }

void CaretPos::operator-=(int n) { Step(-static_cast<long long>(n)); }

BOOL CaretPos::operator==(const CaretPos& other) const {
  return (m_index == other.m_index && m_after == other.m_after) ? TRUE : FALSE;
}

BOOL CaretPos::operator!=(const CaretPos& other) const { return *this == other ? FALSE : TRUE; }

BOOL CaretPos::operator<(const CaretPos& other) const {
  return (m_index < other.m_index || (m_index == other.m_index && m_after < other.m_after)) ? TRUE : FALSE;
}

BOOL CaretPos::operator<=(const CaretPos& other) const { return (*this < other || *this == other) ? TRUE : FALSE; }

BOOL CaretPos::operator>(const CaretPos& other) const { return other < *this; }

BOOL CaretPos::operator>=(const CaretPos& other) const { return other <= *this; }

DirectionalCaret& DirectionalCaret::operator=(const DirectionalCaret& other) {
  for (int i = 0; i < 4; ++i) m_dwField[i] = other.m_dwField[i];
  return *this;
}

ILIWrapper& ILIWrapper::operator=(const ILIWrapper& other) {
  m_dwValue = other.m_dwValue;
  return *this;
}
