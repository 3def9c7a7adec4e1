// Opens the text of the book in the folder given as the argument and prints the
// result code with its message, then the packaged form of a German language string
// (the language library comes with the package).
#include <orvada.h>

#include <cstdio>

int main(int argc, char** argv) {
  cORVABookBase book;
  book.SetPublisherID("7");
  book.SetBookID("42");
  book.SetTextPath(argc > 1 ? argv[1] : "");
  const int result = book.Open(ORVA_TEXT);
  std::printf("%d: %s\n", result, static_cast<const char*>(book.GetErrorString(result)));
  const cLanguageString word("Wort", 1031);
  std::printf("%s\n", static_cast<const char*>(LangToPackagedString(word)));
  return 0;
}
