#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "python/src/books.h"
#include "python/src/conversions.h"
#include "python/src/query_call.h"
#include "python/src/search.h"
#include "python/src/values.h"

namespace py = pybind11;
using orva::query::Library;

namespace orvada_python {

namespace {

// orvada.Library's own object: the shelf that owns the query Library.
struct PyLibrary {
  std::shared_ptr<Shelf> shelf;

  // The library, held for as long as the caller keeps the pointer (Shelf).
  std::shared_ptr<Library> Get() const {
    if (!shelf || !shelf->IsOpen()) throw ClassedError{ErrorClass(), "the library is closed"};
    return shelf->library();
  }
  BookRef Ref(orva::query::Book* book) const { return {shelf, book}; }
};

// orvada.Row: a verse of Library.read in each Bible that has it.
struct Row {
  std::string reference;
  int book = 0, chapter = 0, verse = 0;
  std::vector<std::pair<std::string, Verse>> texts;  // by Bible, in the library's order
};

// orvada.Usage: how a Bible uses a Strong's number.
struct Usage {
  std::vector<orva::query::Translation> translations;
  std::size_t count = 0;
  std::vector<Verse> verses;
};

// orvada.Study: a Strong's number across a library.
struct Study {
  std::string number;
  std::vector<std::pair<std::string, Entry>> entries;  // by lexicon
  std::vector<std::pair<std::string, Usage>> bibles;   // by Bible with numbers
};

template <class T>
py::dict DictOf(const std::vector<std::pair<std::string, T>>& items) {
  py::dict dict;
  for (const auto& [name, value] : items) dict[py::str(name)] = py::cast(value);
  return dict;
}

std::vector<Row> Read(const PyLibrary& l, const std::string& reference, bool strongs) {
  const std::shared_ptr<Library> held = l.Get();
  Library& library = *held;
  const orva::query::ParallelReading reading =
      Ask(BadReferenceClass(), [&] { return library.Read(reference, strongs); });
  std::vector<Row> rows;
  rows.reserve(reading.verses.size());
  for (const orva::query::ParallelReading::Verse& verse : reading.verses) {
    Row row{verse.reference, verse.place.book, verse.place.chapter, verse.place.verse, {}};
    for (const orva::query::ParallelReading::Text& text : verse.texts) {
      row.texts.emplace_back(reading.bibles[text.bible]->Name(),
                             VerseOf(text.passage, strongs ? &text.words : nullptr));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

py::dict Find(const PyLibrary& l, const py::args& words, bool phrase, bool prefix, const py::object& strongs,
              const py::object& limit) {
  const orva::query::SearchQuery query = QueryOf(words, phrase, prefix, strongs);
  const std::size_t most = LimitOf(limit);
  const std::shared_ptr<Library> held = l.Get();
  Library& library = *held;
  auto answers = Ask(ErrorClass(), [&] { return library.Find(query); });
  py::dict searches;
  for (auto& answer : answers) {
    auto search = std::make_unique<Search>();
    search->book = l.Ref(answer.book);
    search->limit = most;
    search->search = std::make_unique<orva::query::BookSearch>(std::move(answer.answer));
    searches[py::str(answer.book->Name())] = py::cast(std::move(search));
  }
  return searches;
}

Study Strongs(const PyLibrary& l, const std::string& number, std::size_t verses) {
  const std::shared_ptr<Library> held = l.Get();
  Library& library = *held;
  const orva::query::StrongsStudy study = Ask(BadReferenceClass(), [&] { return library.Strongs(number, verses); });
  Study result{study.number, {}, {}};
  for (const auto& entry : study.entries) result.entries.emplace_back(entry.book->Name(), EntryOf(entry.answer));
  for (const auto& bible : study.bibles) {
    Usage usage{bible.translations, bible.count, {}};
    for (const orva::query::StrongsVerse& verse : bible.verses) {
      orva::query::Passage passage;
      passage.key = verse.key;
      passage.reference = verse.reference;
      passage.text = verse.text;
      usage.verses.push_back(VerseOf(passage, &verse.words));
    }
    result.bibles.emplace_back(bible.bible->Name(), std::move(usage));
  }
  return result;
}

std::vector<PyBook> Books(const PyLibrary& l) {
  const std::shared_ptr<Library> held = l.Get();
  Library& library = *held;
  std::vector<PyBook> books;
  for (std::size_t i = 0; i < library.Size(); ++i) books.push_back(PyBook{l.Ref(&library[i]), false});
  return books;
}

const char* const kLibraryDoc = R"(A library: a folder of book folders (Bibles, lexicons, topical indexes, glossaries, plans).

    with orvada.Library("build/library") as library:
        for row in library.read("John 3:16"):
            for bible, verse in row.texts.items():
                print(bible, verse.text)
        print(library.strongs("G25").bibles)

Each book is asked what it is; the Bibles come first, then the other kinds,
each kind by folder name. A question goes to every book that can answer it and
answers from those that do; BadReference (or Error) when none does. The books
share the library's lifetime: close() closes them all. Threads as for Book.)";

}  // namespace

void BindLibrary(py::module_& module) {
  py::class_<Row>(module, "Row", "A verse of Library.read: reference (\"John 3:16\"), book, chapter and verse "
                                 "numbers (0 for a passage that is no numbered verse), and texts, {Bible: Verse} "
                                 "for each Bible that has it, in the library's order.")
      .def_readonly("reference", &Row::reference)
      .def_readonly("book", &Row::book)
      .def_readonly("chapter", &Row::chapter)
      .def_readonly("verse", &Row::verse)
      .def_property_readonly("texts", [](const Row& r) { return DictOf(r.texts); })
      .def("__repr__", [](const Row& r) {
        return "Row(" + std::string(py::repr(py::str(r.reference))) + ", " + std::to_string(r.texts.size()) +
               " Bibles)";
      });

  py::class_<Usage>(module, "Usage", "How a Bible uses a Strong's number: translations (a list of Translation, the "
                                     "most frequent first), count (the verses where it stands) and verses (the first "
                                     "of them, each Verse with its words' numbers).")
      .def_readonly("translations", &Usage::translations)
      .def_readonly("count", &Usage::count)
      .def_readonly("verses", &Usage::verses);

  py::class_<Study>(module, "Study", "A Strong's number across a library: number, entries ({lexicon: Entry}) and "
                                     "bibles ({Bible: Usage} for each Bible with Strong's numbers).")
      .def_readonly("number", &Study::number)
      .def_property_readonly("entries", [](const Study& s) { return DictOf(s.entries); })
      .def_property_readonly("bibles", [](const Study& s) { return DictOf(s.bibles); })
      .def("__repr__", [](const Study& s) { return "Study(" + std::string(py::repr(py::str(s.number))) + ")"; });

  py::class_<PyLibrary>(module, "Library", kLibraryDoc)
      .def(py::init([](const py::object& path) {
             const std::string folder = static_cast<const char*>(HostString(path));
             auto library = Ask(BookNotFoundClass(), [&] { return std::make_unique<Library>(folder); });
             return PyLibrary{std::make_shared<Shelf>(std::move(library))};
           }),
           py::arg("path"),
           "Opens the library in the folder `path`, or the book there as a library of one. BookNotFound when "
           "the folder holds no book.")
      .def("__enter__", [](py::object self) { return self; })
      .def("__exit__", [](PyLibrary& l, const py::args&) { l.shelf->Close(); })
      .def(
          "close", [](PyLibrary& l) { l.shelf->Close(); },
          "Closes every book of the library; its books and searches raise orvada.Error afterwards.")
      .def_property_readonly("closed", [](const PyLibrary& l) { return !l.shelf->IsOpen(); })
      .def("__len__", [](const PyLibrary& l) { return l.Get()->Size(); })
      .def_property_readonly("books", &Books, "Its books (Book), in the library's order.")
      .def(
          "__iter__", [](const PyLibrary& l) { return py::iter(py::cast(Books(l))); },
          "Its books (Book), in the library's order.")
      .def(
          "__contains__",
          [](const PyLibrary& l, const py::object& name) {
            return py::isinstance<py::str>(name) && l.Get()->Named(name.cast<std::string>()) != nullptr;
          },
          py::arg("name"), "Whether a book's folder is named `name`.")
      .def(
          "__getitem__",
          [](const PyLibrary& l, const std::string& name) {
            orva::query::Book* book = l.Get()->Named(name);
            if (book == nullptr) throw py::key_error(name);
            return PyBook{l.Ref(book), false};
          },
          py::arg("name"), "The book whose folder is named `name`: library[\"kjv\"].")
      .def("read", &Read, py::arg("reference"), py::kw_only(), py::arg("strongs") = false,
           "`reference` in every Bible that has it, verse by verse: a list of Row. With strongs=True the "
           "Bibles with Strong's numbers, their words with them.")
      .def("find", &Find, py::arg("phrase") = false, py::arg("prefix") = false, py::arg("strongs") = py::none(),
           py::arg("limit") = py::none(),
           "find(*words, phrase=False, prefix=False, strongs=None, limit=None) -> dict\n\n"
           "Book.find in each book with a concordance (with Strong's numbers: each book that has them): "
           "{book name: Search}.")
      .def("strongs", &Strongs, py::arg("number"), py::arg("verses") = 3,
           "The Strong's number (\"G25\") across the library: its lexicon entries, how each Bible renders "
           "it, where it stands (the count and the first `verses` verses). A Study.")
      .def("__repr__", [](const PyLibrary& l) {
        if (!l.shelf->IsOpen()) return std::string("<orvada.Library, closed>");
        return "<orvada.Library " + std::string(py::repr(py::str(l.shelf->library()->Folder()))) + ", " +
               std::to_string(l.shelf->library()->Size()) + " books>";
      });
}

}  // namespace orvada_python
