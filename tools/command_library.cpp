// orva strongs and orva topic, the questions that go across the books of a
// library, and orva info of a library: its books, what each is.
#include <algorithm>
#include <cstdio>

#include "tools/commands.h"
#include "tools/print.h"

namespace orva::tool {

namespace {

std::string Size(std::uint64_t bytes) {
  char text[32];
  if (bytes >= 1000000) std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  else std::snprintf(text, sizeof text, "%.0f kB", static_cast<double>(bytes) / 1e3);
  return text;
}

void PrintStrongs(const query::StrongsStudy& study, bool headers) {
  bool first = true;
  for (const query::BookAnswer<query::Entry>& entry : study.entries) {
    if (headers) PrintBookHeader(*entry.book, first);
    first = false;
    PrintEntry(entry.answer, true, false);
  }
  for (const query::StrongsStudy::InBible& in : study.bibles) {
    if (headers) PrintBookHeader(*in.bible, first);
    first = false;
    std::string words;
    for (const query::Translation& translation : in.translations) {
      words += (words.empty() ? "" : "; ") + translation.words + " " + std::to_string(translation.count);
    }
    std::printf("translated: %s\n", words.empty() ? "(nowhere)" : words.c_str());
    std::printf("%zu verse%s%s\n", in.count, in.count == 1 ? "" : "s", in.count == 0 ? "" : ":");
    for (const query::StrongsVerse& verse : in.verses) {
      std::printf("  %s %s\n", verse.reference.c_str(), WithNumbers(verse.text, verse.words).c_str());
    }
    if (in.count > in.verses.size()) std::printf("  ... and %zu more\n", in.count - in.verses.size());
  }
}

void PrintTopic(const query::TopicStudy& study) {
  PrintEntry(study.entry, false, false);
  if (!study.bible) {
    std::printf("(the library has no Bible to read its %zu verse references from)\n", study.verseReferences);
    return;
  }
  std::printf("\nIts verse references in %s", study.bible->Name().c_str());
  if (study.followed.size() < study.verseReferences) {
    std::printf(" (the first %zu of %zu)", study.followed.size(), study.verseReferences);
  }
  std::printf(":\n");
  for (const query::TopicStudy::Followed& followed : study.followed) {
    std::printf("%s\n", study.entry.shown.references[followed.reference].reference.shown.c_str());
    if (!followed.error.empty()) std::printf("  (%s)\n", followed.error.c_str());
    for (const query::Passage& passage : followed.passages) {
      std::printf("  %s %s\n", passage.reference.c_str(), passage.text.c_str());
    }
  }
}

}  // namespace

int RunStrongs(const std::string& dir, const std::string& number, int limit, bool json) {
  query::Library library(dir);
  const query::StrongsStudy study = library.Strongs(number, limit > 0 ? static_cast<size_t>(limit) : 3);
  if (!json) {
    PrintStrongs(study, query::Library::IsLibrary(dir));
    return 0;
  }
  JsonWriter out;
  AppendStrongs(out, study);
  Print(out);
  return 0;
}

int RunTopic(const std::string& dir, const std::string& topic, int limit, bool json) {
  query::Library library(dir);
  const std::vector<query::TopicStudy> studies =
      library.Topic(topic, limit > 0 ? static_cast<size_t>(limit) : static_cast<size_t>(-1));
  if (json) {
    JsonWriter out;
    AppendTopics(out, topic, studies);
    Print(out);
    return 0;
  }
  const bool headers = query::Library::IsLibrary(dir);
  for (size_t i = 0; i < studies.size(); ++i) {
    if (headers) PrintBookHeader(*studies[i].index, i == 0);
    PrintTopic(studies[i]);
  }
  return 0;
}

int RunLibraryInfo(const std::string& dir, bool json) {
  query::Library library(dir);
  const std::vector<query::BookInfo> books = library.Info();
  if (!json) {  // a line per book, in columns as wide as their widest value
    std::vector<std::vector<std::string>> rows;
    std::vector<size_t> widths(4, 0);
    for (const query::BookInfo& book : books) {
      rows.push_back({book.name, query::BookKindName(book.kind), LanguageNames(book.languages), Size(book.bytes)});
      for (size_t column = 0; column < widths.size(); ++column) {
        widths[column] = std::max(widths[column], rows.back()[column].size());
      }
    }
    std::printf("library in %s: %zu books\n", dir.c_str(), books.size());
    for (size_t i = 0; i < books.size(); ++i) {
      std::printf("%-*s  %-*s  %-*s  %*s  %-8s  %s\n", static_cast<int>(widths[0]), rows[i][0].c_str(),
                  static_cast<int>(widths[1]), rows[i][1].c_str(), static_cast<int>(widths[2]), rows[i][2].c_str(),
                  static_cast<int>(widths[3]), rows[i][3].c_str(), books[i].strongs ? "Strong's" : "",
                  books[i].title.c_str());
    }
    return 0;
  }
  JsonWriter out;
  AppendLibraryInfo(out, dir, books);
  Print(out);
  return 0;
}

}  // namespace orva::tool
