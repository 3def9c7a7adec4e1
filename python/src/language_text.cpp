// LanguageString, the language text functions (include/orvada/lang_text.h), the
// message handler, the format versions and the constants of orvada.raw.
#include <string>
#include <utility>

#include "orvada.h"
#include "python/src/conversions.h"
#include "python/src/library_call.h"
#include "python/src/raw.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

const char* const kLanguageStringDoc =
    R"(A string of 16-bit characters, each with a 16-bit language id (cLanguageString).

LanguageString(text, language=1033) holds the characters of `text` (a str, as
UTF-16: a character above U+FFFF takes two), each in `language`; from bytes,
the 8-bit text in the code page of `language`. Members that take a
LanguageString take a str or bytes too (in language 1033). + joins strings of several
languages. ==, < ... compare ordinally (Compare(other, 1, 1)).)";

int Compare(const cLanguageString& a, const cLanguageString& b, int options, int collate) {
  return LibraryCall([&] { return a.Compare(b, options, collate); });
}

void BindLanguageString(py::module_& raw) {
  py::class_<cLanguageString>(raw, "LanguageString", kLanguageStringDoc)
      .def(py::init([](py::bytes data, unsigned short language) {
             const CString bytes = Bytes8(data);
             cLanguageString text;
             LibraryCall(
                 [&] { text.SingleByteToWideChar(bytes, language, static_cast<unsigned int>(bytes.GetLength())); });
             return text;
           }),
           py::arg("data"), py::arg("language") = cLanguageString::kDefaultLanguage,
           "The bytes up to the first zero byte, each read through the table of `language` (SingleByteToWideChar).")
      .def(py::init([](py::str text, unsigned short language) { return ToLanguageString(text, language); }),
           py::arg("text") = py::str(""), py::arg("language") = cLanguageString::kDefaultLanguage)
      .def_property_readonly("text", [](const cLanguageString& s) { return TextOf(s); })
      .def_property_readonly("language", &cLanguageString::GetLanguage,
                             "The language of the first character; 0 for the empty string.")
      .def_property_readonly(
          "languages",
          [](const cLanguageString& s) {
            py::list ids(s.GetLength());
            for (size_t i = 0; i < s.GetLength(); ++i) ids[i] = py::int_(s.GetLanguageIDs()[i]);
            return ids;
          },
          "The language of each 16-bit character.")
      .def(
          "Compare",
          [](const cLanguageString& a, const cLanguageString& b, int options, int collate) {
            return Compare(a, b, options, collate);
          },
          py::arg("other"), py::arg("options"), py::arg("collate"),
          "Negative, 0 or positive as this string sorts before, with or after `other` (options & 1: ordinal; "
          "collate 1: a total order, 0: letter case and the form of marks aside).")
      .def("DecomposedLength",
           [](const cLanguageString& s) { return LibraryCall([&] { return s.DecomposedLength(); }); })
      .def(
          "__bytes__", [](const cLanguageString& s) { return ToBytes(LibraryCall([&] { return CString(s); })); },
          "The 8-bit form: each character in its own language's code page, '?' where it has none.")
      .def(
          "__add__",
          [](const cLanguageString& a, const cLanguageString& b) {
            cLanguageString joined = a;
            joined += b;
            return joined;
          },
          py::is_operator())
      .def("__len__", [](const cLanguageString& s) { return s.GetLength(); })
      .def("__str__", [](const cLanguageString& s) { return TextOf(s); })
      .def("__repr__",
           [](const cLanguageString& s) {
             return "LanguageString(" + std::string(py::repr(TextOf(s))) + ", " + std::to_string(s.GetLanguage()) + ")";
           })
      // The hash of the text, as equal strings (and a str equal to one) have equal text.
      .def("__hash__", [](const cLanguageString& s) { return py::hash(TextOf(s)); })
      .def(
          "__eq__", [](const cLanguageString& a, const cLanguageString& b) { return Compare(a, b, 1, 1) == 0; },
          py::is_operator())
      .def(
          "__ne__", [](const cLanguageString& a, const cLanguageString& b) { return Compare(a, b, 1, 1) != 0; },
          py::is_operator())
      .def(
          "__lt__", [](const cLanguageString& a, const cLanguageString& b) { return Compare(a, b, 1, 1) < 0; },
          py::is_operator())
      .def(
          "__le__", [](const cLanguageString& a, const cLanguageString& b) { return Compare(a, b, 1, 1) <= 0; },
          py::is_operator())
      .def(
          "__gt__", [](const cLanguageString& a, const cLanguageString& b) { return Compare(a, b, 1, 1) > 0; },
          py::is_operator())
      .def(
          "__ge__", [](const cLanguageString& a, const cLanguageString& b) { return Compare(a, b, 1, 1) >= 0; },
          py::is_operator());
  py::implicitly_convertible<py::str, cLanguageString>();
}

void BindTaggedStrings(py::module_& raw) {
  raw.def(
         "LangToTaggedStrings",
         [](const cLanguageString& text) {
           CString tagged;
           CStringArray alternatives;
           LibraryCall([&] { LangToTaggedStrings(text, tagged, alternatives); });
           return py::make_tuple(ToBytes(tagged), FromStringArray(alternatives));
         },
         py::arg("text"),
         "(tagged, alternatives): the tagged form of `text` and the 8-bit forms of each ambiguous character.")
      .def(
          "LangToPackagedString",
          [](const cLanguageString& text) { return ToBytes(LibraryCall([&] { return LangToPackagedString(text); })); },
          py::arg("text"), "The packaged form of `text`: the key form the sync look-ups take.")
      .def(
          "PackageAmbiguity",
          [](py::handle tagged, py::iterable alternatives) {
            const CString text = Bytes8(tagged);
            CStringArray entries;
            ToStringArray(alternatives, entries);
            return ToBytes(LibraryCall([&] { return PackageAmbiguity(text, entries); }));
          },
          py::arg("tagged"), py::arg("alternatives"), "`tagged`, then 0xAC and each alternatives entry in order.")
      .def(
          "TaggedStringToLang",
          [](py::handle tagged) {
            const CString text = Bytes8(tagged);
            return LibraryCall([&] { return TaggedStringToLang(text); });
          },
          py::arg("tagged"), "The language string a tagged string (up to its first zero byte) stands for.")
      .def(
          "MatchAmbiguous",
          [](py::handle word, py::handle pattern, py::iterable alternatives, int length, int options) {
            const CString w = Bytes8(word);
            const CString p = Bytes8(pattern);
            CStringArray entries;
            ToStringArray(alternatives, entries);
            return LibraryCall([&] { return MatchAmbiguous(w, p, entries, length, options) != 0; });
          },
          py::arg("word"), py::arg("pattern"), py::arg("alternatives"), py::arg("length"), py::arg("options"),
          "True when the tagged string `word` matches `pattern` with its placeholders filled from "
          "`alternatives` (length -1: whole strings, n > 0: the first n visible characters; options 0 ignores "
          "case and the form of marks, 1 compares code units).")
      .def(
          "MatchPackagedAmbiguous",
          [](py::handle word, py::handle packaged, int length, int options) {
            const CString w = Bytes8(word);
            const CString p = Bytes8(packaged);
            return LibraryCall([&] { return MatchPackagedAmbiguous(w, p, length, options) != 0; });
          },
          py::arg("word"), py::arg("packaged"), py::arg("length"), py::arg("options"),
          "MatchAmbiguous with the pattern and its alternatives as one packaged string.")
      .def(
          "VisibleLength",
          [](py::handle text) {
            const CString t = Bytes8(text);
            return LibraryCall([&] { return VisibleLength(t); });
          },
          py::arg("text"), "The number of visible characters of a tagged or packaged string.");
}

// The Python message handler. Read and replaced only with the GIL held; never
// freed, because the library may show a notice until the process ends.
py::object* g_messageHandler = nullptr;

int CallMessageHandler(const char* text, UINT type, UINT help) {
  py::gil_scoped_acquire gil;
  if (g_messageHandler == nullptr || g_messageHandler->is_none()) return IDOK;
  try {
    py::object answer = (*g_messageHandler)(FromHostString(text), type, help);
    return answer.is_none() ? static_cast<int>(IDOK) : answer.cast<int>();
  } catch (py::error_already_set& e) {
    e.discard_as_unraisable("orvada.raw message handler");
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_TypeError, e.what());
    PyErr_WriteUnraisable(nullptr);
  }
  return IDOK;
}

void BindMessageHandler(py::module_& raw) {
  raw.def(
      "SetMessageBoxHandler",
      [](py::object handler) {
        if (g_messageHandler == nullptr) g_messageHandler = new py::object(py::none());
        py::object previous = *g_messageHandler;
        if (!handler.is_none()) *g_messageHandler = handler;
        LibraryCall([&] { AfxSetMessageBoxHandler(handler.is_none() ? nullptr : CallMessageHandler); });
        if (handler.is_none()) *g_messageHandler = py::none();
        return previous;
      },
      py::arg("handler"),
      "Shows the library's notices (a file of another book, a newer format) through handler(text, type, "
      "help) -> int (None answers 1, IDOK) instead of writing them to standard error; None restores that. "
      "Returns the Python handler it replaces, or None. An exception in the handler is reported as "
      "unraisable.");
}

void BindConstants(py::module_& raw) {
  const std::pair<const char*, long long> constants[] = {
      {"ORVA_TEXT", ORVA_TEXT},
      {"ORVA_VIEWABLE", ORVA_VIEWABLE},
      {"ORVA_SECTIONS", ORVA_SECTIONS},
      {"ORVA_CONCORD", ORVA_CONCORD},
      {"ORVA_VERSES", ORVA_VERSES},
      {"ORVA_WSYNC", ORVA_WSYNC},
      {"ORVA_VSYNC", ORVA_VSYNC},
      {"ORVA_SSYNC", ORVA_SSYNC},
      {"ORVA_DSYNC", ORVA_DSYNC},
      {"ORVA_MEDIA", ORVA_MEDIA},
      {"ORVA_ALL_OPEN", ORVA_ALL_OPEN},
      {"ORVA_OK", ORVA_OK},
      {"ORVA_ERR_GENERIC", ORVA_ERR_GENERIC},
      {"ORVA_ERR_FILE_NOT_FOUND", ORVA_ERR_FILE_NOT_FOUND},
      {"ORVA_ERR_END_OF_FILE", ORVA_ERR_END_OF_FILE},
      {"ORVA_ERR_ID_MISMATCH", ORVA_ERR_ID_MISMATCH},
      {"ORVA_ERR_VERSION", ORVA_ERR_VERSION},
      {"ORVA_ERR_ALREADY_OPEN", ORVA_ERR_ALREADY_OPEN},
      {"ORVA_ERR_HEADER", ORVA_ERR_HEADER},
      {"ORVA_ERR_CANCELLED", ORVA_ERR_CANCELLED},
      {"ORVA_LANGUAGE_TAG_START", ORVA_LANGUAGE_TAG_START},
      {"ORVA_LANGUAGE_TAG_END", ORVA_LANGUAGE_TAG_END},
      {"ORVA_AMBIGUOUS_PLACEHOLDER", ORVA_AMBIGUOUS_PLACEHOLDER},
      {"ORVA_ALTERNATIVES_SEPARATOR", ORVA_ALTERNATIVES_SEPARATOR},
  };
  for (const auto& [name, value] : constants) raw.attr(name) = py::int_(value);
  raw.def(
         "GetCurrentORVAVersionInfo", [] { return GetCurrentORVAVersionInfo(); },
         "The format version this library implements: 0x0200.")
      .def("GetLeastCompatibleORVAVersionInfo", [] { return GetLeastCompatibleORVAVersionInfo(); });
}

}  // namespace

void BindLanguageText(py::module_& raw) {
  BindLanguageString(raw);
  BindTaggedStrings(raw);
  BindMessageHandler(raw);
  BindConstants(raw);
}

}  // namespace orvada_python
