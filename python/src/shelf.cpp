#include "python/src/shelf.h"

#include <pybind11/pybind11.h>

#include <functional>
#include <vector>

#include "python/src/errors.h"
#include "python/src/library_call.h"

namespace orvada_python {

namespace {

// Books and libraries let go inside a hook of raw.BookBase, whose thread holds
// the library lock that their destructors take: deleted by the next question
// asked outside a hook (DeletePendingBooks). Touched with the GIL held.
std::vector<std::function<void()>>& Pending() {
  static auto* pending = new std::vector<std::function<void()>>;  // lives as long as the module
  return *pending;
}

// Deletes with the GIL released when the deleting thread holds it, or later
// when the thread holds the library lock.
template <class T>
void DeleteWithoutGil(T* object) {
  if (LibraryHeldHere()) {
    Pending().push_back([object] { delete object; });
    return;
  }
  if (!Py_IsInitialized() || !PyGILState_Check()) {
    delete object;
    return;
  }
  pybind11::gil_scoped_release release;
  delete object;
}

}  // namespace

void DeletePendingBooks() {
  if (Pending().empty() || LibraryHeldHere()) return;
  std::vector<std::function<void()>> deletions;
  deletions.swap(Pending());
  pybind11::gil_scoped_release release;
  for (const auto& deletion : deletions) deletion();
}

Shelf::Shelf(std::unique_ptr<orva::query::Book> book) : m_book(book.release(), DeleteWithoutGil<orva::query::Book>) {}

Shelf::Shelf(std::unique_ptr<orva::query::Library> library)
    : m_library(library.release(), DeleteWithoutGil<orva::query::Library>) {}

void Shelf::Close() {
  m_book.reset();
  m_library.reset();
}

std::shared_ptr<orva::query::Book> BookRef::Get() const {
  if (book == nullptr || !shelf || !shelf->IsOpen()) throw ClassedError{ErrorClass(), "the book is closed"};
  if (shelf->book()) return shelf->book();
  return std::shared_ptr<orva::query::Book>(shelf->library(), book);  // a book of the library, held by it
}

}  // namespace orvada_python
