// What the book harnesses share: swallowing the library's exceptions, giving the
// harness's memory book the files of one input, and pointing a book object at it.
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

// Makes file `name` of the harness book hold the `size` bytes of `file`. A file of
// odd size is padded with zero bytes to just past 64 KiB: the platform reads a
// file of up to 64 KiB whole and maps a longer one, and the inputs are shorter
// (libFuzzer runs with -max_len=65536), so the padding lets inputs reach both.
void SetFile(const std::string& name, const std::uint8_t* file, std::size_t size);

// Makes the input's file `name` of the harness book hold `file` as it is (every
// other file empty), silences the library's notices, and points `book` at the
// harness book with `syncType` and with the ids of the version record at the
// start of `file` (0 when it is shorter than 6 bytes), so that inputs pass the
// identity check. With `anyVersion`, a client version that opens every format
// version is set too.
//
// The file is not padded as SetFile pads: a padded file reads as 64 KiB, whose
// counts may claim lists of half a million entries that the readers then decode,
// ten times the work of the input itself, and the padded inputs came to fill the
// corpus. A mapped file is read through the same members as one read whole; the
// harnesses that open any part (open_book) and read the text (text_book) still
// pad, so that mapping is fuzzed there.
void PrepareBook(cORVABookBase& book, const std::string& name, const std::uint8_t* file, std::size_t size,
                 const char* syncType = "word", bool anyVersion = true);

}  // namespace orva::fuzz
