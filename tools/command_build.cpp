// orva build: a book from a scripture or dictionary source.
#include <chrono>
#include <cstdio>
#include <sstream>

#include "tools/commands.h"
#include "tools/json.h"
#include "writer/book_dir.h"

namespace orva::tool {

int RunBuild(const BuildArgs& args, bool json) {
  const auto start = std::chrono::steady_clock::now();
  std::istringstream in(writer::ReadSourceFile(args.source));
  writer::BuiltBook book;
  if (args.dictionary) {
    book = writer::BuildGlossaryBook(writer::ParseDictionary(in, args.source), args.options, args.source);
  } else {
    book = writer::BuildScriptureBook(writer::ParseScripture(in, args.source), args.options, args.source);
  }
  writer::WriteBookDirectory(args.dir, book.files);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  long long bytes = 0;
  for (const writer::BookFile& file : book.files) bytes += static_cast<long long>(file.bytes.size());

  if (json) {
    JsonWriter out;
    out.BeginObject().Member("dir", args.dir);
    if (args.dictionary) {
      out.Member("entries", book.entries).Member("letters", book.sections);
    } else {
      out.Member("books", book.books).Member("chapters", book.chapters).Member("verses", book.verses);
    }
    out.Member("words", book.wordCount).Member("distinctWords", book.distinctWords).Member("bytes", bytes);
    out.Key("files").BeginObject();
    for (const writer::BookFile& file : book.files) out.Member(file.name, static_cast<long long>(file.bytes.size()));
    out.EndObject().EndObject();
    std::fputs(out.Text().c_str(), stdout);
    return 0;
  }
  if (args.dictionary) {
    std::printf("built %s: %d entries under %d letters", args.dir.c_str(), book.entries, book.sections);
  } else {
    std::printf("built %s: %d books, %d chapters, %d verses", args.dir.c_str(), book.books, book.chapters,
                book.verses);
  }
  std::printf(", %lld words (%d distinct), %lld bytes in %zu files, %.2f s\n", book.wordCount, book.distinctWords,
              bytes, book.files.size(), seconds);
  return 0;
}

int RunSkeleton(const std::string& dir, std::uint16_t publisher, std::uint16_t book) {
  writer::VersionFields version;
  version.publisherID = publisher;
  version.bookID = book;
  writer::WriteSkeletonBook(dir.empty() || dir.back() == '/' ? dir : dir + "/", version);
  std::printf("wrote a small book for publisher %u, book %u in %s\n", publisher, book, dir.c_str());
  return 0;
}

}  // namespace orva::tool
