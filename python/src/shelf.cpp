#include "python/src/shelf.h"

#include <pybind11/pybind11.h>

#include "python/src/errors.h"

namespace orvada_python {

void Shelf::Close() {
  if (!IsOpen()) return;
  if (!PyGILState_Check()) {
    m_book.reset();
    m_library.reset();
    return;
  }
  pybind11::gil_scoped_release release;
  m_book.reset();
  m_library.reset();
}

orva::query::Book& BookRef::Get() const {
  if (book == nullptr || !shelf || !shelf->IsOpen()) throw ClassedError{ErrorClass(), "the book is closed"};
  return *book;
}

}  // namespace orvada_python
