// How orvada.Book and orvada.Library ask the query library (query/book.h,
// query/library.h), whose objects hold the library lock around each question
// themselves: with the GIL released, and with their BookError turned into the
// Python exception that says what failed.
#pragma once

#include <pybind11/pybind11.h>

#include "python/src/errors.h"
#include "python/src/library_call.h"
#include "python/src/shelf.h"
#include "query/book_access.h"

namespace orvada_python {

// Runs the question `ask` with the GIL released. A BookDamaged it raises becomes
// orvada.DamagedBook, any other BookError `failure` (the class that says what a
// failure of this question means), each with the library's message. Raises
// orvada.Error at once inside a hook of raw.BookBase: that thread holds the
// library lock already, and the query library's objects would wait for it.
template <class Question>
auto Ask(PyObject* failure, Question&& ask) -> decltype(ask()) {
  if (LibraryHeldHere()) {
    throw ClassedError{ErrorClass(), "a Book or Library cannot be asked inside a hook of raw.BookBase"};
  }
  DeletePendingBooks();
  try {
    pybind11::gil_scoped_release release;
    return ask();
  } catch (const orva::query::BookDamaged& e) {
    throw ClassedError{DamagedBookClass(), e.what()};
  } catch (const orva::query::BookError& e) {
    throw ClassedError{failure, e.what()};
  }
}

}  // namespace orvada_python
