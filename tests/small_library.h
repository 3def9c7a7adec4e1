// A small library built in code, for the tests of libraries and of the web
// reader: two Bibles (English "en" and Spanish "es", with Strong's numbers), a
// lexicon, a topical index and a reading plan, every one with the default ids 0
// and 0, and a subfolder that holds no book.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "tests/osis_sample.h"
#include "tests/study_sample.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"
#include "writer/source_osis.h"
#include "writer/source_stream.h"

namespace orva::test {

// Builds the library into DIR/library (returned, without a trailing '/').
inline std::string WriteSmallLibrary(writer::TempBookDir& dir) {
  using namespace orva::writer;
  const auto bible = [&](const char* name, const char* osis) {
    std::ofstream(dir.FilePath(std::string(name) + ".xml")) << osis;
    SourceStream in(dir.FilePath(std::string(name) + ".xml"));
    WriteBookDirectory(dir.SubDir("library/" + std::string(name)), BuildScriptureBook(ParseOsis(in), {}, name).files);
  };
  bible("es", kOsisSample);
  bible("en", kOsisEnglishSample);
  const auto entries = [&](const char* name, const char* source, auto parse, auto build) {
    std::istringstream in(source);
    WriteBookDirectory(dir.SubDir("library/" + std::string(name)), build(parse(in, name), {}, name).files);
  };
  entries("topics", kTopics, ParseDictionary, BuildGlossaryBook);
  entries("lexicon", kLexicon, ParseLexicon, BuildLexiconBook);
  entries("plan", kPlan, ParsePlan, BuildPlanBook);
  dir.SubDir("library/empty");  // no book: passed over
  return dir.Path() + "library";
}

}  // namespace orva::test
