// orvada.raw.BookBase: cORVABookBase for Python.
//
// Every BookBase is a PyBookBase, so that a Python subclass can override the
// hooks. The library calls a hook while it holds the library lock: the hook takes
// the GIL to run Python. A Python exception in a hook does not pass through the
// library: the hook answers as the base version would (PreOpenFiles answers 19,
// cancelled, so that Open stops), and the exception is raised when the library
// call that ran the hook returns.
//
// A BookBase is destroyed under the library lock: closing its files changes the
// shared store.
#pragma once

#include <pybind11/pybind11.h>

#include <exception>
#include <memory>
#include <type_traits>
#include <utility>

#include "orvada.h"
#include "python/src/library_call.h"

namespace orvada_python {

class PyBookBase : public cORVABookBase {
 public:
  using cORVABookBase::MaskInvalidSyncFileFlags;

  void PubIDBookIDMismatch(const char* path, WORD expectedPubID, WORD expectedBookID, WORD filePubID,
                           WORD fileBookID) override;
  void LeastCompatibleORVAVersionError(const char* path, BYTE programMajor, BYTE programMinor, BYTE fileMajor,
                                       BYTE fileMinor) override;
  int PreOpenFiles(DWORD request) override;
  void PostOpenFiles(DWORD request) override;

  // The chunk size of the area reading begun by GetFirstViewableAreaChunk: the
  // size of the buffer GetNextViewableAreaChunk needs.
  unsigned int chunkSize = 0;
  // The first Python exception a hook raised during the library call in progress.
  std::exception_ptr hookError;

 private:
  // The Python override of hook `name`, or none; keeps a failure of the look-up
  // as the hook error. Needs the GIL.
  pybind11::function Override(const char* name);
  // Keeps the Python exception being handled as the hook error, unless there is one.
  void KeepHookError();
};

struct LockedDelete {
  void operator()(cORVABookBase* book) const;
};

using BookClass = pybind11::class_<cORVABookBase, PyBookBase, std::unique_ptr<cORVABookBase, LockedDelete>>;

// The PyBookBase of a BookBase.
PyBookBase& Host(cORVABookBase& book);

// LibraryCall for a member of `book`: raises the hook error, if a hook raised one,
// in place of the call's result or exception.
template <class Call>
auto BookCall(cORVABookBase& book, Call&& call) -> decltype(call()) {
  if (LibraryHeldHere()) return call();
  PyBookBase& host = Host(book);
  host.hookError = nullptr;
  try {
    if constexpr (std::is_void_v<decltype(call())>) {
      LibraryCall(call);
      if (host.hookError) std::rethrow_exception(std::exchange(host.hookError, nullptr));
    } else {
      auto result = LibraryCall(call);
      if (host.hookError) std::rethrow_exception(std::exchange(host.hookError, nullptr));
      return result;
    }
  } catch (...) {
    if (host.hookError) std::rethrow_exception(std::exchange(host.hookError, nullptr));
    throw;
  }
}

// The members of each part of the book.
void BindBookState(BookClass& cls);     // properties, open state, hooks, errors
void BindBookText(BookClass& cls);      // book.dat and viewable.idx
void BindBookSections(BookClass& cls);  // sections.idx and flattened section arrays
void BindBookWords(BookClass& cls);     // concord.idx and verses.idx
void BindBookSync(BookClass& cls);      // the sync indexes, media, string arrays

}  // namespace orvada_python
