// orvada.Search: the answer to Book.find, its exact count known at once and its
// hits read from the book a page at a time, as they are iterated.
#pragma once

#include <pybind11/pybind11.h>

#include <cstddef>
#include <limits>
#include <memory>

#include "python/src/shelf.h"
#include "query/book.h"

namespace orvada_python {

struct Search {
  BookRef book;
  std::unique_ptr<orva::query::BookSearch> search;
  std::size_t limit = std::numeric_limits<std::size_t>::max();
  std::size_t hitsRead = 0;  // hits read from the book so far, in all pages

  std::size_t Size() const;  // the hits it gives: the count, at most `limit`
};

// The query of find's arguments: words and phrases (str), the options, and
// `strongs` (None, a str or a sequence of str).
orva::query::SearchQuery QueryOf(const pybind11::args& words, bool phrase, bool prefix, const pybind11::object& strongs);

// find's `limit`: None for every hit, else a number of hits (ValueError below 0).
std::size_t LimitOf(const pybind11::object& limit);

// orvada.Search, orvada.Hit and the iterator of a search.
void BindSearch(pybind11::module_& module);

}  // namespace orvada_python
