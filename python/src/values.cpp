#include "python/src/values.h"

#include <pybind11/stl.h>

#include "python/src/query_call.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

// `text` as a repr shows it, cut after 40 characters.
std::string Shown(const std::string& text) {
  const py::str whole(text);
  if (py::len(whole) <= 40) return py::repr(whole);
  return std::string(py::repr(whole[py::slice(0, 40, 1)])) + "...";
}

const char* const kVerseDoc = R"(A verse (or an entry, or a line of a book without verses).

reference  how it is written: "John 3:16"; an entry's headword
key        its key in the book
text       its text, without its number
above, below  lines shown above it (a psalm's title) and below it
strongs    read with Strong's numbers: a list of (word, [numbers]) for each
           word of the text in order, [] for an untagged word; else None)";

const char* const kSectionDoc = R"(An entry of a table of contents: a book, a chapter, a verse, a letter.

name      its name: "Genesis", "1"
key       its key in the book
path      its path of names, "Genesis\1", which toc() and read() take
count     the number of sections right below it
children  those sections (read from the book when asked for))";

const char* const kEntryDoc = R"(The answer to a look-up in a book's sync index (Book.sync, Book.verse).

reference   "John 3:16", or the entry's headword ("G26", "FAITH", "12-25")
key, path   its key and its path of names ("\John\3\16")
verses      its text as verses: one for a verse or an entry, a chapter's
            verses for a chapter
paragraphs  an entry of a lexicon, topical index, glossary or plan: its text,
            references shown as their text; [] for a Bible
links       the references of those paragraphs: (type, key, shown,
            paragraph), type "verse", "strongs", "word" or "date")";

const char* const kInfoDoc = R"(What a book is, as its files say.

name, folder   the folder's own name ("kjv") and the folder as given
kind           "Bible", "lexicon", "topical index", "glossary", "reading plan", "book"
title, abbreviation, edition, copyright   the header's words ("" when none)
language       the language of its text ("English"); languages: of its text
               and its concordance
strongs        whether its words carry Strong's numbers
publisher, book_id, sync_type   its identity
sections       the number of top-level sections (the books of a Bible)
size           the bytes of its files)";

std::vector<std::string> LanguageNames(const std::vector<std::uint16_t>& ids) {
  std::vector<std::string> names;
  for (std::uint16_t id : ids) names.push_back(orva::query::LanguageName(id));
  return names;
}

}  // namespace

Verse VerseOf(const orva::query::Passage& passage, const std::vector<orva::query::NumberedWord>* words) {
  Verse verse{passage.reference, passage.key, passage.text, passage.above, passage.below, std::nullopt};
  if (words != nullptr) {
    verse.strongs.emplace();
    for (const orva::query::NumberedWord& word : *words) verse.strongs->emplace_back(word.word, word.numbers);
  }
  return verse;
}

std::vector<Verse> VersesOf(const orva::query::Reading& reading, bool strongs) {
  static const std::vector<orva::query::NumberedWord> kNone;
  std::vector<Verse> verses;
  for (const orva::query::Reading::Run& run : reading.runs) {
    for (const orva::query::Passage& passage : run.passages) {
      const auto words = reading.words.find(passage.key);
      verses.push_back(VerseOf(passage, !strongs ? nullptr : words == reading.words.end() ? &kNone : &words->second));
    }
  }
  return verses;
}

std::vector<Section> SectionsOf(const BookRef& book, const orva::query::Toc& toc) {
  std::vector<Section> sections;
  sections.reserve(toc.entries.size());
  for (const orva::query::TocEntry& entry : toc.entries) {
    sections.push_back({book, entry.name, toc.path.empty() ? entry.name : toc.path + "\\" + entry.name, entry.key,
                        entry.below});
  }
  return sections;
}

Entry EntryOf(const orva::query::Entry& entry) {
  Entry result{entry.reference, entry.path, entry.key, {}, entry.shown.paragraphs, {}};
  for (const orva::query::Passage& passage : entry.passages) result.verses.push_back(VerseOf(passage));
  for (const auto& place : entry.shown.references) {
    result.links.emplace_back(place.reference.type, place.reference.key, place.reference.shown, place.paragraph);
  }
  return result;
}

void BindValues(py::module_& module) {
  py::class_<Verse>(module, "Verse", kVerseDoc)
      .def_readonly("reference", &Verse::reference)
      .def_readonly("key", &Verse::key)
      .def_readonly("text", &Verse::text)
      .def_readonly("above", &Verse::above)
      .def_readonly("below", &Verse::below)
      .def_readonly("strongs", &Verse::strongs)
      .def("__repr__", [](const Verse& v) { return "Verse(" + Shown(v.reference) + ", " + Shown(v.text) + ")"; });

  py::class_<Section>(module, "Section", kSectionDoc)
      .def_readonly("name", &Section::name)
      .def_readonly("key", &Section::key)
      .def_readonly("path", &Section::path)
      .def_readonly("count", &Section::count)
      .def_property_readonly("children",
                             [](const Section& s) {
                               if (s.count == 0) return std::vector<Section>();
                               const std::shared_ptr<orva::query::Book> held = s.book.Get();
                               orva::query::Book& book = *held;
                               const orva::query::Toc toc =
                                   Ask(BadReferenceClass(), [&] { return book.Contents(s.path); });
                               return SectionsOf(s.book, toc);
                             })
      .def("__repr__", [](const Section& s) {
        return "Section(" + Shown(s.path) + ", key=" + std::to_string(s.key) + ", count=" + std::to_string(s.count) +
               ")";
      });

  py::class_<Entry>(module, "Entry", kEntryDoc)
      .def_readonly("reference", &Entry::reference)
      .def_readonly("key", &Entry::key)
      .def_readonly("path", &Entry::path)
      .def_readonly("verses", &Entry::verses)
      .def_readonly("paragraphs", &Entry::paragraphs)
      .def_readonly("links", &Entry::links)
      .def("__repr__", [](const Entry& e) { return "Entry(" + Shown(e.reference) + ", key=" + std::to_string(e.key) + ")"; });

  using orva::query::BookInfo;
  py::class_<Info>(module, "Info", kInfoDoc)
      .def_property_readonly("name", [](const Info& i) { return i.info.name; })
      .def_property_readonly("folder", [](const Info& i) { return i.info.folder; })
      .def_property_readonly("kind", [](const Info& i) { return std::string(orva::query::BookKindName(i.info.kind)); })
      .def_property_readonly("title", [](const Info& i) { return i.info.title; })
      .def_property_readonly("abbreviation", [](const Info& i) { return i.info.abbreviation; })
      .def_property_readonly("edition", [](const Info& i) { return i.info.edition; })
      .def_property_readonly("copyright", [](const Info& i) { return i.info.copyright; })
      .def_property_readonly("language", [](const Info& i) { return orva::query::LanguageName(i.info.language); })
      .def_property_readonly("languages", [](const Info& i) { return LanguageNames(i.info.languages); })
      .def_property_readonly("strongs", [](const Info& i) { return i.info.strongs; })
      .def_property_readonly("publisher", [](const Info& i) { return i.info.identity.publisherID; })
      .def_property_readonly("book_id", [](const Info& i) { return i.info.identity.bookID; })
      .def_property_readonly("sync_type", [](const Info& i) { return i.info.identity.syncType; })
      .def_readonly("sections", &Info::sections)
      .def_property_readonly("size", [](const Info& i) { return i.info.bytes; })
      .def("__repr__", [](const Info& i) {
        return "Info(" + Shown(i.info.name) + ", " + orva::query::BookKindName(i.info.kind) + ", " +
               Shown(i.info.title) + ")";
      });

  py::class_<orva::query::WordEntry>(module, "Word", "A word of a book's concordance and the number of verses (keys) that hold it.")
      .def_readonly("word", &orva::query::WordEntry::word)
      .def_readonly("count", &orva::query::WordEntry::keys)
      .def("__repr__", [](const orva::query::WordEntry& w) { return "Word(" + Shown(w.word) + ", " + std::to_string(w.keys) + ")"; });

  py::class_<orva::query::Translation>(module, "Translation",
                                       "How a book renders a Strong's number: the words (folded, lower case) and how often.")
      .def_readonly("words", &orva::query::Translation::words)
      .def_readonly("count", &orva::query::Translation::count)
      .def("__repr__", [](const orva::query::Translation& t) {
        return "Translation(" + Shown(t.words) + ", " + std::to_string(t.count) + ")";
      });
}

}  // namespace orvada_python
