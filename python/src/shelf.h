// What orvada.Book and orvada.Library own, and how the objects made from them
// (searches, sections, a library's books) reach a book.
#pragma once

#include <memory>

#include "query/book.h"
#include "query/library.h"

namespace orvada_python {

// The query library's Book or Library of one Python Book or Library, until it is
// closed. The objects made from it share it, so that after close() they raise
// orvada.Error rather than read a destroyed book. Closing (and the destructor)
// destroys the query object with the GIL released: its destructor waits for the
// library lock, which a thread in a hook of raw.BookBase holds while it waits for
// the GIL.
class Shelf {
 public:
  explicit Shelf(std::unique_ptr<orva::query::Book> book) : m_book(std::move(book)) {}
  explicit Shelf(std::unique_ptr<orva::query::Library> library) : m_library(std::move(library)) {}
  ~Shelf() { Close(); }
  Shelf(const Shelf&) = delete;
  Shelf& operator=(const Shelf&) = delete;

  bool IsOpen() const { return m_book || m_library; }
  void Close();
  orva::query::Book* book() const { return m_book.get(); }
  orva::query::Library* library() const { return m_library.get(); }

 private:
  std::unique_ptr<orva::query::Book> m_book;
  std::unique_ptr<orva::query::Library> m_library;
};

// A book as the Python objects hold it: the shelf that owns it and the book.
struct BookRef {
  std::shared_ptr<Shelf> shelf;
  orva::query::Book* book = nullptr;

  // The book; raises orvada.Error when it has been closed.
  orva::query::Book& Get() const;
};

}  // namespace orvada_python
