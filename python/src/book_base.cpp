#include "python/src/book_base.h"

#include "python/src/conversions.h"
#include "python/src/errors.h"
#include "python/src/raw.h"
#include "query/book_access.h"

namespace py = pybind11;

namespace orvada_python {

py::function PyBookBase::Override(const char* name) {
  try {
    return py::get_override(static_cast<const cORVABookBase*>(this), name);
  } catch (...) {
    KeepHookError();
    return py::function();
  }
}

void PyBookBase::KeepHookError() {
  if (!hookError) hookError = std::current_exception();
}

void PyBookBase::PubIDBookIDMismatch(const char* path, WORD expectedPubID, WORD expectedBookID, WORD filePubID,
                                     WORD fileBookID) {
  {
    py::gil_scoped_acquire gil;
    if (py::function hook = Override("PubIDBookIDMismatch")) {
      try {
        hook(FromHostString(path), expectedPubID, expectedBookID, filePubID, fileBookID);
      } catch (...) {
        KeepHookError();
      }
      return;
    }
  }
  cORVABookBase::PubIDBookIDMismatch(path, expectedPubID, expectedBookID, filePubID, fileBookID);
}

void PyBookBase::LeastCompatibleORVAVersionError(const char* path, BYTE programMajor, BYTE programMinor, BYTE fileMajor,
                                                 BYTE fileMinor) {
  {
    py::gil_scoped_acquire gil;
    if (py::function hook = Override("LeastCompatibleORVAVersionError")) {
      try {
        hook(FromHostString(path), programMajor, programMinor, fileMajor, fileMinor);
      } catch (...) {
        KeepHookError();
      }
      return;
    }
  }
  cORVABookBase::LeastCompatibleORVAVersionError(path, programMajor, programMinor, fileMajor, fileMinor);
}

int PyBookBase::PreOpenFiles(DWORD request) {
  {
    py::gil_scoped_acquire gil;
    if (py::function hook = Override("PreOpenFiles")) {
      try {
        return hook(request).cast<int>();
      } catch (...) {
        KeepHookError();
        return ORVA_ERR_CANCELLED;
      }
    }
    if (hookError) return ORVA_ERR_CANCELLED;
  }
  return cORVABookBase::PreOpenFiles(request);
}

void PyBookBase::PostOpenFiles(DWORD request) {
  {
    py::gil_scoped_acquire gil;
    if (py::function hook = Override("PostOpenFiles")) {
      try {
        hook(request);
      } catch (...) {
        KeepHookError();
      }
      return;
    }
  }
  cORVABookBase::PostOpenFiles(request);
}

void LockedDelete::operator()(cORVABookBase* book) const {
  if (LibraryHeldHere()) {
    delete book;
    return;
  }
  if (PyGILState_Check()) {
    LibraryCall([book] { delete book; });
    return;
  }
  std::lock_guard<std::mutex> lock(orva::query::LibraryMutex());
  delete book;
}

PyBookBase& Host(cORVABookBase& book) {
  auto* host = dynamic_cast<PyBookBase*>(&book);
  if (host == nullptr) throw py::type_error("not a BookBase made by orvada.raw");
  return *host;
}

namespace {

const char* const kBookDoc = R"(The book object of the reading library (cORVABookBase), one per book a host reads.

Set the book's identifiers and the folder of each file (PointBookAt does both
for a book folder), then Open the parts by their flag bits (ORVA_TEXT ...).
Members keep their C++ names and contracts (include/orvada/book_base.h);
results that C++ writes through pointers or references are returned. Text of
the book is bytes, the host's own strings (paths, identifiers) str. Damaged
files raise orvada.DamagedBook, a part that is not open orvada.DamagedBook
with cause 1, as the library raises its file exception.

Every call holds the library's one lock, with the GIL released: separate
BookBase objects may be used from separate threads. A subclass may override
the hooks PubIDBookIDMismatch, LeastCompatibleORVAVersionError, PreOpenFiles
and PostOpenFiles; the library calls them from inside Open, and an exception
one raises comes out of that call.)";

const char* const kHostStringDoc = "A host string of the book object (str; bytes and paths are accepted to set).";

void BindHostStrings(BookClass& cls) {
#define ORVADA_HOST_STRING(Name)                                                                                   \
  cls.def(                                                                                                         \
         "Get" #Name, [](cORVABookBase& b) { return FromHostString(BookCall(b, [&] { return b.Get##Name(); })); }, \
         kHostStringDoc)                                                                                           \
      .def(                                                                                                        \
          "Set" #Name,                                                                                             \
          [](cORVABookBase& b, py::handle value) {                                                                 \
            const CString text = HostString(value);                                                                \
            BookCall(b, [&] { b.Set##Name(text); });                                                               \
          },                                                                                                       \
          py::arg("value"), kHostStringDoc)
  ORVADA_HOST_STRING(BookName);
  ORVADA_HOST_STRING(DefVolumeID);
  ORVADA_HOST_STRING(RegVolumeID);
  ORVADA_HOST_STRING(DefMediaType);
  ORVADA_HOST_STRING(RegMediaType);
  ORVADA_HOST_STRING(DefPath);
  ORVADA_HOST_STRING(TextPath);
  ORVADA_HOST_STRING(ViewablePath);
  ORVADA_HOST_STRING(SectionsPath);
  ORVADA_HOST_STRING(VersesPath);
  ORVADA_HOST_STRING(ConcordPath);
  ORVADA_HOST_STRING(WSyncPath);
  ORVADA_HOST_STRING(VSyncPath);
  ORVADA_HOST_STRING(SSyncPath);
  ORVADA_HOST_STRING(DSyncPath);
  ORVADA_HOST_STRING(MediaPath);
  ORVADA_HOST_STRING(Edition);
  ORVADA_HOST_STRING(BookID);
  ORVADA_HOST_STRING(PublisherID);
  ORVADA_HOST_STRING(SetID);
  ORVADA_HOST_STRING(SyncType);
  ORVADA_HOST_STRING(ClientProgramVersion);
  ORVADA_HOST_STRING(ServerIP);
#undef ORVADA_HOST_STRING
}

void BindNumbers(BookClass& cls) {
#define ORVADA_NUMBER(Name, Type)                                                                      \
  cls.def("Get" #Name, [](cORVABookBase& b) { return BookCall(b, [&] { return b.Get##Name(); }); })    \
      .def(                                                                                            \
          "Set" #Name, [](cORVABookBase& b, Type value) { BookCall(b, [&] { b.Set##Name(value); }); }, \
          py::arg("value"))
  ORVADA_NUMBER(BookNumber, int);
  ORVADA_NUMBER(DataSetNumber, int);
  ORVADA_NUMBER(Port, UINT);
#undef ORVADA_NUMBER
}

void BindHooks(BookClass& cls) {
  cls.def(
         "PubIDBookIDMismatch",
         [](cORVABookBase& b, py::handle path, WORD expectedPubID, WORD expectedBookID, WORD filePubID,
            WORD fileBookID) {
           const CString file = HostString(path);
           BookCall(b, [&] {
             b.cORVABookBase::PubIDBookIDMismatch(file, expectedPubID, expectedBookID, filePubID, fileBookID);
           });
         },
         py::arg("path"), py::arg("expectedPubID"), py::arg("expectedBookID"), py::arg("filePubID"),
         py::arg("fileBookID"),
         "Hook: a file of another publisher or book. The base version shows a notice through the "
         "message handler.")
      .def(
          "LeastCompatibleORVAVersionError",
          [](cORVABookBase& b, py::handle path, BYTE programMajor, BYTE programMinor, BYTE fileMajor, BYTE fileMinor) {
            const CString file = HostString(path);
            BookCall(b, [&] {
              b.cORVABookBase::LeastCompatibleORVAVersionError(file, programMajor, programMinor, fileMajor, fileMinor);
            });
          },
          py::arg("path"), py::arg("programMajor"), py::arg("programMinor"), py::arg("fileMajor"), py::arg("fileMinor"),
          "Hook: a file that needs a newer format. The base version shows a notice.")
      .def(
          "PreOpenFiles",
          [](cORVABookBase& b, DWORD request) {
            return BookCall(b, [&] { return b.cORVABookBase::PreOpenFiles(request); });
          },
          py::arg("request"),
          "Hook: called by Open before anything is opened; a nonzero result stops Open, which returns it. "
          "The base version returns 0.")
      .def(
          "PostOpenFiles",
          [](cORVABookBase& b, DWORD request) { BookCall(b, [&] { b.cORVABookBase::PostOpenFiles(request); }); },
          py::arg("request"), "Hook: called by Open after the files are opened, with the same request.")
      .def(
          "FindFilePaths",
          [](cORVABookBase& b, DWORD a, DWORD c2, DWORD c3) {
            const int result = BookCall(b, [&] { return b.FindFilePaths(a, c2, c3); });
            return py::make_tuple(result, a, c2, c3);
          },
          py::arg("a"), py::arg("b"), py::arg("c"),
          "FindFilePaths(a, b, c) -> (result, a, b, c). Not called by the library; the base version returns 0.");
}

void BindOpenState(BookClass& cls) {
  cls.def(
         "Open", [](cORVABookBase& b, DWORD request) { return BookCall(b, [&] { return b.Open(request); }); },
         py::arg("request"),
         "Opens the requested parts whose path is set: 0, or an error code (GetErrorString) with nothing of "
         "the request left open; 17 when a requested bit is open already. A file shorter than its version "
         "record or header raises DamagedBook.")
      .def(
          "Close", [](cORVABookBase& b, DWORD request) { BookCall(b, [&] { b.Close(request); }); },
          py::arg("request") = static_cast<DWORD>(ORVA_ALL_OPEN),
          "Gives the requested bits back; ORVA_ALL_OPEN (the default) every open bit.")
      .def(
          "IsOpen", [](cORVABookBase& b, DWORD request) { return BookCall(b, [&] { return b.IsOpen(request) != 0; }); },
          py::arg("request"), "True when every requested bit is open; IsOpen(0) is True.")
      .def("IsClosed", [](cORVABookBase& b) { return BookCall(b, [&] { return b.IsClosed() != 0; }); })
      .def(
          "SearchEvent",
          [](cORVABookBase& b, DWORD request) { return BookCall(b, [&] { return b.SearchEvent(request); }); },
          py::arg("request"), "0 when IsOpen(request); otherwise raises the not-open exception (DamagedBook, cause 1).")
      .def("OpenFlags", [](cORVABookBase& b) { return BookCall(b, [&] { return b.OpenFlags(); }); })
      .def("RemoteFlags", [](cORVABookBase& b) { return BookCall(b, [&] { return b.RemoteFlags(); }); })
      .def("LocalFlags", [](cORVABookBase& b) { return BookCall(b, [&] { return b.LocalFlags(); }); })
      .def(
          "MarkAllRemoteFilesClosed", [](cORVABookBase& b) { BookCall(b, [&] { b.MarkAllRemoteFilesClosed(); }); },
          "Forgets the open bits without closing anything (only Close with the explicit bits gives them back).")
      .def(
          "GetSyncTypeFlag", [](cORVABookBase& b) { return BookCall(b, [&] { return b.GetSyncTypeFlag(); }); },
          "0x020 word, 0x040 verse, 0x080 strongs, 0x100 date, else 0.")
      .def(
          "MaskInvalidSyncFileFlags",
          [](cORVABookBase& b, DWORD request) {
            return BookCall(b, [&] {
              Host(b).MaskInvalidSyncFileFlags(request);
              return request;
            });
          },
          py::arg("request"), "The request without the sync bits other than the book's sync type flag.")
      .def("IsBookRemote", [](cORVABookBase& b) { return BookCall(b, [&] { return b.IsBookRemote() != 0; }); })
      .def(
          "CopyRemoteFile",
          [](cORVABookBase& b, py::handle targetPath, py::handle sourceName, int flag) {
            const CString target = HostString(targetPath);
            const CString source = HostString(sourceName);
            return BookCall(b, [&] { return b.CopyRemoteFile(target, source, flag); });
          },
          py::arg("targetPath"), py::arg("sourceName"), py::arg("flag"),
          "The library reads no file remotely: returns 1.")
      .def(
          "GetIdxVersionRecord",
          [](cORVABookBase& b) {
            sVersionRecord record{};
            BookCall(b, [&] { return b.GetIdxVersionRecord(&record); });
            return record;
          },
          "The version record of the first open index among sections, viewable, concordance, verses and the "
          "sync files; all zero when none is open.")
      .def(
          "GetErrorString",
          [](cORVABookBase& b, int code) {
            return FromHostString(BookCall(b, [&] { return b.GetErrorString(code); }));
          },
          py::arg("code"), "The message of an error code.")
      .def(
          "ConvertCauseToErrorCode",
          [](cORVABookBase& b, int cause) { return BookCall(b, [&] { return b.ConvertCauseToErrorCode(cause); }); },
          py::arg("cause"), "The error code of a file exception cause.");
}

}  // namespace

void BindBookBase(py::module_& raw) {
  BookClass cls(raw, "BookBase", kBookDoc);
  cls.def(py::init_alias<>());
  BindHostStrings(cls);
  BindNumbers(cls);
  BindHooks(cls);
  BindOpenState(cls);
  BindBookText(cls);
  BindBookSections(cls);
  BindBookWords(cls);
  BindBookSync(cls);
  raw.def(
      "PointBookAt",
      [](cORVABookBase& book, py::handle folder) {
        const std::string path = static_cast<const char*>(HostString(folder));
        BookCall(book, [&] { WithBookErrorAs(BookNotFoundClass(), [&] { orva::query::PointBookAt(book, path); }); });
      },
      py::arg("book"), py::arg("folder"),
      "Points every path of `book` at the book folder `folder` and sets its publisher and book ids (from "
      "the version record of its first file) and its sync type (from the sync index it holds), as the orva "
      "program does. Raises BookNotFound when the folder holds no book.");
}

}  // namespace orvada_python
