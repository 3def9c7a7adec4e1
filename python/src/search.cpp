#include "python/src/search.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "python/src/query_call.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

// orvada.Hit.
struct Hit {
  std::string reference;
  std::uint32_t key = 0;
  std::vector<std::pair<std::string, std::vector<std::uint16_t>>> positions;  // by list name
  std::optional<std::vector<std::string>> words;
};

// Hits `first` ... `first + count - 1` of `s` (those below its size), read
// holding the lock, converted without it.
std::vector<Hit> ReadHits(Search& s, std::size_t first, std::size_t count) {
  const std::shared_ptr<orva::query::Book> held = s.book.Get();  // raises once the book is closed
  first = std::min(first, s.Size());
  count = std::min(count, s.Size() - first);
  std::vector<Hit> hits = Ask(ErrorClass(), [&] {
    const orva::query::BookSearch::Page page = s.search->Hits(first, count);
    const std::vector<std::string>& names = s.search->Result().ListNames();
    std::vector<Hit> converted(page.hits.Size());
    for (std::size_t i = 0; i < converted.size(); ++i) {
      Hit& hit = converted[i];
      hit.reference = page.Reference(i);
      hit.key = page.hits.Key(i);
      for (std::size_t list = 0; list < page.hits.Lists(); ++list) {
        const orva::query::PositionList positions = page.hits.Positions(i, list);
        hit.positions.emplace_back(list < names.size() ? names[list] : std::string(),
                                   std::vector<std::uint16_t>(positions.begin(), positions.end()));
      }
      if (s.search->WithWords() && i < page.words.size()) hit.words = page.words[i];
    }
    return converted;
  });
  s.hitsRead += hits.size();
  return hits;
}

// Iterates a search page by page: the first page small, so that the first hits
// come at once, each next one twice as large up to kLargestPage.
class SearchIterator {
 public:
  explicit SearchIterator(py::object search) : m_owner(std::move(search)), m_search(m_owner.cast<Search*>()) {}

  Hit Next() {
    if (m_next >= m_search->Size()) throw py::stop_iteration();
    if (m_next >= m_pageFirst + m_page.size()) {
      m_pageFirst = m_next;
      m_page = ReadHits(*m_search, m_next, m_pageSize);
      m_pageSize = std::min(m_pageSize * 2, kLargestPage);
      if (m_page.empty()) throw py::stop_iteration();
    }
    return std::move(m_page[m_next++ - m_pageFirst]);
  }

 private:
  static constexpr std::size_t kFirstPage = 16, kLargestPage = 1024;
  py::object m_owner;  // keeps the Search alive
  Search* m_search;
  std::vector<Hit> m_page;
  std::size_t m_pageFirst = 0, m_next = 0, m_pageSize = kFirstPage;
};

const char* const kSearchDoc = R"(The answer to Book.find: the exact count at once, the hits read from the book as they are asked for.

len(search)     the number of hits it gives (the count, at most find's limit)
total           the count in the book, whatever the limit
terms           the terms searched for, folded ("light", "G25")
words           per term, the concordance words it stood for (with prefix=True, several)
iter(search)    the hits in the book's order, read a page at a time
search[i]       hit i (negative from the end); search.hits(first, count) a page of them
hits_read       how many hits have been read from the book so far

A search reads its book when hits are asked for: it raises orvada.Error once
its Book (or Library) is closed.)";

const char* const kHitDoc = R"(A hit of a search: a verse (or entry) that holds every term.

reference   "Genesis 1:3"
key         its key in the book
positions   {term: [word numbers]}: where each term stands in it, words counted
            from 1; with phrase=True the phrase's starts under the phrase's
            terms joined by blanks; a Strong's number at the words it tags
words       a search with Strong's numbers: the words of the verse as its text
            writes them (word n is words[n - 1]); else None)";

}  // namespace

std::size_t Search::Size() const { return std::min(search->Count(), limit); }

namespace {

// `value` as UTF-8; TypeError when it is no str (a str that cannot be UTF-8
// raises UnicodeEncodeError).
std::string TextOf(py::handle value, const char* what) {
  if (!py::isinstance<py::str>(value)) {
    throw py::type_error(std::string(what) + " must be str, not " + std::string(py::str(py::type::of(value).attr("__name__"))));
  }
  Py_ssize_t size = 0;
  const char* text = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
  if (text == nullptr) throw py::error_already_set();
  return std::string(text, static_cast<std::size_t>(size));
}

}  // namespace

orva::query::SearchQuery QueryOf(const py::args& words, bool phrase, bool prefix, const py::object& strongs) {
  orva::query::SearchQuery query;
  for (py::handle word : words) query.words.push_back(TextOf(word, "a word to find"));
  if (py::isinstance<py::str>(strongs)) {
    query.strongs.push_back(TextOf(strongs, "strongs"));
  } else if (!strongs.is_none()) {
    if (!py::isinstance<py::iterable>(strongs)) TextOf(strongs, "strongs");  // raises TypeError
    for (py::handle number : strongs) query.strongs.push_back(TextOf(number, "a Strong's number"));
  }
  query.options.phrase = phrase;
  query.options.prefix = prefix;
  return query;
}

std::size_t LimitOf(const py::object& limit) {
  if (limit.is_none()) return std::numeric_limits<std::size_t>::max();
  if (!PyLong_Check(limit.ptr())) {
    throw py::type_error("limit must be None or an int, not " + std::string(py::str(py::type::of(limit).attr("__name__"))));
  }
  int overflow = 0;
  const long long value = PyLong_AsLongLongAndOverflow(limit.ptr(), &overflow);
  if (overflow > 0) return std::numeric_limits<std::size_t>::max();  // more hits than any book has
  if (overflow < 0 || value < 0) throw py::value_error("limit must be None or a number of hits, not " + std::string(py::str(limit)));
  return static_cast<std::size_t>(value);
}

void BindSearch(py::module_& module) {
  py::class_<Hit>(module, "Hit", kHitDoc)
      .def_readonly("reference", &Hit::reference)
      .def_readonly("key", &Hit::key)
      .def_property_readonly("positions",
                             [](const Hit& h) {
                               py::dict positions;
                               for (const auto& [name, list] : h.positions) positions[py::str(name)] = py::cast(list);
                               return positions;
                             })
      .def_readonly("words", &Hit::words)
      .def("__repr__", [](const Hit& h) {
        return "Hit(" + std::string(py::repr(py::str(h.reference))) + ", key=" + std::to_string(h.key) + ")";
      });

  py::class_<SearchIterator>(module, "SearchIterator", "Iterates the hits of a Search, reading them a page at a time.")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &SearchIterator::Next);

  py::class_<Search>(module, "Search", kSearchDoc)
      .def("__len__", &Search::Size)
      .def_property_readonly("total", [](const Search& s) { return s.search->Count(); })
      .def_property_readonly("terms", [](const Search& s) { return s.search->Result().Terms(); })
      .def_property_readonly("words", [](const Search& s) { return s.search->Result().Words(); })
      .def_readonly("hits_read", &Search::hitsRead)
      .def("__iter__", [](py::object self) { return SearchIterator(std::move(self)); })
      .def(
          "__getitem__",
          [](Search& s, long long index) {
            const long long size = static_cast<long long>(s.Size());
            if (index < 0) index += size;
            if (index < 0 || index >= size) throw py::index_error("search hit index out of range");
            return std::move(ReadHits(s, static_cast<std::size_t>(index), 1).at(0));
          },
          py::arg("index"))
      .def(
          "hits", [](Search& s, std::size_t first, std::size_t count) { return ReadHits(s, first, count); },
          py::arg("first") = 0, py::arg("count") = 100,
          "Hits first ... first + count - 1 (those there are), read from the book in one page.")
      .def("__repr__", [](const Search& s) {
        return "Search(" + std::string(py::repr(py::cast(s.search->Result().Terms()))) + ", " +
               std::to_string(s.Size()) + " hits)";
      });
}

}  // namespace orvada_python
