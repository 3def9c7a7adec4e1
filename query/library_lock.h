// The one lock of the reading library for hosts that call it from several threads.
//
// The library keeps its shared stores without any guard: use counts, file
// positions, the concordance's current language and caches, the text file's chunk
// buffer. Book objects of one book share one store, so two threads may not call the
// library at the same time even through separate book objects. Every question that
// the query library's book and library objects answer holds this lock for its
// whole length (opening, reading, closing); a host thread that calls the library
// itself must hold it too. A verse look-up is well under 10 microseconds, so one
// lock costs little beside it.
#pragma once

#include <mutex>

namespace orva::query {

// The process-wide mutex; lock it with std::lock_guard or std::unique_lock. Not
// recursive: a question must not ask another while it holds the lock.
std::mutex& LibraryMutex();

}  // namespace orva::query
