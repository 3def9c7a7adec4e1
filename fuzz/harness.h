// What the book harnesses share: swallowing the library's exceptions, and pointing
// a book object at the harness's memory book for one input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "orvada.h"

namespace orva::fuzz {

// Runs `read`; a CException* it raises is deleted: damage is an answer a harness
// expects, anything else (a crash, a sanitizer report, std::bad_alloc) is a finding.
template <class F>
void Try(F&& read) {
  try {
    read();
  } catch (CException* e) {
    e->Delete();
  }
}

// Makes the input's file `name` of the harness book hold `file` (every other file
// empty), silences the library's notices, and points `book` at the harness book
// with `syncType` and with the ids of the version record at the start of `file`
// (0 when it is shorter than 6 bytes), so that inputs pass the identity check.
// With `anyVersion`, a client version that opens every format version is set too.
void PrepareBook(cORVABookBase& book, const std::string& name, const std::uint8_t* file, std::size_t size,
                 const char* syncType = "word", bool anyVersion = true);

}  // namespace orva::fuzz
