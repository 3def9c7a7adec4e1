#include "query/library_lock.h"

namespace orva::query {

std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace orva::query
