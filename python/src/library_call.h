// How the module calls the reading library: with the GIL released, so that other
// Python threads run meanwhile, and with the query library's process-wide lock
// (query/library_lock.h) held, because the library's shared stores have no guard
// of their own.
//
// Code inside a library call must not touch Python objects: convert arguments
// before and results after. A hook or callback that the library calls back into
// Python takes the GIL itself; a library call it makes runs at once, under the
// lock its thread holds already, as a C++ host's hook would call the library.
#pragma once

#include <pybind11/pybind11.h>

#include <mutex>

#include "query/library_lock.h"

namespace orvada_python {

// True while this thread holds the library lock through LibraryCall.
bool& LibraryHeldHere();

// Runs `call` with the GIL released and the library lock held; returns its
// result, and lets its exceptions pass once the GIL is held again.
template <class Call>
auto LibraryCall(Call&& call) -> decltype(call()) {
  if (LibraryHeldHere()) return call();
  pybind11::gil_scoped_release release;
  std::lock_guard<std::mutex> lock(orva::query::LibraryMutex());
  struct Held {
    Held() { LibraryHeldHere() = true; }
    ~Held() { LibraryHeldHere() = false; }
  } held;
  return call();
}

}  // namespace orvada_python
