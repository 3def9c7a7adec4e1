// CObList: the framework's doubly linked list of CObject pointers. It holds the
// pointers only and never deletes what they point to.
#pragma once

#include "platform/object.h"

// An opaque place in a CObList; null is "no place".
using POSITION = struct __POSITION*;

class CObList : public CObject {
 public:
  // The block size of the framework's node allocator; kept for the interface, the
  // list allocates one node per element.
  explicit CObList(int blockSize = 10);
  ~CObList() override;
  CObList(const CObList&) = delete;
  CObList& operator=(const CObList&) = delete;

  int GetCount() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }

  POSITION AddTail(CObject* element);
  POSITION AddHead(CObject* element);
  void RemoveAt(POSITION position);
  void RemoveAll();

  POSITION GetHeadPosition() const;
  POSITION GetTailPosition() const;
  // Returns the element at `position` and advances `position` (null after the tail).
  CObject*& GetNext(POSITION& position);
  CObject* GetAt(POSITION position) const;
  // The first place at or after `after` (from the head when null) holding `element`.
  POSITION Find(CObject* element, POSITION after = nullptr) const;

 private:
  struct Node;
  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  int m_count = 0;
};
