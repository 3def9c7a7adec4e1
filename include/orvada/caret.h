// Caret value classes for host programs that edit or select text.
//
// CaretPos is a caret attached to one character of a string: before it (flag 0) or
// after it (flag 1). The beginning of the text is index 0 before. The position
// after character i and the one before character i + 1 are the same insertion
// point but different values: they compare unequal, the first being the smaller.
#pragma once

#include "platform/types.h"

class CaretPos {
 public:
  CaretPos() = default;
  CaretPos(CaretPos& other) : m_index(other.m_index), m_after(other.m_after) {}
  CaretPos(const CaretPos& other) : m_index(other.m_index), m_after(other.m_after) {}
  CaretPos& operator=(const CaretPos& other);

  BOOL IsAfter() const { return m_after; }
  BOOL IsBefore() const { return m_after == 0 ? TRUE : FALSE; }
  BOOL AtBeginning() const { return (m_index == 0 && m_after == 0) ? TRUE : FALSE; }
  // Where a character typed at the caret is inserted: index + flag.
  UINT InsertionIndex() { return m_index + static_cast<UINT>(m_after); }
  UINT Index() const { return m_index; }
  // Sets the index and the flag.
  void Index(int index, int after);

  // One step forward: from the beginning past the first character (index 0, after);
  // elsewhere the index grows by one and the flag stays.
  void operator++(int);
  // One step back: at index 0 to the beginning (which stays where it is); elsewhere
  // the index shrinks by one and the flag stays.
  void operator--(int);
  // n single steps forward (n >= 0) or -n back (n < 0), in constant time; -= the
  // other way round. The index is unsigned and wraps: a step forward from the last
  // index arrives at the beginning, so the next one sets the flag.
  void operator+=(int n);
  void operator-=(int n);

  // Ordered by index (unsigned), then by flag (signed).
  BOOL operator==(const CaretPos& other) const;
  BOOL operator!=(const CaretPos& other) const;
  BOOL operator<(const CaretPos& other) const;
  BOOL operator<=(const CaretPos& other) const;
  BOOL operator>(const CaretPos& other) const;
  BOOL operator>=(const CaretPos& other) const;

 private:
  void Step(long long n);

  UINT m_index = 0;
  LONG m_after = 0;
};

// Four 32-bit fields whose meaning lies with the host; only assignment is defined.
class DirectionalCaret {
 public:
  DirectionalCaret& operator=(const DirectionalCaret& other);

  DWORD m_dwField[4] = {0, 0, 0, 0};
};

// One 32-bit field whose meaning lies with the host; only assignment is defined.
class ILIWrapper {
 public:
  ILIWrapper& operator=(const ILIWrapper& other);

  DWORD m_dwValue = 0;
};
