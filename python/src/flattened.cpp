#include "python/src/flattened.h"

#include <pybind11/pybind11.h>

#include <climits>
#include <cstdint>

#include "files/endian.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

constexpr size_t kRecordFixed = 42;  // the keys, the name length and the sync data
constexpr size_t kNameLengthAt = 32;

const unsigned char* Bytes(const std::string& buffer) { return reinterpret_cast<const unsigned char*>(buffer.data()); }

// Checks the record of `size` bytes at `at` (which holds at least `size`).
void CheckRecord(const unsigned char* at, size_t size) {
  if (size < kRecordFixed) throw py::value_error("a flattened section record shorter than 42 bytes");
  const std::uint32_t nameLength = orva::DecodeU32(at + kNameLengthAt);
  if (nameLength > size - kRecordFixed || nameLength > INT_MAX) {
    throw py::value_error("a flattened section record whose name runs past its end");
  }
}

}  // namespace

void CheckFlattenedSection(const std::string& buffer) { CheckRecord(Bytes(buffer), buffer.size()); }

void CheckFlattenedSections(const std::string& buffer) {
  if (buffer.size() < 4) throw py::value_error("a flattened section array shorter than its count");
  const std::uint32_t count = orva::DecodeU32(Bytes(buffer));
  size_t remaining = buffer.size() - 4;
  if (count > remaining / (4 + kRecordFixed))
    throw py::value_error("a flattened section array too short for its count");
  const unsigned char* at = Bytes(buffer) + 4;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (remaining < 4) throw py::value_error("a flattened section array that ends early");
    const std::uint32_t size = orva::DecodeU32(at);
    if (remaining - 4 < size) throw py::value_error("a flattened section array that ends early");
    CheckRecord(at + 4, size);
    at += 4 + static_cast<size_t>(size);
    remaining -= 4 + static_cast<size_t>(size);
  }
}

void CheckFlattenedStrings(const std::string& buffer) {
  if (buffer.size() < 8) throw py::value_error("a flattened string array shorter than its count and length");
  const std::uint32_t length = orva::DecodeU32(Bytes(buffer) + 4);
  if (length > buffer.size() - 8) throw py::value_error("a flattened string array shorter than its length");
}

}  // namespace orvada_python
