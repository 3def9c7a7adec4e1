// orva: makes ORVA books and looks into them from the command line.
//
//   orva build SOURCE -o DIR [options]   a book from a verse-per-line text or an OSIS
//                                        document (or a glossary from a dictionary,
//                                        --dictionary; a lexicon, --lexicon; a
//                                        reading plan, --plan)
//   orva info DIR                        what each file of the book holds (a library:
//                                        its books, with kind, languages and size)
//   orva toc DIR [PATH]                  the sections at the top, or below PATH
//   orva read DIR REF...                 the text of references: verses, ranges, lists
//                                        (--strongs: with the words' Strong's numbers;
//                                        a library: every Bible's verse side by side)
//   orva find DIR WORD...                the verses that hold the words (--strongs G25:
//                                        and where a word translates G25)
//   orva words DIR [PREFIX]              the concordance's words from PREFIX on
//   orva verse DIR B,C,V                 a verse by book, chapter and verse number
//   orva sync DIR KEY                    a look-up in the book's sync index
//   orva strongs DIR NUMBER              a Strong's number: its lexicon entry, how each
//                                        Bible translates it, where it stands
//   orva topic DIR TOPIC...              a topic with its verses read from the first Bible
//   orva check DIR                       every file of the book checked against the others
//   orva serve LIB [--port 8080]         a web reader over the library (runs orva-serve,
//                                        the program beside orva: web/)
//   orva skeleton DIR PUBLISHER BOOK     every file of a small test book
//
// DIR is a book folder or a library (a folder of book folders): a query of a
// library answers from each book that can, under a header line per book.
// --json (anywhere) prints one JSON value instead of text; --version the program's
// version and the book format the library reads. Exit status: 0 on
// success, 1 when the book or the source has a fault (the message goes to
// standard error), 2 for a usage error.
#include <CLI/CLI.hpp>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "orvada.h"
#include "tools/commands.h"
#include "query/book_access.h"
#include "writer/book_dir.h"

namespace {

int Silent(const char*, UINT, UINT) { return IDOK; }

std::string Version() {
  const WORD format = GetCurrentORVAVersionInfo();
  return "orva " ORVA_PROGRAM_VERSION ", reads books of format " + std::to_string(format >> 8) + "." +
         std::to_string(format & 0xFF) + " and older";
}

const CLI::Validator kAtLeastOne(
    [](std::string& text) {
      int number = 0;
      if (CLI::detail::lexical_cast(text, number) && number >= 1) return std::string();
      return "must be a number from 1 to 2147483647, not " + text;
    },
    "");

// The first argument that is no option when it names no subcommand, else empty.
std::string UnknownSubcommand(CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->get_name() == argv[i]) return std::string();
    }
    return argv[i];
  }
  return std::string();
}

CLI::App* AddBuild(CLI::App& app, orva::tool::BuildArgs& args) {
  CLI::App* build =
      app.add_subcommand("build", "make a book from a verse-per-line text or an OSIS document (or a dictionary)");
  build->add_option("SOURCE", args.source,
                    "the source: a UTF-8 text, or an OSIS document (XML); either may be gzip- or xz-compressed")
      ->required();
  build->add_option("-o,--output", args.dir, "the book folder to write (replaced whole)")->required();
  build->add_flag("--dictionary", args.dictionary,
                  "the source is \"headword<TAB>definition\": a glossary or topical index (word sync index)");
  build->add_flag("--lexicon", args.lexicon,
                  "the source is \"NUMBER<TAB>HEADWORD<TAB>TRANSLITERATION<TAB>PRONUNCIATION<TAB>DEFINITION\": a "
                  "lexicon by Strong's numbers (strongs sync index)");
  build->add_flag("--plan", args.plan, "the source is \"MM-DD<TAB>text\": a reading plan (date sync index)");
  build->add_option("--publisher", args.options.publisherID, "publisher id (0-65535)")->capture_default_str();
  build->add_option("--book", args.options.bookID, "book id (0-65535)")->capture_default_str();
  build->add_option("--edition", args.options.edition, "edition (the EDITION control word)");
  build->add_option("--title", args.options.title, "title (default: an OSIS document's, else the file name)");
  build->add_option("--abbrev", args.options.abbreviation, "abbreviation (the ABBREV control word)");
  build->add_option("--copyright", args.options.copyright, "copyright notice (default: an OSIS document's rights)");
  build->add_option("--language", args.options.language,
                    "language id of the text: 1033 English, 1031 German, 1036 French, 1034 Spanish, 1032 Greek, "
                    "1037 Hebrew (default: an OSIS document's xml:lang, else 1033)");
  build->add_flag("--compress", args.options.compress, "LZSS-compress the text blocks");
  build->add_flag("--coded", args.options.coded, "Golomb-coded concordance and verses lists");
  return build;
}

// The subcommand that `argv` names, when its first argument that is no option is
// one; else empty.
std::string NamedSubcommand(int argc, char** argv, const std::vector<std::string>& names) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    return std::find(names.begin(), names.end(), argv[i]) != names.end() ? argv[i] : std::string();
  }
  return std::string();
}

// Runs orva-serve, the program beside this one, with `args`; returns only when it
// cannot (status 1, with the reason).
int Serve(const std::vector<std::string>& args) {
  char self[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string program = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string("orva");
  program = program.substr(0, program.rfind('/') + 1) + "orva-serve";
  std::vector<char*> argv{program.data()};
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  std::fprintf(stderr, "orva: serve runs %s, which cannot be run: %s\n", program.c_str(), std::strerror(errno));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  AfxSetMessageBoxHandler(Silent);  // identity and version faults come back as codes
  CLI::App app("orva: make ORVA books and look into them (a book folder, or a library: a folder of book folders)");
  app.require_subcommand(1);
  app.fallthrough();
  bool json = false;
  app.add_flag("--json", json, "print one JSON value instead of text");
  app.set_version_flag("--version", Version, "print the program's version and the book format it reads");

  // Only the subcommand asked for is described to the parser (describing them
  // all costs more than answering a look-up); all of them when the line names
  // none, for the help and the messages.
  const std::string named = NamedSubcommand(
      argc, argv, {"build", "info", "toc", "read", "verse", "sync", "find", "words", "strongs", "topic", "check", "serve", "skeleton"});
  const auto add = [&](const char* name, const char* description) -> CLI::App* {
    return named.empty() || named == name ? app.add_subcommand(name, description) : nullptr;
  };

  orva::tool::BuildArgs buildArgs;
  CLI::App* build = named.empty() || named == "build" ? AddBuild(app, buildArgs) : nullptr;
  std::string dir, argument;
  std::vector<std::string> reference;  // the rest of the line
  CLI::App* info = add("info", "what each file of a book holds; a library's books, their kinds, languages and sizes");
  if (info) info->add_option("DIR", dir, "the book or library folder")->required();
  CLI::App* toc = add("toc", "the top-level sections, or those below PATH");
  if (toc) {
    toc->add_option("DIR", dir, "the book or library folder")->required();
    toc->add_option("PATH", reference, "a section: Genesis, \"Genesis\\1\", John 3");
  }
  bool strongs = false;
  CLI::App* read =
      add("read", "the text of verses, chapters, books or glossary entries (in a library: each Bible's, verse by verse)");
  if (read) {
    read->add_option("DIR", dir, "the book or library folder")->required();
    read->add_option("REF", reference, "the rest of the line: John 3:16, \"Gen 1:31-2:3\", \"Ps 23; Jn 3.16,18\"")
        ->required();
    read->add_flag("--strongs", strongs, "each word followed by the Strong's numbers that tag it: loved<G25>");
  }
  CLI::App* verse = add("verse", "a verse by number, through the verse sync index");
  if (verse) {
    verse->add_option("DIR", dir, "the book or library folder")->required();
    verse->add_option("REF", argument, "book, chapter and verse numbers: 43,3,16")->required();
  }
  CLI::App* sync = add("sync",
                       "a key of the book's sync index (verse: B,C,V; word: a headword; strongs: G25; date: 12-25 "
                       "or today)");
  if (sync) {
    sync->add_option("DIR", dir, "the book or library folder")->required();
    sync->add_option("KEY", argument, "the key")->required();
  }
  orva::tool::FindArgs find;
  CLI::App* findCommand =
      add("find", "the verses that hold every word (accents and case ignored) and every Strong's number");
  if (findCommand) {
    findCommand->add_option("DIR", find.dir, "the book or library folder")->required();
    findCommand->add_option("WORD", find.words, "the words");
    findCommand->add_option("--strongs", find.strongs,
                            "Strong's numbers (G25, H430): where a word that each tags stands; after the words");
    findCommand->add_flag("--phrase", find.phrase, "only where the words stand in a row");
    findCommand->add_flag("--prefix", find.prefix, "each word stands for every word that begins with it");
    findCommand->add_option("--limit", find.limit, "list at most this many (the count stays whole)")
        ->check(kAtLeastOne);
    findCommand->add_option("--offset", find.offset, "list from the hit after this many (pages, with --limit)")
        ->check(CLI::NonNegativeNumber);
  }
  int limit = 0;
  CLI::App* words = add("words", "the concordance's words that begin with PREFIX, with their verse counts");
  if (words) {
    words->add_option("DIR", dir, "the book or library folder")->required();
    words->add_option("PREFIX", argument, "the beginning of the words (none: from the first word)");
    words->add_option("--limit", limit, "list at most this many")->check(kAtLeastOne);
  }
  CLI::App* strongsCommand = add("strongs", "a Strong's number: its lexicon entry, how each Bible translates it, "
                                            "the verses where it stands");
  if (strongsCommand) {
    strongsCommand->add_option("DIR", dir, "the book or library folder")->required();
    strongsCommand->add_option("NUMBER", argument, "the number: G25, H430")->required();
    strongsCommand->add_option("--limit", limit, "list this many verses per Bible (default 3)")->check(kAtLeastOne);
  }
  CLI::App* topic = add("topic", "a topic of a topical index, its verses read from the first Bible");
  if (topic) {
    topic->add_option("DIR", dir, "the library (or topical index) folder")->required();
    topic->add_option("TOPIC", reference, "the rest of the line: Faith, \"Fear of God\"")->required();
    topic->add_option("--limit", limit, "read at most this many of its verse references")->check(kAtLeastOne);
  }
  CLI::App* check = add("check", "check that every file of a book is whole and agrees with the others");
  if (check) check->add_option("DIR", dir, "the book or library folder")->required();
  std::string port = "8080", bind = "127.0.0.1", threads = "32", cacheMegabytes = "64";
  CLI::App* serve = add("serve", "a web reader over a library: its page and JSON API on http://127.0.0.1:8080/");
  if (serve) {
    serve->add_option("LIB", dir, "the library (or book) folder")->required();
    serve->add_option("--port", port, "the port (0: any free one)")->capture_default_str();
    serve->add_option("--bind", bind, "the address to listen on (0.0.0.0: every interface)")->capture_default_str();
    serve->add_option("--threads", threads, "worker threads: connections served at once")->capture_default_str();
    serve->add_option("--cache-mb", cacheMegabytes, "megabytes of answers kept for requests that ask the same (0: none)")
        ->capture_default_str();
  }
  std::uint16_t publisher = 0, bookID = 0;
  CLI::App* skeleton = add("skeleton", "write every file of a small test book");
  if (skeleton) {
    skeleton->add_option("DIR", dir, "the folder")->required();
    skeleton->add_option("PUBLISHER", publisher, "publisher id")->required();
    skeleton->add_option("BOOK", bookID, "book id")->required();
  }
  const auto chosen = [](const CLI::App* command) { return command && command->parsed(); };

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const std::string unknown = UnknownSubcommand(app, argc, argv);
    if (unknown.empty()) return app.exit(e) == 0 ? 0 : 2;
    std::fprintf(stderr, "orva: there is no subcommand \"%s\" (orva --help lists them)\n", unknown.c_str());
    return 2;
  }
  try {
    if (chosen(build)) return orva::tool::RunBuild(buildArgs, json);
    if (chosen(info)) return orva::tool::RunInfo(dir, json);
    if (chosen(toc)) return orva::tool::RunToc(dir, CLI::detail::join(reference, " "), json);
    if (chosen(read)) return orva::tool::RunRead(dir, CLI::detail::join(reference, " "), strongs, json);
    if (chosen(findCommand)) {
      dir = find.dir;
      if (find.words.empty() && find.strongs.empty()) {
        std::fprintf(stderr, "orva: find needs a word or --strongs and a number (orva find --help)\n");
        return 2;
      }
      return orva::tool::RunFind(find, json);
    }
    if (chosen(words)) return orva::tool::RunWords(dir, argument, limit, json);
    if (chosen(verse)) return orva::tool::RunVerse(dir, argument, json);
    if (chosen(sync)) return orva::tool::RunSync(dir, argument, json);
    if (chosen(strongsCommand)) return orva::tool::RunStrongs(dir, argument, limit, json);
    if (chosen(topic)) return orva::tool::RunTopic(dir, CLI::detail::join(reference, " "), limit, json);
    if (chosen(check)) return orva::tool::RunCheck(dir, json);
    if (chosen(skeleton)) return orva::tool::RunSkeleton(dir, publisher, bookID);
    if (chosen(serve)) {
      return Serve({dir, "--port", port, "--bind", bind, "--threads", threads, "--cache-mb", cacheMegabytes});
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orva: %s\n", e.what());
    return 1;
  } catch (CException* e) {
    std::fprintf(stderr, "orva: %s: the book is damaged: %s\n", dir.c_str(),
                 orva::query::DescribeAndDelete(e).c_str());
    return 1;
  }
  return 2;
}
