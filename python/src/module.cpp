// The extension module orvada._orvada: the exceptions, Book, Library and their
// values, and orvada.raw. The package
// orvada (python/orvada/) gives them their public names.
#include <pybind11/pybind11.h>

#include "python/src/books.h"
#include "python/src/errors.h"
#include "python/src/raw.h"
#include "python/src/search.h"
#include "python/src/values.h"

namespace py = pybind11;

PYBIND11_MODULE(_orvada, module) {
  module.doc() = "The C++ part of the orvada package.";
  module.attr("__version__") = ORVADA_VERSION;
  orvada_python::RegisterErrors(module);
  orvada_python::BindValues(module);
  orvada_python::BindSearch(module);
  orvada_python::BindBook(module);
  orvada_python::BindLibrary(module);
  py::module_ raw = module.def_submodule("raw");
  // Its classes and functions are documented, and pickled, under their public name.
  raw.attr("__name__") = "orvada.raw";
  raw.doc() = R"(The reading library's own interface, for hosts that want what a C++ host has.

BookBase is the book object (cORVABookBase) with every member under its C++
name and contract (include/orvada/book_base.h), the functions of tagged and
packaged strings those of include/orvada/lang_text.h. Values take Python
types: 8-bit text of a book is bytes (arguments take ASCII str too), the
host's own strings (paths, identifiers) str, cLanguageString a LanguageString,
arrays lists. Results that C++ writes through pointers or references are
returned, several as a tuple. Failures raise orvada.Error and its subclasses.)";
  orvada_python::BindRawValues(raw);
  orvada_python::BindLanguageText(raw);
  orvada_python::BindBookBase(raw);
}
