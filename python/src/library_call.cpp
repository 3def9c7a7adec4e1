#include "python/src/library_call.h"

namespace orvada_python {

bool& LibraryHeldHere() {
  thread_local bool held = false;
  return held;
}

}  // namespace orvada_python
