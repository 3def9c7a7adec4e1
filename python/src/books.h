// orvada.Book and orvada.Library: the query library's Book and Library
// (query/book.h, query/library.h) as Python objects. Each question releases the
// GIL while the query library answers it (holding its lock); the answers are the
// values of values.h.
#pragma once

#include <pybind11/pybind11.h>

#include "python/src/shelf.h"

namespace orvada_python {

// orvada.Book: a book folder of its own (owner), or a book of a library.
struct PyBook {
  BookRef ref;
  bool owner = false;  // close() closes the book; a library's book is only let go
  int strongs = -1;    // whether it has Strong's numbers, once asked: 0 or 1
};

void BindBook(pybind11::module_& module);
void BindLibrary(pybind11::module_& module);

}  // namespace orvada_python
