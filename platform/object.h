// Root of the framework's class tree: everything a framework container holds derives
// from it, and it gives every class a virtual destructor.
#pragma once

class CObject {
 public:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
  virtual ~CObject() = default;
};
