#include "platform/oblist.h"

#include <new>

#include "platform/exceptions.h"

struct CObList::Node {
  Node* next;
  Node* prev;
  CObject* data;
};

namespace {

template <class NodeT>
POSITION ToPosition(NodeT* node) {
  return reinterpret_cast<POSITION>(node);
}

}  // namespace

CObList::CObList(int /*blockSize*/) {}

CObList::~CObList() { RemoveAll(); }

POSITION CObList::AddTail(CObject* element) {
  Node* node = AfxAllocating([&] { return new Node{nullptr, m_tail, element}; });
  (m_tail ? m_tail->next : m_head) = node;
  m_tail = node;
  ++m_count;
  return ToPosition(node);
}

POSITION CObList::AddHead(CObject* element) {
  Node* node = AfxAllocating([&] { return new Node{m_head, nullptr, element}; });
  (m_head ? m_head->prev : m_tail) = node;
  m_head = node;
  ++m_count;
  return ToPosition(node);
}

void CObList::RemoveAt(POSITION position) {
  Node* node = reinterpret_cast<Node*>(position);
  if (node == nullptr) return;
  (node->prev ? node->prev->next : m_head) = node->next;
  (node->next ? node->next->prev : m_tail) = node->prev;
  delete node;
  --m_count;
}

void CObList::RemoveAll() {
  while (m_head) RemoveAt(ToPosition(m_head));
}

POSITION CObList::GetHeadPosition() const { return ToPosition(m_head); }

POSITION CObList::GetTailPosition() const { return ToPosition(m_tail); }

CObject*& CObList::GetNext(POSITION& position) {
  Node* node = reinterpret_cast<Node*>(position);
  position = ToPosition(node->next);
  return node->data;
}

CObject* CObList::GetAt(POSITION position) const { return reinterpret_cast<Node*>(position)->data; }

POSITION CObList::Find(CObject* element, POSITION after) const {
  Node* node = after ? reinterpret_cast<Node*>(after)->next : m_head;
  for (; node; node = node->next) {
    if (node->data == element) return ToPosition(node);
  }
  return nullptr;
}
