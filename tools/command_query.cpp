// orva toc, read, verse and sync: the sections of a book, their text, and the
// sync look-ups; in a library, from each book that has an answer.
#include <cstdio>

#include "query/library.h"
#include "tools/commands.h"
#include "tools/print.h"

namespace orva::tool {

namespace {

void PrintToc(const query::Toc& toc) {
  for (const query::TocEntry& entry : toc.entries) std::printf("%-24s %5d\n", entry.name.c_str(), entry.below);
  if (toc.entries.empty()) {
    std::printf("(no sections below %s)\n", toc.section.empty() ? "the top" : toc.section.c_str());
  }
}

// A run that begins at a verse lists its verses each with its reference; whole
// chapters and books stand under their chapters' headings, apart from the rest.
void PrintReading(query::Reading reading) {
  bool headings = false;
  for (size_t i = 0; i < reading.runs.size(); ++i) {
    query::Reading::Run& run = reading.runs[i];
    for (query::Passage& passage : run.passages) {
      const auto words = reading.words.find(passage.key);
      if (words != reading.words.end()) passage.text = WithNumbers(passage.text, words->second);
    }
    if (i > 0 && (headings || !run.fromVerse)) std::printf("\n");
    PrintPassages(run.passages, reading.headings, run.fromVerse);
    headings = !run.fromVerse;
  }
}

// A parallel reading: each verse's reference, then each Bible's text beside its
// name.
void PrintParallel(const query::ParallelReading& reading) {
  size_t width = 0;
  for (const query::Book* bible : reading.bibles) width = std::max(width, bible->Name().size());
  for (const query::ParallelReading::Verse& verse : reading.verses) {
    std::printf("%s\n", verse.reference.c_str());
    for (const query::ParallelReading::Text& text : verse.texts) {
      const std::string shown = text.words.empty() ? text.passage.text : WithNumbers(text.passage.text, text.words);
      std::printf("  %-*s  %s\n", static_cast<int>(width), reading.bibles[text.bible]->Name().c_str(), shown.c_str());
    }
  }
}

bool IsLexicon(query::Book& book) { return book.Kind() == query::BookKind::kLexicon; }

}  // namespace

int RunToc(const std::string& dir, const std::string& path, bool json) {
  if (query::Library::IsLibrary(dir)) {
    query::Library library(dir);
    auto answers = library.Contents(path);
    return PrintEach(
        dir, answers, json, [](auto& answer) { PrintToc(answer.answer); },
        [](JsonWriter& out, auto& answer) { AppendToc(out, answer.answer); });
  }
  query::Book book(dir);
  const query::Toc toc = book.Contents(path);
  if (!json) {
    PrintToc(toc);
    return 0;
  }
  JsonWriter out;
  AppendToc(out, toc);
  Print(out);
  return 0;
}

int RunRead(const std::string& dir, const std::string& reference, bool strongs, bool json) {
  if (query::Library::IsLibrary(dir)) {
    query::Library library(dir);
    const query::ParallelReading reading = library.Read(reference, strongs);
    if (!json) {
      PrintParallel(reading);
      return 0;
    }
    JsonWriter out;
    AppendParallel(out, reading, strongs);
    Print(out);
    return 0;
  }
  query::Book book(dir);
  query::Reading reading = book.Read(reference, strongs);
  if (!json) {
    PrintReading(std::move(reading));
    return 0;
  }
  JsonWriter out;
  AppendReading(out, reading);
  Print(out);
  return 0;
}

int RunVerse(const std::string& dir, const std::string& reference, bool json) {
  if (query::Library::IsLibrary(dir)) {
    query::Library library(dir);
    auto answers = library.Verse(reference);
    return PrintEach(
        dir, answers, json, [](auto& answer) { PrintEntry(answer.answer, false); },
        [](JsonWriter& out, auto& answer) { AppendEntry(out, answer.answer); });
  }
  query::Book book(dir);
  const query::Entry entry = book.Verse(reference);
  if (!json) {
    PrintEntry(entry, false);
    return 0;
  }
  JsonWriter out;
  AppendEntry(out, entry);
  Print(out);
  return 0;
}

int RunSync(const std::string& dir, const std::string& key, bool json) {
  if (query::Library::IsLibrary(dir)) {
    query::Library library(dir);
    auto answers = library.Sync(key);
    return PrintEach(
        dir, answers, json, [](auto& answer) { PrintEntry(answer.answer, IsLexicon(*answer.book)); },
        [](JsonWriter& out, auto& answer) { AppendEntry(out, answer.answer); });
  }
  query::Book book(dir);
  const query::Entry entry = book.Sync(key);
  if (!json) {
    PrintEntry(entry, IsLexicon(book));
    return 0;
  }
  JsonWriter out;
  AppendEntry(out, entry);
  Print(out);
  return 0;
}

}  // namespace orva::tool
