// orvada.raw: the reading library's own interface, the book object and the
// language text functions, with the Python types of conversions.h. Each member
// keeps its C++ name and contract (include/orvada/); what differs is said in its
// docstring: results that C++ writes through pointers or references are
// returned (several as a tuple), buffers are sized by the binding.
#pragma once

#include <pybind11/pybind11.h>

namespace orvada_python {

// The record classes, SectionsData and LanguageString.
void BindRawValues(pybind11::module_& raw);
// The language text functions, the message handler, versions and constants.
void BindLanguageText(pybind11::module_& raw);
// BookBase.
void BindBookBase(pybind11::module_& raw);

}  // namespace orvada_python
