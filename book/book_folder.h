// Where a book's parts lie: the fixed file name of each part bit and the sync type
// under which a book opens each sync index. The library's readers open their files
// under these names; the writer writes them and the query library finds them with
// the same functions.
#pragma once

#include <string>

#include "platform/types.h"

class cORVABookBase;

namespace orva {

// "book.dat" for ORVA_TEXT, "viewable.idx" ... "dsync.idx" for ORVA_DSYNC; null for
// the media bit and any other value.
const char* FileNameOfBit(DWORD bit);

// "verse", "strongs" or "date" for their sync bits, "word" for every other bit.
const char* SyncTypeOfBit(DWORD bit);

// Points every path member of `book` at `folder` (ending in '/', or empty for the
// working directory), sets its publisher and book ids to the given numbers and its
// sync type to `syncType`.
void PointBookAt(cORVABookBase& book, const std::string& folder, WORD publisherID, WORD bookID,
                 const char* syncType);

}  // namespace orva
