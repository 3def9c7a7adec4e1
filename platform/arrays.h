// The framework's arrays: CArray<TYPE, ARG_TYPE> and its fixed instances
// CStringArray, CUIntArray and CWordArray.
//
// Indexes are ints. An index outside the array raises CFileException(generic)
// instead of reading outside it; allocation failure raises CMemoryException.
// Growth follows the framework's rule: when the array must grow beyond its
// capacity, the new capacity is the larger of the requested size and the old
// capacity plus the growth step, which (unless given to SetSize) is the current
// size / 8, at least 4 and at most 1024. Beyond that rule the capacity at least
// grows by half, so that appending n elements one by one copies O(n) elements in
// all (a fixed step would make it quadratic). Capacity is not observable.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/types.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  int GetSize() const { return static_cast<int>(m_data.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty() ? TRUE : FALSE; }

  // Resizes to `newSize` (a negative size counts as 0): new elements are
  // value-initialised, elements beyond the new size are destroyed, and a size of 0
  // releases the storage. A positive `growBy` sets the growth step for later growth.
  void SetSize(int newSize, int growBy = -1) {
    if (growBy > 0) m_growBy = growBy;
    if (newSize <= 0) {
      std::vector<TYPE>().swap(m_data);
      return;
    }
    const size_t size = static_cast<size_t>(newSize);
    Reserve(size);
    AfxAllocating([&] { m_data.resize(size); });
  }
  void RemoveAll() { SetSize(0); }

  TYPE GetAt(int index) const { return m_data[Checked(index)]; }
  void SetAt(int index, ARG_TYPE value) { m_data[Checked(index)] = value; }
  TYPE& ElementAt(int index) { return m_data[Checked(index)]; }
  TYPE& operator[](int index) { return ElementAt(index); }
  const TYPE& operator[](int index) const { return m_data[Checked(index)]; }
  const TYPE* GetData() const { return m_data.data(); }
  TYPE* GetData() { return m_data.data(); }

  // Sets element `index`, growing the array to index + 1 first when needed.
  void SetAtGrow(int index, ARG_TYPE value) {
    if (index < 0) AfxThrowFileException(CFileException::generic);
    if (index >= GetSize()) SetSize(index + 1);
    m_data[static_cast<size_t>(index)] = value;
  }
  // Appends `value` and returns its index.
  int Add(ARG_TYPE value) {
    const int index = GetSize();
    SetAtGrow(index, value);
    return index;
  }
  void Copy(const CArray& source) {
    if (this != &source) AfxAllocating([&] { m_data = source.m_data; });
  }
  void RemoveAt(int index, int count = 1) {
    const size_t first = Checked(index);
    const size_t last = std::min(m_data.size(), first + static_cast<size_t>(std::max(count, 0)));
    m_data.erase(m_data.begin() + static_cast<std::ptrdiff_t>(first),
                 m_data.begin() + static_cast<std::ptrdiff_t>(last));
  }

 private:
  size_t Checked(int index) const {
    if (index < 0 || index >= GetSize()) AfxThrowFileException(CFileException::generic);
    return static_cast<size_t>(index);
  }
  void Reserve(size_t size) {
    if (size <= m_data.capacity()) return;
    size_t step = static_cast<size_t>(m_growBy);
    if (m_growBy <= 0) step = std::clamp<size_t>(m_data.size() / 8, 4, 1024);
    const size_t capacity = m_data.capacity();
    AfxAllocating([&] { m_data.reserve(std::max({size, capacity + step, capacity + capacity / 2})); });
  }

  std::vector<TYPE> m_data;
  int m_growBy = -1;
};

class CStringArray : public CArray<CString, const CString&> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CWordArray : public CArray<WORD, WORD> {};
