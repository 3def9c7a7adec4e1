#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <vector>

#include "python/src/books.h"
#include "python/src/conversions.h"
#include "python/src/query_call.h"
#include "python/src/search.h"
#include "python/src/values.h"

namespace py = pybind11;
using orva::query::Book;

namespace orvada_python {

namespace {

const char* const kBookDoc = R"(A book folder: a Bible, a lexicon, a topical index, a glossary, a reading plan.

    with orvada.Book("build/kjv") as kjv:
        print(kjv.read("John 3:16")[0].text)
        for hit in kjv.find("light"):
            print(hit.reference)

Its files are opened as questions need them and stay open until close() (or
the end of the with block, or the object's end). Every question releases the
GIL and holds the library's one lock while it reads; text is str both ways.
Errors: BookNotFound (no book in the folder), DamagedBook (a file of the book
is damaged), BadReference (a reference, key or section that names nothing),
Error for the rest; all are orvada.Error.

Threads: a Book may be used from one thread at a time, and separate Book
objects (of the same book too) from separate threads: the questions run one
at a time under the library's lock, and the files a book shares between its
objects are only touched under it.)";

// The number of top-level sections; 0 for a folder without a sections index.
std::size_t TopSections(Book& book) {
  try {
    return book.Contents().entries.size();
  } catch (const orva::query::BookDamaged&) {
    throw;
  } catch (const orva::query::BookError&) {
    return 0;
  }
}

void Close(PyBook& b) {
  if (b.owner && b.ref.shelf) b.ref.shelf->Close();
  b.ref.book = nullptr;
}

std::string Path(const py::handle& path) { return static_cast<const char*>(HostString(path)); }

bool HasStrongs(PyBook& b) {
  if (b.strongs < 0) {
    const std::shared_ptr<Book> held = b.ref.Get();
    Book& book = *held;
    b.strongs = Ask(ErrorClass(), [&] { return book.Info().strongs; }) ? 1 : 0;
  }
  return b.strongs == 1;
}

std::vector<Verse> Read(PyBook& b, const std::string& reference, const py::object& strongs) {
  if (!strongs.is_none() && !PyBool_Check(strongs.ptr())) {
    throw py::type_error("strongs must be None, True or False");
  }
  const bool withStrongs = strongs.is_none() ? HasStrongs(b) : strongs.ptr() == Py_True;
  const std::shared_ptr<Book> held = b.ref.Get();
  Book& book = *held;
  // A book without Strong's numbers is no fault of the reference.
  if (withStrongs && !HasStrongs(b)) Ask(ErrorClass(), [&] { return book.Read(reference, true); });
  const orva::query::Reading reading = Ask(BadReferenceClass(), [&] { return book.Read(reference, withStrongs); });
  return VersesOf(reading, withStrongs);
}

py::object Find(PyBook& b, const py::args& words, bool phrase, bool prefix, const py::object& strongs,
                const py::object& limit) {
  const orva::query::SearchQuery query = QueryOf(words, phrase, prefix, strongs);
  auto search = std::make_unique<Search>();
  search->limit = LimitOf(limit);
  search->book = b.ref;
  const std::shared_ptr<Book> held = b.ref.Get();
  Book& book = *held;
  search->search = std::make_unique<orva::query::BookSearch>(Ask(ErrorClass(), [&] { return book.Find(query); }));
  return py::cast(std::move(search));
}

Verse VerseAt(PyBook& b, int bookNumber, int chapter, int verse) {
  const std::string numbers = std::to_string(bookNumber) + "," + std::to_string(chapter) + "," + std::to_string(verse);
  const std::shared_ptr<Book> held = b.ref.Get();
  Book& book = *held;
  const orva::query::Entry entry = Ask(BadReferenceClass(), [&] { return book.Verse(numbers); });
  if (!entry.inBook || entry.passages.empty()) {
    throw ClassedError{BadReferenceClass(), "verse " + numbers + " leads to key " + std::to_string(entry.key) +
                                                ", which names no verse of the book"};
  }
  return VerseOf(entry.passages.front());
}

Entry Sync(PyBook& b, const std::string& key) {
  const std::shared_ptr<Book> held = b.ref.Get();
  Book& book = *held;
  const orva::query::Entry entry = Ask(BadReferenceClass(), [&] { return book.Sync(key); });
  if (!entry.inBook) {
    throw ClassedError{BadReferenceClass(),
                       "\"" + key + "\" leads to key " + std::to_string(entry.key) + ", which names no section"};
  }
  return EntryOf(entry);
}

}  // namespace

void BindBook(py::module_& module) {
  py::class_<PyBook>(module, "Book", kBookDoc)
      .def(py::init([](const py::object& path) {
             const std::string folder = Path(path);
             auto book = Ask(BookNotFoundClass(), [&] { return std::make_unique<Book>(folder); });
             Book* opened = book.get();
             return PyBook{{std::make_shared<Shelf>(std::move(book)), opened}, true};
           }),
           py::arg("path"), "Opens the book in the folder `path` (str or path). Raises BookNotFound when it holds none.")
      .def("__enter__", [](py::object self) { return self; })
      .def("__exit__", [](PyBook& b, const py::args&) { Close(b); })
      .def("close", &Close,
          "Closes the book's files. Its searches and sections raise orvada.Error afterwards; a book of a "
          "Library is only let go (the library stays open).")
      .def_property_readonly(
          "closed", [](const PyBook& b) { return b.ref.book == nullptr || !b.ref.shelf->IsOpen(); })
      .def_property_readonly(
          "name", [](const PyBook& b) { return b.ref.Get()->Name(); }, "The folder's own name: \"kjv\".")
      .def_property_readonly(
          "path", [](const PyBook& b) { return b.ref.Get()->Folder(); }, "The folder, as given.")
      .def_property_readonly(
          "info",
          [](PyBook& b) {
            const std::shared_ptr<Book> held = b.ref.Get();
            Book& book = *held;
            return Ask(ErrorClass(), [&] { return Info{book.Info(), TopSections(book)}; });
          },
          "What the book is (an Info): identity, kind, languages, title, counts.")
      .def(
          "toc",
          [](PyBook& b, const std::string& path) {
            const std::shared_ptr<Book> held = b.ref.Get();
            Book& book = *held;
            return SectionsOf(b.ref, Ask(BadReferenceClass(), [&] { return book.Contents(path); }));
          },
          py::arg("section") = "",
          "The top-level sections (the books of a Bible), or those right below `section` (\"Genesis\", "
          "\"John 3\", a Section's path): a list of Section. BadReference when it names no section.")
      .def("read", &Read, py::arg("reference"), py::kw_only(), py::arg("strongs") = py::none(),
           "The verses of `reference` in order: \"John 3:16\", \"Gen 1:1-3\", \"Ps 23; John 3:16,18\", \"Jude\", a "
           "glossary headword, a key of a lexicon or plan (\"G25\", \"12-25\": an entry as shown, its references as "
           "their text, its paragraphs apart at tabs). Each is a Verse; with strongs=True (None: when the book has them) its words "
           "carry their Strong's numbers. BadReference when something named is not in the book.")
      .def("find", &Find, py::arg("phrase") = false, py::arg("prefix") = false,
           py::arg("strongs") = py::none(), py::arg("limit") = py::none(),
           "find(*words, phrase=False, prefix=False, strongs=None, limit=None) -> Search\n\n"
           "The verses (or entries) that hold every word, phrase and Strong's number given: "
           "find(\"faith\", \"hope\"), find(\"in the beginning\", phrase=True), find(\"lig\", prefix=True), "
           "find(strongs=\"G25\"). Case and accents do not count. The result knows its count at once "
           "(len) and reads its hits as they are iterated; limit caps the hits it gives.")
      .def(
          "words",
          [](PyBook& b, const std::string& prefix, const py::object& limit) {
            const std::size_t most = LimitOf(limit);
            const std::shared_ptr<Book> held = b.ref.Get();
            Book& book = *held;
            if (most == 0) return std::vector<orva::query::WordEntry>();
            const int cap = most > 0x7FFFFFFF ? 0 : static_cast<int>(most);
            return Ask(ErrorClass(), [&] { return book.Words(prefix, cap); });
          },
          py::arg("prefix") = "", py::arg("limit") = py::none(),
          "The concordance's words that begin with `prefix` (all with \"\"), in order, at most `limit`: a "
          "list of Word (the word and the number of verses that hold it).")
      .def("verse", &VerseAt, py::arg("book"), py::arg("chapter"), py::arg("verse"),
           "The verse by the numbers of its book (Genesis 1 ... Revelation 66), chapter and verse: "
           "verse(43, 3, 16). BadReference when the book has no such verse.")
      .def("sync", &Sync, py::arg("key"),
           "A look-up in the book's sync index: \"43,3,16\" in a Bible, a headword or topic in a glossary or "
           "topical index (case does not count), \"G25\" in a lexicon, \"12-25\" or \"today\" in a reading "
           "plan. An Entry; BadReference when the key is not there.")
      .def(
          "translations",
          [](PyBook& b, const std::string& number) {
            const std::shared_ptr<Book> held = b.ref.Get();
            Book& book = *held;
            return Ask(ErrorClass(), [&] { return book.Translations(number); });
          },
          py::arg("number"),
          "How the book renders the Strong's number (\"G25\"): a list of Translation, the most frequent "
          "first. Error when the book has no Strong's numbers.")
      .def("__repr__", [](const PyBook& b) {
        if (b.ref.book == nullptr || !b.ref.shelf->IsOpen()) return std::string("<orvada.Book, closed>");
        return "<orvada.Book " + std::string(py::repr(py::str(b.ref.book->Folder()))) + ">";
      });
}

}  // namespace orvada_python
