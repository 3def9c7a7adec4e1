// BookBase members of the sections index, and the flattened section arrays.
#include <exception>
#include <memory>
#include <string>

#include "python/src/book_base.h"
#include "python/src/conversions.h"
#include "python/src/flattened.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

using SectionsArray = CArray<cSectionsData, cSectionsData&>;

py::list ToList(const SectionsArray& sections) {
  py::list list(sections.GetSize());
  for (int i = 0; i < sections.GetSize(); ++i) list[i] = py::cast(sections[i]);
  return list;
}

// A section member that fills one record and returns 0 on success: the record,
// or None.
template <class Member>
py::object SectionOrNone(cORVABookBase& b, int key, Member member) {
  cSectionsData section;
  const bool found = BookCall(b, [&] { return (b.*member)(key, section) == 0; });
  return found ? py::cast(section) : py::none();
}

struct Enumeration {
  py::function callback;
  std::exception_ptr error;
};

int CallEnumerationCallback(cSectionsData& section, void* context) {
  auto& enumeration = *static_cast<Enumeration*>(context);
  py::gil_scoped_acquire gil;
  try {
    return py::bool_(enumeration.callback(cSectionsData(section))) ? 1 : 0;
  } catch (...) {
    enumeration.error = std::current_exception();
    return 0;
  }
}

}  // namespace

void BindBookSections(BookClass& cls) {
  cls.def(
         "GetSectionHeader",
         [](cORVABookBase& b) {
           sSectionsHeader header{};
           BookCall(b, [&] { return b.GetSectionHeader(&header); });
           return header;
         },
         "The sections header (20 bytes).")
      .def(
          "IsValidSectionKey",
          [](cORVABookBase& b, int key) { return BookCall(b, [&] { return b.IsValidSectionKey(key) != 0; }); },
          py::arg("key"), "True when 0 <= key < S.")
      .def(
          "IsValidGlossaryKey",
          [](cORVABookBase& b, int key) { return BookCall(b, [&] { return b.IsValidGlossaryKey(key) != 0; }); },
          py::arg("key"), "True when key is -2 (the first glossary entry) or S <= key < S+G.")
      .def(
          "IsValidKey", [](cORVABookBase& b, int key) { return BookCall(b, [&] { return b.IsValidKey(key) != 0; }); },
          py::arg("key"), "True when 0 <= key < S+G.")
      .def(
          "GetLastSectionKey", [](cORVABookBase& b) { return BookCall(b, [&] { return b.GetLastSectionKey(); }); },
          "S - 1.")
      .def(
          "GetLastKey", [](cORVABookBase& b) { return BookCall(b, [&] { return b.GetLastKey(); }); }, "S + G - 1.")
      .def(
          "GetSection", [](cORVABookBase& b, int key) { return SectionOrNone(b, key, &cORVABookBase::GetSection); },
          py::arg("key"), "The section `key`, or None when key is not a section key.")
      .def(
          "GetGlossary", [](cORVABookBase& b, int key) { return SectionOrNone(b, key, &cORVABookBase::GetGlossary); },
          py::arg("key"), "The glossary entry `key` (-2: the first), or None.")
      .def(
          "GetEntry", [](cORVABookBase& b, int key) { return SectionOrNone(b, key, &cORVABookBase::GetEntry); },
          py::arg("key"), "A section key read as by GetSection, any other key as by GetGlossary.")
      .def(
          "GetSectionAndValidateKey",
          [](cORVABookBase& b, int key) -> py::object {
            cSectionsData section;
            const bool found = BookCall(b, [&] { return b.GetSectionAndValidateKey(key, section); });
            return found ? py::cast(section) : py::none();
          },
          py::arg("key"), "The section `key` when IsValidKey(key) and GetSection succeeds, else None.")
      .def(
          "GetSectionsArray",
          [](cORVABookBase& b, int key) {
            SectionsArray sections;
            BookCall(b, [&] { return b.GetSectionsArray(key, sections); });
            return ToList(sections);
          },
          py::arg("key"), "Section `key` and each next sibling after it.")
      .def(
          "EnumSections",
          [](cORVABookBase& b, int key, py::function callback) {
            Enumeration enumeration{std::move(callback), nullptr};
            const int result = BookCall(b, [&] { return b.EnumSections(key, CallEnumerationCallback, &enumeration); });
            if (enumeration.error) std::rethrow_exception(enumeration.error);
            return result;
          },
          py::arg("key"), py::arg("callback"),
          "Calls callback(section) for section `key` and, while it returns a true value, for each next "
          "sibling. Returns 0 when key is not a section; the number of calls when a callback returned false; "
          "one more when the chain ran out. An exception in the callback stops the walk and is raised.")
      .def(
          "GetSectionNamesForRange",
          [](cORVABookBase& b, int key, int a, int last) {
            CStringArray names;
            BookCall(b, [&] { return b.GetSectionNamesForRange(key, a, last, names); });
            return FromStringArray(names);
          },
          py::arg("key"), py::arg("a"), py::arg("b"),
          "The names at positions a ... b-1 of the sibling chain from section `key` (`key` is position 0).")
      .def(
          "GetSiblingSectionCount",
          [](cORVABookBase& b, int key) { return BookCall(b, [&] { return b.GetSiblingSectionCount(key); }); },
          py::arg("key"), "The number of sections in key's sibling chain, key included.")
      .def(
          "GetSectionKey",
          [](cORVABookBase& b, py::handle path) {
            const CString names = Bytes8(path);
            return BookCall(b, [&] { return b.GetSectionKey(names); });
          },
          py::arg("path"),
          "The key of the section that `path` names (names separated by backslashes, outermost first, A-Z "
          "compared without case), or -1.")
      .def(
          "GetPathFromKey",
          [](cORVABookBase& b, int key) { return ToBytes(BookCall(b, [&] { return b.GetPathFromKey(key); })); },
          py::arg("key"), "b\"\\\\Name1\\\\Name2\": the names from the outermost level down to entry `key`.")
      .def(
          "GetFormattedPathFromKey",
          [](cORVABookBase& b, int key, py::handle separator) {
            const CString between = Bytes8(separator);
            return ToBytes(BookCall(b, [&] { return b.GetFormattedPathFromKey(key, between); }));
          },
          py::arg("key"), py::arg("separator"), "The same names with `separator` between them and none in front.")
      .def(
          "GetKeyRange",
          [](cORVABookBase& b, const cSectionsData& entry) {
            int first = -1, last = -1;
            BookCall(b, [&] { b.GetKeyRange(entry, &first, &last); });
            return py::make_tuple(first, last);
          },
          py::arg("entry"), "(first, last): the first and the last key of the book of `entry`.")
      .def(
          "GetNonBibleSections",
          [](cORVABookBase& b) {
            CWordArray sections;
            BookCall(b, [&] { b.GetNonBibleSections(sections); });
            return ToList(sections);
          },
          "The non-Bible section list.")
      .def(
          "SectionWordCount",
          [](cORVABookBase& b, int key) { return BookCall(b, [&] { return b.SectionWordCount(key); }); },
          py::arg("key"), "The word count of section `key`, or -1.")
      .def(
          "StoreSectionsArray",
          [](cORVABookBase& b, py::iterable records) {
            SectionsArray sections;
            for (py::handle item : records) {
              cSectionsData record = item.cast<cSectionsData>();
              sections.Add(record);
            }
            std::unique_ptr<char, OperatorDelete> buffer;
            const int length = BookCall(b, [&] {
              char* out = nullptr;
              const int size = b.StoreSectionsArray(&out, sections);
              buffer.reset(out);
              return size;
            });
            return ToBytes(buffer.get(), static_cast<size_t>(length));
          },
          py::arg("sections"), "The sections flattened into one buffer (see SectionsData.Store).")
      .def(
          "LoadSectionsArray",
          [](cORVABookBase& b, py::bytes flattened) {
            std::string buffer = flattened;
            CheckFlattenedSections(buffer);
            SectionsArray sections;
            BookCall(b, [&] { b.LoadSectionsArray(buffer.data(), sections); });
            return ToList(sections);
          },
          py::arg("buffer"),
          "The sections of a buffer that StoreSectionsArray made. The buffer is checked first: one that does "
          "not hold all its records raises ValueError.");
}

}  // namespace orvada_python
