// BookBase members of the sync indexes and media, and the flattened string arrays.
#include <memory>
#include <string>

#include "python/src/book_base.h"
#include "python/src/conversions.h"
#include "python/src/flattened.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

// An exact key look-up: the sync key, or -1.
template <class Member>
int SyncKey(cORVABookBase& b, py::handle key, Member member) {
  const CString packaged = Bytes8(key);
  return BookCall(b, [&] { return (b.*member)(packaged); });
}

// A partial key look-up: (sync key, word).
template <class Member>
py::tuple PartialMatch(cORVABookBase& b, py::handle key, Member member) {
  const CString packaged = Bytes8(key);
  CString word;
  const int result = BookCall(b, [&] { return (b.*member)(packaged, word); });
  return py::make_tuple(result, ToBytes(word));
}

const char* const kKeyDoc =
    "The sync key of the entry that matches `key` (a packaged string: bytes, or ASCII str), or -1; -1 "
    "under another sync type.";
const char* const kPartialDoc =
    "(sync key, word): the first entry, from the key's lowest form on, that matches the key or sorts above "
    "all its forms, and its word; -1 when there is none.";

}  // namespace

void BindBookSync(BookClass& cls) {
  cls.def(
         "GetWSyncKey", [](cORVABookBase& b, py::handle key) { return SyncKey(b, key, &cORVABookBase::GetWSyncKey); },
         py::arg("key"), kKeyDoc)
      .def(
          "GetWSyncKeyPartialMatch",
          [](cORVABookBase& b, py::handle key) {
            return PartialMatch(b, key, &cORVABookBase::GetWSyncKeyPartialMatch);
          },
          py::arg("key"), kPartialDoc)
      .def(
          "GetWSyncWordCount", [](cORVABookBase& b) { return BookCall(b, [&] { return b.GetWSyncWordCount(); }); },
          "The number of words of the word sync file.")
      .def(
          "GetSSyncKey", [](cORVABookBase& b, py::handle key) { return SyncKey(b, key, &cORVABookBase::GetSSyncKey); },
          py::arg("key"), kKeyDoc)
      .def(
          "GetSSyncKeyPartialMatch",
          [](cORVABookBase& b, py::handle key) {
            return PartialMatch(b, key, &cORVABookBase::GetSSyncKeyPartialMatch);
          },
          py::arg("key"), kPartialDoc)
      .def(
          "GetDSyncKey", [](cORVABookBase& b, py::handle key) { return SyncKey(b, key, &cORVABookBase::GetDSyncKey); },
          py::arg("key"), kKeyDoc)
      .def(
          "GetSyncWordAt",
          [](cORVABookBase& b, int index) -> py::object {
            CString word;
            const int found = BookCall(b, [&] { return b.GetSyncWordAt(index, word); });
            return found ? py::object(ToBytes(word)) : py::none();
          },
          py::arg("index"), "Word `index` of the word, Strong's or date sync file, or None.")
      .def(
          "GetSyncFileSize", [](cORVABookBase& b) { return BookCall(b, [&] { return b.GetSyncFileSize(); }); },
          "The length of the word, Strong's or date sync file; 0 under the verse or no sync type.")
      .def(
          "GetSyncFileData",
          [](cORVABookBase& b) {
            std::string data;
            BookCall(b, [&] {
              data.resize(static_cast<size_t>(b.GetSyncFileSize()));
              return b.GetSyncFileData(data.data());
            });
            return py::bytes(data);
          },
          "The whole word, Strong's or date sync file; empty under the verse or no sync type.")
      .def(
          "GetSyncWordForPointer",
          [](cORVABookBase& b, DWORD offset) {
            CString word;
            BookCall(b, [&] { return b.GetSyncWordForPointer(offset, word); });
            return ToBytes(word);
          },
          py::arg("offset"), "The word stored at file position `offset` of the word sync file (empty for 0).")
      .def(
          "GetVSyncKey",
          [](cORVABookBase& b, py::handle reference) { return SyncKey(b, reference, &cORVABookBase::GetVSyncKey); },
          py::arg("reference"), "The section key of the verse \"book,chapter,verse\", or -1.")
      .def(
          "GetSectionKeyByVerse",
          [](cORVABookBase& b, py::handle reference) {
            return SyncKey(b, reference, &cORVABookBase::GetSectionKeyByVerse);
          },
          py::arg("reference"), "GetVSyncKey under its second name.")
      .def(
          "IsMediaAvailable",
          [](cORVABookBase& b, py::handle name) -> py::object {
            const CString file = HostString(name);
            CString path;
            const bool available = BookCall(b, [&] { return b.IsMediaAvailable(file, path) != 0; });
            return available ? py::object(FromHostString(path)) : py::none();
          },
          py::arg("name"), "The full path of media file `name` when the book has a media path, else None.")
      .def(
          "StoreCStringArray",
          [](cORVABookBase& b, py::iterable strings) {
            CStringArray array;
            ToStringArray(strings, array);
            std::unique_ptr<char, OperatorDelete> buffer;
            const int length = BookCall(b, [&] {
              char* out = nullptr;
              const int size = b.StoreCStringArray(&out, array);
              buffer.reset(out);
              return size;
            });
            return ToBytes(buffer.get(), static_cast<size_t>(length));
          },
          py::arg("strings"), "The byte strings flattened to one buffer: count, data length, the strings archived.")
      .def(
          "LoadCStringArray",
          [](cORVABookBase& b, py::bytes flattened) {
            std::string buffer = flattened;
            CheckFlattenedStrings(buffer);
            CStringArray strings;
            BookCall(b, [&] { b.LoadCStringArray(buffer.data(), strings); });
            return FromStringArray(strings);
          },
          py::arg("buffer"),
          "The strings of a buffer StoreCStringArray made. A buffer shorter than its length field says raises "
          "ValueError; data that ends early DamagedBook (cause 14), a negative count DamagedBook (cause 1).");
}

}  // namespace orvada_python
