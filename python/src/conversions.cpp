#include "python/src/conversions.h"

#include <climits>
#include <string>
#include <vector>

namespace py = pybind11;

namespace orvada_python {

namespace {

CString FromPythonBytes(py::handle bytes) {
  char* data = nullptr;
  Py_ssize_t length = 0;
  if (PyBytes_AsStringAndSize(bytes.ptr(), &data, &length) != 0) throw py::error_already_set();
  if (length > INT_MAX) throw py::value_error("a string of 2 GiB or more");
  return CString(data, static_cast<int>(length));
}

}  // namespace

CString Bytes8(py::handle value) {
  if (PyBytes_Check(value.ptr())) return FromPythonBytes(value);
  if (PyByteArray_Check(value.ptr())) return FromPythonBytes(py::bytes(py::reinterpret_borrow<py::object>(value)));
  if (PyUnicode_Check(value.ptr())) {
    py::object ascii = py::reinterpret_steal<py::object>(PyUnicode_AsASCIIString(value.ptr()));
    if (!ascii) {
      PyErr_Clear();
      throw py::value_error("8-bit text of a book: pass bytes (a str must be ASCII)");
    }
    return FromPythonBytes(ascii);
  }
  throw py::type_error("expected bytes or an ASCII str");
}

py::bytes ToBytes(const CString& text) {
  return py::bytes(static_cast<const char*>(text), static_cast<size_t>(text.GetLength()));
}

py::bytes ToBytes(const char* data, size_t length) { return py::bytes(data, length); }

CString HostString(py::handle value) {
  PyObject* encoded = nullptr;
  if (PyUnicode_FSConverter(value.ptr(), &encoded) == 0) throw py::error_already_set();
  return FromPythonBytes(py::reinterpret_steal<py::object>(encoded));
}

py::str FromHostString(const char* text) {
  PyObject* decoded = PyUnicode_DecodeFSDefault(text);
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(decoded);
}

void ToStringArray(py::handle list, CStringArray& strings) {
  std::vector<CString> converted;
  for (py::handle item : list) converted.push_back(Bytes8(item));
  strings.RemoveAll();
  for (const CString& s : converted) strings.Add(s);
}

py::list FromStringArray(const CStringArray& strings) {
  py::list list(strings.GetSize());
  for (int i = 0; i < strings.GetSize(); ++i) list[i] = ToBytes(strings[i]);
  return list;
}

cLanguageString ToLanguageString(py::handle text, unsigned short language) {
  py::object units =
      py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(text.ptr(), "utf-16-le", "surrogatepass"));
  if (!units) throw py::error_already_set();
  const std::string bytes = py::bytes(units);
  if (bytes.size() / 2 > INT_MAX) throw py::value_error("a string of 2 Gi characters or more");
  std::vector<unsigned short> chars(bytes.size() / 2);
  for (size_t i = 0; i < chars.size(); ++i) {
    chars[i] = static_cast<unsigned short>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  cLanguageString result;
  result.AssignCopy(language, chars.data(), static_cast<int>(chars.size()));
  return result;
}

py::str TextOf(const cLanguageString& text) {
  const unsigned short* chars = text.GetString();
  std::string bytes(2 * static_cast<size_t>(text.GetLength()), '\0');
  for (size_t i = 0; i < text.GetLength(); ++i) {
    bytes[2 * i] = static_cast<char>(chars[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(chars[i] >> 8);
  }
  int byteOrder = -1;
  PyObject* decoded =
      PyUnicode_DecodeUTF16(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogatepass", &byteOrder);
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(decoded);
}

int KeyArgument(long long key) {
  if (key < INT_MIN || key > static_cast<long long>(UINT_MAX)) throw py::value_error("a key outside 32 bits");
  return static_cast<int>(static_cast<unsigned int>(key));
}

}  // namespace orvada_python
