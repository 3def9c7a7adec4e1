// How the orva program shows the answers of books (query/book.h): as text on
// standard output, or into a JSON value. Shared by the subcommands for a book and
// for a library, where each book's answer stands under a header line
// (text) or under "answer" (JSON).
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "query/library.h"
#include "tools/json.h"
#include "tools/json_answers.h"

namespace orva::tool {

inline void Print(const JsonWriter& out) { std::fputs(out.Text().c_str(), stdout); }

// The line above a book's answer in a library: "== kjv: King James Version ==".
void PrintBookHeader(query::Book& book, bool first);

// Passages as text: each verse as "reference text" when `eachWithReference` or
// when there is only one, else under the heading of each chapter as "verse text",
// with the lines shown above and below it (a psalm title).
void PrintPassages(const std::vector<query::Passage>& passages, const std::map<int, std::string>& headings,
                   bool eachWithReference = false);

// The text of a verse with the Strong's numbers of its words: after each run of
// words in a row that a number tags (after the last word of "the world"), the
// numbers whose runs end there: "For God<G2316> so<G3779> loved<G25> the
// world<G2889>", "yacer<H7257 H1878>".
std::string WithNumbers(const std::string& text, const std::vector<query::NumberedWord>& words);

// The answer of a look-up (sync, verse), as text (after a line with what was
// asked and the key, `withKey`); AppendEntry (tools/json_answers.h) gives its JSON. A lexicon's headword,
// transliteration and pronunciation stand beside its number.
void PrintEntry(const query::Entry& entry, bool lexicon, bool withKey = true);

// The answers of each book of a library: under a header line each, or as
// {"library": ..., "books": [{"book": NAME, "answer": ...}, ...]}.
template <class T, class Text, class Json>
int PrintEach(const std::string& dir, std::vector<query::BookAnswer<T>>& answers, bool json, Text text, Json append) {
  if (json) {
    JsonWriter out;
    AppendEach(out, dir, answers, append);
    Print(out);
    return 0;
  }
  for (size_t i = 0; i < answers.size(); ++i) {
    PrintBookHeader(*answers[i].book, i == 0);
    text(answers[i]);
  }
  return 0;
}

// "English, Greek".
std::string LanguageNames(const std::vector<std::uint16_t>& languages);

}  // namespace orva::tool
