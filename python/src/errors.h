// The exceptions of the Python module and the one place where every C++ failure
// becomes a Python exception.
//
// orvada.Error (under Exception) is the base of the module's own exceptions:
//   BookNotFound  a folder that holds no book, a book file that cannot be opened
//   DamagedBook   a book file that is malformed or ends early (the library's file
//                 exception with cause 1 or 14)
//   BadReference  a reference that names nothing in the book
// Each carries the library's message; one raised from a file exception also its
// cause as the attribute `cause` (None on the others).
//
// Translation, by what C++ raised:
//   CFileException*      cause 1 or 14 DamagedBook; 2 (no such file) or 3 (bad
//                        path) BookNotFound; any other cause Error
//   CMemoryException*, std::bad_alloc   MemoryError
//   other CException*    Error
//   ClassedError         its class
//   orva::query::BookError   Error (WithBookErrorAs gives it a closer class)
//   any other std::exception, anything else   Error
// The framework's exceptions are deleted here. pybind11's own exceptions (argument
// conversions, a Python exception passing back through C++) pass unchanged.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "query/book_access.h"

namespace orvada_python {

// Creates the exception classes in `module` and registers the translation.
void RegisterErrors(pybind11::module_& module);

// The Python classes, once RegisterErrors has run.
PyObject* ErrorClass();
PyObject* BookNotFoundClass();
PyObject* DamagedBookClass();
PyObject* BadReferenceClass();

// An error whose Python class the code that raises it has chosen.
struct ClassedError {
  PyObject* pythonClass;  // one of the classes above
  std::string message;
};

// Runs `call`; a BookError it raises goes on as a ClassedError of `pythonClass`:
// the call says what its failure means (opening a folder: BookNotFound).
template <class Call>
auto WithBookErrorAs(PyObject* pythonClass, Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const orva::query::BookError& e) {
    throw ClassedError{pythonClass, e.what()};
  }
}

}  // namespace orvada_python
