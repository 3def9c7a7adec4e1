#include "orvada/book_base.h"

namespace {

struct ErrorMessage {
  int code;
  const char* text;
};

// Codes 0 to 14 are the causes of the framework's file exception; 15 to 19 are the
// library's own.
constexpr ErrorMessage kMessages[] = {
    {0, "No errors occurred."},
    {1, "An unspecified error occurred."},
    {2, "The file could not be located."},
    {3, "All or part of the path is invalid."},
    {4, "The permitted number of open files was exceeded."},
    {5, "The file could not be accessed."},
    {6, "The was an attempt to use an invalid file handle."},
    {7, "The current working directory cannot be removed."},
    {8, "There are no more directory entries."},
    {9, "There was an error trying to set the file pointer."},
    {10, "There was a hardware error."},
    {11, "SHARE.EXE was not loaded, or a shared region was locked."},
    {12, "There was an attempt to lock a region that was already locked."},
    {13, "The disk is full."},
    {14, "The end of file was reached."},
    {15, "Publisher ID and/or the Book ID mismatch error."},
    {16, "Least Compatible ORVA Version error."},
    {17, "The file was already open."},
    {18, "Failed to load the book header area."},
    {19, "The user selected CANCEL when prompt to insert a disk."},
};

}  // namespace

CString cORVABookBase::GetErrorString(int code) {
  for (const ErrorMessage& entry : kMessages) {
    if (entry.code == code) return entry.text;
  }
  return "File error occurred.";
}

int cORVABookBase::ConvertCauseToErrorCode(int cause) { return (cause >= 2 && cause <= 14) ? cause : 1; }
