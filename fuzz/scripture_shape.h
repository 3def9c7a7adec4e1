// What the source harnesses check of a parsed scripture source: the shape that
// both parsers (writer/source_text.h, writer/source_osis.h) promise and the book
// builder relies on.
#pragma once

#include "writer/source_text.h"

namespace orva::fuzz {

// Aborts unless `source` holds at least one book; each book at least one
// chapter, numbered from 1 to 65535, each number once in the book; each chapter
// at least one verse, the numbers of its verses (a verse's number, then those
// it covers too) from 1 to 65535 and ascending through the chapter; and each
// book number other than 0 (a listed book's) once in the source.
void CheckScriptureShape(const writer::Scripture& source);

}  // namespace orva::fuzz
