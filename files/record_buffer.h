// RecordBuffer: owns the buffer that cFileBase::GetVariableRecord hands out, so a
// reader frees it on every path, the exceptional ones included.
#pragma once

#include <new>

namespace orva {

class RecordBuffer {
 public:
  RecordBuffer() = default;
  ~RecordBuffer() { ::operator delete(m_data); }
  RecordBuffer(const RecordBuffer&) = delete;
  RecordBuffer& operator=(const RecordBuffer&) = delete;

  // The out-parameter for GetVariableRecord; frees what the buffer held before.
  void** Receive() {
    ::operator delete(m_data);
    m_data = nullptr;
    return &m_data;
  }
  const void* Data() const { return m_data; }

 private:
  void* m_data = nullptr;
};

}  // namespace orva
