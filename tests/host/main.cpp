// Opens the text of the book in the folder given as the argument and prints the
// result code with its message.
#include <orvada.h>

#include <cstdio>

int main(int argc, char** argv) {
  cORVABookBase book;
  book.SetPublisherID("7");
  book.SetBookID("42");
  book.SetTextPath(argc > 1 ? argv[1] : "");
  const int result = book.Open(ORVA_TEXT);
  std::printf("%d: %s\n", result, static_cast<const char*>(book.GetErrorString(result)));
  return 0;
}
