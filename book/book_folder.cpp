#include "book/book_folder.h"

#include "orvada/book_base.h"

namespace orva {

const char* FileNameOfBit(DWORD bit) {
  switch (bit) {
    case ORVA_TEXT: return "book.dat";
    case ORVA_VIEWABLE: return "viewable.idx";
    case ORVA_SECTIONS: return "sections.idx";
    case ORVA_CONCORD: return "concord.idx";
    case ORVA_VERSES: return "verses.idx";
    case ORVA_WSYNC: return "wsync.idx";
    case ORVA_VSYNC: return "vsync.idx";
    case ORVA_SSYNC: return "ssync.idx";
    case ORVA_DSYNC: return "dsync.idx";
    default: return nullptr;
  }
}

const char* SyncTypeOfBit(DWORD bit) {
  switch (bit) {
    case ORVA_VSYNC: return "verse";
    case ORVA_SSYNC: return "strongs";
    case ORVA_DSYNC: return "date";
    default: return "word";
  }
}

void PointBookAt(cORVABookBase& book, const std::string& folder, WORD publisherID, WORD bookID,
                 const char* syncType) {
  const char* path = folder.c_str();
  book.SetTextPath(path);
  book.SetViewablePath(path);
  book.SetSectionsPath(path);
  book.SetConcordPath(path);
  book.SetVersesPath(path);
  book.SetWSyncPath(path);
  book.SetVSyncPath(path);
  book.SetSSyncPath(path);
  book.SetDSyncPath(path);
  book.SetMediaPath(path);
  book.SetPublisherID(std::to_string(publisherID).c_str());
  book.SetBookID(std::to_string(bookID).c_str());
  book.SetSyncType(syncType);
}

}  // namespace orva
