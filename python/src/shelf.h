// What orvada.Book and orvada.Library own, and how the objects made from them
// (searches, sections, a library's books) reach a book.
#pragma once

#include <memory>

#include "query/book.h"
#include "query/library.h"

namespace orvada_python {

// The query library's Book or Library of one Python Book or Library, until it is
// closed. The objects made from it share the shelf, so that after close() they
// raise orvada.Error rather than read a destroyed book. A call holds the book
// (or library) itself while it runs (BookRef::Get, PyLibrary::Get), so that
// close() from another thread meanwhile only takes it off the shelf: the last
// holder destroys it. Destroying it releases the GIL: the query object's
// destructor waits for the library lock, which a thread in a hook of
// raw.BookBase holds while it waits for the GIL.
class Shelf {
 public:
  explicit Shelf(std::unique_ptr<orva::query::Book> book);
  explicit Shelf(std::unique_ptr<orva::query::Library> library);
  Shelf(const Shelf&) = delete;
  Shelf& operator=(const Shelf&) = delete;

  bool IsOpen() const { return m_book || m_library; }
  // Takes the book or library off the shelf; call with the GIL held.
  void Close();
  const std::shared_ptr<orva::query::Book>& book() const { return m_book; }
  const std::shared_ptr<orva::query::Library>& library() const { return m_library; }

 private:
  std::shared_ptr<orva::query::Book> m_book;
  std::shared_ptr<orva::query::Library> m_library;
};

// A book as the Python objects hold it: the shelf that owns it (or the library
// it belongs to) and the book.
struct BookRef {
  std::shared_ptr<Shelf> shelf;
  orva::query::Book* book = nullptr;

  // The book, held for as long as the caller keeps the pointer; raises
  // orvada.Error when it has been closed. Call with the GIL held.
  std::shared_ptr<orva::query::Book> Get() const;
};

// Deletes the books and libraries whose last holder let go inside a hook of
// raw.BookBase (where the library lock is held, which their destructors take).
// Call with the GIL held; does nothing inside a hook.
void DeletePendingBooks();

}  // namespace orvada_python
