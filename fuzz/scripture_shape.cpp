#include "fuzz/scripture_shape.h"

#include <cstdlib>
#include <set>

namespace orva::fuzz {

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

bool IsNumber(int n) { return n >= 1 && n <= 65535; }

}  // namespace

void CheckScriptureShape(const writer::Scripture& source) {
  Check(!source.books.empty());
  std::set<int> listed;
  for (const writer::SourceBook& book : source.books) {
    Check(book.number >= 0);
    if (book.number != 0) Check(listed.insert(book.number).second);
    Check(!book.chapters.empty());
    std::set<int> chapters;
    for (const writer::SourceChapter& chapter : book.chapters) {
      Check(IsNumber(chapter.number) && chapters.insert(chapter.number).second);
      Check(!chapter.verses.empty());
      int last = 0;
      for (const writer::SourceVerse& verse : chapter.verses) {
        Check(IsNumber(verse.number) && verse.number > last);
        last = verse.number;
        for (int number : verse.alsoNumbers) {
          Check(IsNumber(number) && number > last);
          last = number;
        }
      }
    }
  }
}

}  // namespace orva::fuzz
