// The value classes of orvada.raw: the records members return, SectionsData and
// LanguageString.
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "orvada.h"
#include "python/src/conversions.h"
#include "python/src/flattened.h"
#include "python/src/library_call.h"
#include "python/src/raw.h"

namespace py = pybind11;

namespace orvada_python {

namespace {

// A record class: read-only fields under their C++ names, bytes(record) the
// record as it stands on disk, == by those bytes, and a repr of the fields.
template <class Record>
class RecordClass {
 public:
  RecordClass(py::module_& raw, const char* name, const char* doc) : m_class(raw, name, doc) {
    m_class.def("__bytes__", [](const Record& r) { return ToBytes(reinterpret_cast<const char*>(&r), sizeof r); })
        .def(
            "__eq__", [](const Record& a, const Record& b) { return std::memcmp(&a, &b, sizeof a) == 0; },
            py::is_operator())
        .def("__hash__",
             [](const Record& r) { return py::hash(ToBytes(reinterpret_cast<const char*>(&r), sizeof r)); });
  }
  template <class Get>
  RecordClass& Field(const char* name, Get get) {
    m_class.def_property_readonly(name, get);
    m_fields.emplace_back(name);
    return *this;
  }

  // Ends the class with its repr: "Name(field=value, ...)".
  void Repr() {
    m_class.def("__repr__",
                [fields = m_fields, name = std::string(py::str(m_class.attr("__name__")))](py::object self) {
                  std::string text = name + "(";
                  for (size_t i = 0; i < fields.size(); ++i) {
                    if (i > 0) text += ", ";
                    text += fields[i] + "=" + std::string(py::repr(self.attr(fields[i].c_str())));
                  }
                  return text + ")";
                });
  }

 private:
  py::class_<Record> m_class;
  std::vector<std::string> m_fields;
};

template <size_t N>
py::bytes BytesOf(const BYTE (&bytes)[N]) {
  return ToBytes(reinterpret_cast<const char*>(bytes), N);
}

void BindRecords(py::module_& raw) {
  RecordClass<sVersionRecord>(raw, "VersionRecord", "The version record at the head of every book file (18 bytes).")
      .Field("wRecordLength", [](const sVersionRecord& r) { return r.wRecordLength; })
      .Field("wPublisherID", [](const sVersionRecord& r) { return r.wPublisherID; })
      .Field("wBookID", [](const sVersionRecord& r) { return r.wBookID; })
      .Field("reserved1", [](const sVersionRecord& r) { return BytesOf(r.reserved1); })
      .Field("byLCSMajor", [](const sVersionRecord& r) { return r.byLCSMajor; })
      .Field("byLCSMinor", [](const sVersionRecord& r) { return r.byLCSMinor; })
      .Field("reserved2", [](const sVersionRecord& r) { return BytesOf(r.reserved2); })
      .Repr();
  RecordClass<sSectionsHeader>(raw, "SectionsHeader", "The header of sections.idx (20 bytes).")
      .Field("wRecordLength", [](const sSectionsHeader& r) { return r.wRecordLength; })
      .Field("lSectionCount", [](const sSectionsHeader& r) { return r.lSectionCount; })
      .Field("lGlossaryCount", [](const sSectionsHeader& r) { return r.lGlossaryCount; })
      .Field("wRecordSize", [](const sSectionsHeader& r) { return r.wRecordSize; })
      .Field("dwNonBibleOffset", [](const sSectionsHeader& r) { return r.dwNonBibleOffset; })
      .Field("dwWordCountOffset", [](const sSectionsHeader& r) { return r.dwWordCountOffset; })
      .Repr();
  RecordClass<sWordListRec>(raw, "WordListRec",
                            "The head of a word record of concord.idx (18 bytes). Its last six bytes are read "
                            "two ways: wKey16Count and dwPositionTable with plain lists, dwPositionDirectory "
                            "and wData with coded ones.")
      .Field("dwData", [](const sWordListRec& r) { return r.dwData; })
      .Field("dwKeyCount", [](const sWordListRec& r) { return r.dwKeyCount; })
      .Field("dwEntryOffset", [](const sWordListRec& r) { return r.dwEntryOffset; })
      .Field("wKey16Count", [](const sWordListRec& r) { return r.lists.plain.wKey16Count; })
      .Field("dwPositionTable", [](const sWordListRec& r) { return r.lists.plain.dwPositionTable; })
      .Field("dwPositionDirectory", [](const sWordListRec& r) { return r.lists.coded.dwPositionDirectory; })
      .Field("wData", [](const sWordListRec& r) { return r.lists.coded.wData; })
      .Repr();
  RecordClass<SYNC_DATA>(raw, "SyncData", "The six bytes of sync data of a section: a 32-bit word and a 16-bit word.")
      .Field("dwValue", [](const SYNC_DATA& r) { return r.words.dwValue; })
      .Field("wValue", [](const SYNC_DATA& r) { return r.words.wValue; })
      .Repr();
}

// The flattened record.
std::string Flat(const cSectionsData& s) {
  char* out = nullptr;
  const int length = s.Store(&out);
  const std::unique_ptr<char, OperatorDelete> owner(out);
  return std::string(out, static_cast<size_t>(length));
}

void BindSectionsData(py::module_& raw) {
  py::class_<cSectionsData>(raw, "SectionsData",
                            "One entry of a book's table of contents (cSectionsData): a section or a glossary "
                            "entry. Its name is bytes, 8-bit text of the book.")
      .def(py::init<>(), "Keys -1, level -1, level count 0, empty name, zero sync data.")
      .def("GetName", [](const cSectionsData& s) { return ToBytes(s.GetName()); })
      .def("GetLevel", &cSectionsData::GetLevel)
      .def("GetBookKey", &cSectionsData::GetBookKey)
      .def("GetLevelCount", &cSectionsData::GetLevelCount)
      .def("GetSectionKey", &cSectionsData::GetSectionKey)
      .def("GetParentKey", &cSectionsData::GetParentKey)
      .def("GetChildKey", &cSectionsData::GetChildKey)
      .def("GetNextKey", &cSectionsData::GetNextKey)
      .def("GetPrevKey", &cSectionsData::GetPrevKey)
      .def("GetSyncData",
           [](const cSectionsData& s) {
             SYNC_DATA data{};
             s.GetSyncData(&data);
             return data;
           })
      .def(
          "SetName", [](cSectionsData& s, py::handle name) { s.SetName(Bytes8(name)); }, py::arg("name"))
      .def("SetLevel", &cSectionsData::SetLevel, py::arg("v"))
      .def("SetBookKey", &cSectionsData::SetBookKey, py::arg("v"))
      .def("SetLevelCount", &cSectionsData::SetLevelCount, py::arg("v"))
      .def("SetSectionKey", &cSectionsData::SetSectionKey, py::arg("v"))
      .def("SetParentKey", &cSectionsData::SetParentKey, py::arg("v"))
      .def("SetChildKey", &cSectionsData::SetChildKey, py::arg("v"))
      .def("SetNextKey", &cSectionsData::SetNextKey, py::arg("v"))
      .def("SetPrevKey", &cSectionsData::SetPrevKey, py::arg("v"))
      .def(
          "Store", [](const cSectionsData& s) { return py::bytes(Flat(s)); },
          "The record flattened (42 + L bytes: eight keys, the name length L, the name, the sync data).")
      .def(
          "Load",
          [](cSectionsData& s, py::bytes flattened) {
            const std::string buffer = flattened;
            CheckFlattenedSection(buffer);
            s.Load(buffer.data());
          },
          py::arg("buffer"),
          "Sets every field from a flattened record; one shorter than its name length says raises ValueError.")
      .def(
          "__eq__", [](const cSectionsData& a, const cSectionsData& b) { return Flat(a) == Flat(b); },
          py::is_operator())
      .def("__repr__", [](const cSectionsData& s) {
        return "SectionsData(key=" + std::to_string(s.GetSectionKey()) + ", level=" + std::to_string(s.GetLevel()) +
               ", name=" + std::string(py::repr(ToBytes(s.GetName()))) + ")";
      });
}

}  // namespace

void BindRawValues(py::module_& raw) {
  BindRecords(raw);
  BindSectionsData(raw);
}

}  // namespace orvada_python
