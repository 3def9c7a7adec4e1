// orva build: a book from a scripture, dictionary, lexicon or plan source.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "tools/commands.h"
#include "tools/json.h"
#include "writer/book_dir.h"
#include "writer/source_osis.h"
#include "writer/source_stream.h"

namespace orva::tool {

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// One line on standard error that says how far a build is, rewritten in place:
// only on a terminal, and only once the build has taken a second.
class ProgressLine {
 public:
  explicit ProgressLine(Clock::time_point start) : m_start(start), m_terminal(::isatty(2) == 1) {}
  ~ProgressLine() { Clear(); }

  // `done` from 0 to 1, or below 0 for a stage without a measure.
  void Show(const std::string& stage, double done) {
    if (!m_terminal || Since(m_start) < 1.0) return;
    const int percent = static_cast<int>(done * 100);
    if (m_shown && stage == m_stage && percent == m_percent) return;
    if (done < 0) {
      std::fprintf(stderr, "\r\033[Korva build: %s", stage.c_str());
    } else {
      std::fprintf(stderr, "\r\033[Korva build: %s %d%%", stage.c_str(), percent);
    }
    std::fflush(stderr);
    m_shown = true;
    m_stage = stage;
    m_percent = percent;
  }
  void Clear() {
    if (!m_shown) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_shown = false;
  }

 private:
  Clock::time_point m_start;
  bool m_terminal;
  bool m_shown = false;
  std::string m_stage;
  int m_percent = -1;
};

struct Built {
  writer::BuiltBook book;
  long long notesLeftOut = 0, wordsLeftOut = 0;
  bool osis = false;
};

bool IsEntries(const BuildArgs& args) { return args.dictionary || args.lexicon || args.plan; }

Built Build(const BuildArgs& args, ProgressLine& progress) {
  Built built;
  if (args.dictionary + args.lexicon + args.plan > 1) {
    throw std::runtime_error("--dictionary, --lexicon and --plan name different forms of source: give one");
  }
  if (IsEntries(args)) {
    std::istringstream in(writer::ReadSourceFile(args.source));
    if (args.dictionary) {
      built.book = writer::BuildGlossaryBook(writer::ParseDictionary(in, args.source), args.options, args.source);
    } else if (args.lexicon) {
      built.book = writer::BuildLexiconBook(writer::ParseLexicon(in, args.source), args.options, args.source);
    } else {
      built.book = writer::BuildPlanBook(writer::ParsePlan(in, args.source), args.options, args.source);
    }
    return built;
  }
  writer::SourceStream stream(args.source);
  writer::Scripture scripture;
  if (writer::LooksLikeXml(stream)) {
    built.osis = true;
    scripture = writer::ParseOsis(stream, [&](double done) { progress.Show("reading " + args.source, done); });
    built.notesLeftOut = scripture.notesLeftOut;
    built.wordsLeftOut = scripture.wordsLeftOut;
  } else {
    std::istringstream in(writer::ReadSourceFile(args.source));
    scripture = writer::ParseScripture(in, args.source);
  }
  built.book = writer::BuildScriptureBook(scripture, args.options, args.source,
                                          [&](double done) { progress.Show("building the book", done); });
  return built;
}

void PrintJson(const BuildArgs& args, const Built& built, long long bytes) {
  const writer::BuiltBook& book = built.book;
  JsonWriter out;
  out.BeginObject().Member("dir", args.dir);
  if (IsEntries(args)) {
    out.Member("entries", book.entries);
    if (args.dictionary) out.Member("letters", book.sections);
  } else {
    out.Member("books", book.books).Member("chapters", book.chapters).Member("verses", book.verses);
    out.Member("verseNumbers", book.verseNumbers);
  }
  out.Member("words", book.wordCount).Member("distinctWords", book.distinctWords).Member("bytes", bytes);
  out.Member("language", static_cast<int>(book.language));
  if (IsEntries(args)) {
    out.Key("concordLanguages").BeginArray();
    for (std::uint16_t id : book.concordLanguages) out.Value(static_cast<int>(id));
    out.EndArray();
    out.Member("verseReferences", book.verseReferences).Member("otherReferences", book.otherReferences);
  } else {
    out.Member("strongsNumbers", book.strongsNumbers).Member("strongsTags", book.strongsTags);
    out.Member("titleLines", book.titleLines).Member("charactersLeftOut", book.charactersLeftOut);
    out.Member("notesLeftOut", built.notesLeftOut).Member("wordsLeftOut", built.wordsLeftOut);
  }
  out.Key("files").BeginObject();
  for (const writer::BookFile& file : book.files) out.Member(file.name, static_cast<long long>(file.bytes.size()));
  out.EndObject().EndObject();
  std::fputs(out.Text().c_str(), stdout);
}

void PrintSummary(const BuildArgs& args, const Built& built, long long bytes, double seconds) {
  const writer::BuiltBook& book = built.book;
  if (args.dictionary) {
    std::printf("built %s: %d entries under %d letters", args.dir.c_str(), book.entries, book.sections);
  } else if (args.lexicon || args.plan) {
    std::printf("built %s: %d %s", args.dir.c_str(), book.entries, args.plan ? "days" : "entries");
  } else {
    std::printf("built %s: %d books, %d chapters, %d verses", args.dir.c_str(), book.books, book.chapters,
                book.verses);
    if (book.verseNumbers != book.verses) std::printf(" (%d verse numbers)", book.verseNumbers);
  }
  std::printf(", %lld words (%d distinct), %lld bytes in %zu files, %.2f s\n", book.wordCount, book.distinctWords,
              bytes, book.files.size(), seconds);
  if (IsEntries(args) && (book.concordLanguages.size() > 1 || book.verseReferences + book.otherReferences > 0)) {
    std::printf("  languages:");
    for (size_t i = 0; i < book.concordLanguages.size(); ++i) std::printf("%s %u", i ? "," : "", book.concordLanguages[i]);
    std::printf("; references: %lld to verses, %lld to other entries\n", book.verseReferences, book.otherReferences);
  }
  if (!built.osis) return;
  std::printf("  language %u; Strong's numbers: %d, on %lld words; title lines: %d", book.language,
              book.strongsNumbers, book.strongsTags, book.titleLines);
  if (book.charactersLeftOut > 0) {
    std::printf(" (without %d characters the code page lacks)", book.charactersLeftOut);
  }
  std::printf("; left out: %lld notes, %lld words outside the books' chapters\n", built.notesLeftOut,
              built.wordsLeftOut);
}

}  // namespace

int RunBuild(const BuildArgs& args, bool json) {
  const Clock::time_point start = Clock::now();
  ProgressLine progress(start);
  const Built built = Build(args, progress);
  progress.Show("writing " + args.dir, -1);
  writer::WriteBookDirectory(args.dir, built.book.files);
  progress.Clear();
  const double seconds = Since(start);
  long long bytes = 0;
  for (const writer::BookFile& file : built.book.files) bytes += static_cast<long long>(file.bytes.size());
  if (json) {
    PrintJson(args, built, bytes);
  } else {
    PrintSummary(args, built, bytes, seconds);
  }
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
