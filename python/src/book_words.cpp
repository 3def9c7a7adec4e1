// BookBase members of the concordance and the verses index.
#include "python/src/book_base.h"
#include "python/src/conversions.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

// A word member that walks the cursor: (key, word).
template <class Walk>
py::tuple KeyAndWord(cORVABookBase& b, Walk walk) {
  cLanguageString word;
  const int key = BookCall(b, [&] { return walk(word); });
  return py::make_tuple(key, word);
}

// The occurrence list of a reference: the list, empty when the index has none.
template <class Member, class... Numbers>
py::list Occurrences(cORVABookBase& b, Member member, Numbers... numbers) {
  CUIntArray occurrences;
  const int count = BookCall(b, [&] { return (b.*member)(numbers..., occurrences); });
  return count > 0 ? ToList(occurrences) : py::list();
}

const char* const kOccurrencesDoc =
    "The occurrence list of the reference (unsigned 16-bit numbers); empty when the index lacks it.";

}  // namespace

void BindBookWords(BookClass& cls) {
  cls.def(
         "SelectCurrentLanguage",
         [](cORVABookBase& b, unsigned short lang) {
           unsigned short previous = 0;
           const int result = BookCall(b, [&] { return b.SelectCurrentLanguage(lang, &previous); });
           return py::make_tuple(result, previous);
         },
         py::arg("lang"),
         "(result, previous): 0 when `lang` is now the concordance's current language, 1 when the concordance "
         "cannot be opened or lacks it; the language current before (0 when the concordance was not open).")
      .def("GetCurrentLanguage", [](cORVABookBase& b) { return BookCall(b, [&] { return b.GetCurrentLanguage(); }); })
      .def(
          "WordCount",
          [](cORVABookBase& b, unsigned short lang) { return BookCall(b, [&] { return b.WordCount(lang); }); },
          py::arg("lang"), "The word count of `lang`, 0 when the concordance lacks it.")
      .def(
          "ListLanguages",
          [](cORVABookBase& b) {
            CArray<unsigned short, unsigned short&> languages;
            BookCall(b, [&] { return b.ListLanguages(languages); });
            return ToList(languages);
          },
          "The id of every language of the concordance.")
      .def(
          "PositionToWordkey", [](cORVABookBase& b, int position) { return b.PositionToWordkey(position); },
          py::arg("position"))
      .def(
          "WordkeyToPosition", [](cORVABookBase& b, int wordKey) { return b.WordkeyToPosition(wordKey); },
          py::arg("wordKey"))
      .def(
          "GetWord",
          [](cORVABookBase& b, int wordKey) -> py::object {
            cLanguageString word;
            const int key = BookCall(b, [&] { return b.GetWord(wordKey, word); });
            return key < 0 ? py::none() : py::cast(word);
          },
          py::arg("wordKey"), "Word `wordKey` of the current language, or None.")
      .def(
          "GetWordlistAtKey",
          [](cORVABookBase& b, int first, int count) {
            CArray<cLanguageString, cLanguageString&> words;
            BookCall(b, [&] { return b.GetWordlistAtKey(first, count, words); });
            py::list list(words.GetSize());
            for (int i = 0; i < words.GetSize(); ++i) list[i] = py::cast(words[i]);
            return list;
          },
          py::arg("first"), py::arg("count"),
          "`count` words from `first` on, an empty string for each key past the list.")
      .def(
          "FindNearestMatchingWord",
          [](cORVABookBase& b, cLanguageString search) {
            return KeyAndWord(b, [&](cLanguageString& found) { return b.FindNearestMatchingWord(search, found); });
          },
          py::arg("search"),
          "(key, word): the first word of the language of `search` that does not sort before it, or -1 (the "
          "word then empty).")
      .def(
          "FindExactMatchingWord",
          [](cORVABookBase& b, cLanguageString search) {
            return BookCall(b, [&] { return b.FindExactMatchingWord(search); });
          },
          py::arg("search"), "The key of the word that equals `search` apart from case and marks' order, or -1.")
      .def(
          "GetFirstWord",
          [](cORVABookBase& b, unsigned short lang) {
            return KeyAndWord(b, [&](cLanguageString& word) { return b.GetFirstWord(lang, word); });
          },
          py::arg("lang"), "(key, word): the first word of `lang`, or (-1, empty).")
      .def(
          "GetLastWord",
          [](cORVABookBase& b, unsigned short lang) {
            return KeyAndWord(b, [&](cLanguageString& word) { return b.GetLastWord(lang, word); });
          },
          py::arg("lang"), "(key, word): the last word of `lang`, or (-1, empty).")
      .def(
          "GetNextWord",
          [](cORVABookBase& b) { return KeyAndWord(b, [&](cLanguageString& word) { return b.GetNextWord(word); }); },
          "(key, word) after the cursor, or (-1, empty) past the end.")
      .def(
          "GetPrevWord",
          [](cORVABookBase& b) { return KeyAndWord(b, [&](cLanguageString& word) { return b.GetPrevWord(word); }); },
          "(key, word) before the cursor, or (-1, empty) before the start.")
      .def(
          "GetKeysForWord",
          [](cORVABookBase& b, int wordKey) {
            CUIntArray keys;
            const int key = BookCall(b, [&] { return b.GetKeysForWord(wordKey, keys); });
            return py::make_tuple(key, key < 0 ? py::list() : ToList(keys));
          },
          py::arg("wordKey"), "(wordKey, keys): the section keys of word `wordKey`, or (-1, []).")
      .def(
          "GetKeysForWord",
          [](cORVABookBase& b, cLanguageString word) {
            CUIntArray keys;
            const int key = BookCall(b, [&] { return b.GetKeysForWord(word, keys); });
            return py::make_tuple(key, key < 0 ? py::list() : ToList(keys));
          },
          py::arg("word"), "(wordKey, keys): the keys of the word FindExactMatchingWord finds, or (-1, []).")
      .def(
          "GetWordListRecord",
          [](cORVABookBase& b, int wordKey) {
            sWordListRec record{};
            const int key = BookCall(b, [&] { return b.GetWordListRecord(wordKey, record); });
            return py::make_tuple(key, record);
          },
          py::arg("wordKey"), "(wordKey, record): the head of the word's record (18 bytes), or (-1, zeros).")
      .def(
          "GetWordListRecord",
          [](cORVABookBase& b, cLanguageString word) {
            sWordListRec record{};
            const int key = BookCall(b, [&] { return b.GetWordListRecord(word, record); });
            return py::make_tuple(key, record);
          },
          py::arg("word"), "(wordKey, record) of the word as GetKeysForWord finds it.")
      .def(
          "GetWordPositionList",
          [](cORVABookBase& b, int wordKey, long long key) {
            const int section = KeyArgument(key);
            CWordArray positions;
            const int result = BookCall(b, [&] { return b.GetWordPositionList(wordKey, section, positions); });
            return py::make_tuple(result, ToList(positions));
          },
          py::arg("wordKey"), py::arg("key"),
          "(wordKey, positions): the positions of word `wordKey` at section `key` (a key of its key list), or "
          "(-1, []).")
      .def(
          "GetBookOccurrences",
          [](cORVABookBase& b, unsigned short book) {
            return Occurrences(b, &cORVABookBase::GetBookOccurrences, book);
          },
          py::arg("book"), kOccurrencesDoc)
      .def(
          "GetBookOccurrencesAllChapters",
          [](cORVABookBase& b, unsigned short book) {
            return Occurrences(b, &cORVABookBase::GetBookOccurrencesAllChapters, book);
          },
          py::arg("book"), kOccurrencesDoc)
      .def(
          "GetBookOccurrencesAllVerses",
          [](cORVABookBase& b, unsigned short book) {
            return Occurrences(b, &cORVABookBase::GetBookOccurrencesAllVerses, book);
          },
          py::arg("book"), kOccurrencesDoc)
      .def(
          "GetChapterOccurrences",
          [](cORVABookBase& b, unsigned short book, unsigned short chapter) {
            return Occurrences(b, &cORVABookBase::GetChapterOccurrences, book, chapter);
          },
          py::arg("book"), py::arg("chapter"), kOccurrencesDoc)
      .def(
          "GetChapterOccurrencesAllVerses",
          [](cORVABookBase& b, unsigned short book, unsigned short chapter) {
            return Occurrences(b, &cORVABookBase::GetChapterOccurrencesAllVerses, book, chapter);
          },
          py::arg("book"), py::arg("chapter"), kOccurrencesDoc)
      .def(
          "GetVerseOccurrences",
          [](cORVABookBase& b, unsigned short book, unsigned short chapter, unsigned short verse) {
            return Occurrences(b, &cORVABookBase::GetVerseOccurrences, book, chapter, verse);
          },
          py::arg("book"), py::arg("chapter"), py::arg("verse"), kOccurrencesDoc);
}

}  // namespace orvada_python
