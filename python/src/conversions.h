// The Python types of the raw layer and how C++ values become them, both ways.
//
// - 8-bit text of a book (areas, names, words of the sync files, tagged and
//   packaged strings, flattened buffers) is bytes: the library knows it only as
//   bytes in some code page. Arguments of that kind take bytes, or a str of ASCII
//   characters (the same bytes in every code page of the language library).
// - The host's own strings (paths, identifiers, names it sets on a book object)
//   are str, as os.fsencode and os.fsdecode convert them: UTF-8, with bytes that
//   are not UTF-8 kept as surrogate escapes. Arguments take str, bytes or a path.
// - A cLanguageString is a LanguageString: its text as str (the 16-bit
//   characters read as UTF-16; a lone surrogate stays one, so every string comes
//   back as it went) and a language id for each 16-bit character.
// - Arrays are lists; integers are int; BOOL results are bool.
#pragma once

#include <pybind11/pybind11.h>

#include "orvada.h"

namespace orvada_python {

// bytes, bytearray or an ASCII str as a CString (zero bytes kept); TypeError or
// ValueError otherwise.
CString Bytes8(pybind11::handle value);
pybind11::bytes ToBytes(const CString& text);
pybind11::bytes ToBytes(const char* data, size_t length);

// str, bytes or an os.PathLike as the host string os.fsencode makes of it.
CString HostString(pybind11::handle value);
pybind11::str FromHostString(const char* text);

// A list of byte strings (each as Bytes8) as a string array, and back.
void ToStringArray(pybind11::handle list, CStringArray& strings);
pybind11::list FromStringArray(const CStringArray& strings);

// str as 16-bit characters, each in `language`; a language string's characters as str.
cLanguageString ToLanguageString(pybind11::handle text, unsigned short language);
pybind11::str TextOf(const cLanguageString& text);

// A CArray of numbers as a list of int.
template <class Array>
pybind11::list ToList(const Array& values) {
  pybind11::list list(values.GetSize());
  for (int i = 0; i < values.GetSize(); ++i) list[i] = pybind11::int_(values[i]);
  return list;
}

// Frees what the library handed over from ::operator new.
struct OperatorDelete {
  void operator()(char* p) const { ::operator delete(p); }
};

// A key argument: any int from -2^31 to 2^32 - 1, as the library's int (keys that
// come back from key lists are unsigned, the members take them signed).
int KeyArgument(long long key);

}  // namespace orvada_python
