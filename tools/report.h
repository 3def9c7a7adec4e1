// What `orva info` tells about the parts of a book beyond their version records.
// Each reporter receives a book object with every part of the book open that
// could be opened, checks IsOpen for the parts it needs itself, and prints its
// lines to standard output, each indented by two blanks and each whole: it reads
// what a line needs before printing it. Reading errors reach the caller as the
// library raises them.
#pragma once

#include "orvada.h"

namespace orva::tool {

void ReportText(cORVABookBase& book);         // book.dat and viewable.idx
void ReportSections(cORVABookBase& book);     // sections.idx
void ReportConcordance(cORVABookBase& book);  // concord.idx and verses.idx
void ReportSync(cORVABookBase& book);         // the sync index of the book's sync type

}  // namespace orva::tool
