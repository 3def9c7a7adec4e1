// The JSON form of every answer of the query library (query/book.h,
// query/library.h): what `orva --json` prints and what the web reader's API
// (web/) answers, written by these functions alone so that the two never differ.
// Each appends one value to `out`. Functions that take a BookSearch read its
// pages (holding the lock, as BookSearch::Hits does) and raise BookError.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "query/library.h"
#include "tools/json.h"

namespace orva::tool {

// A passage: reference, key, text, its words with their numbers when `words` is
// given, and the lines above and below it.
void AppendPassage(JsonWriter& out, const query::Passage& passage,
                   const std::vector<query::NumberedWord>* words = nullptr);
// A look-up (sync, verse): a verse's passages, or an entry's paragraphs and references.
void AppendEntry(JsonWriter& out, const query::Entry& entry);
void AppendToc(JsonWriter& out, const query::Toc& toc);
// One book's reading: the references it resolved to and its passages.
void AppendReading(JsonWriter& out, const query::Reading& reading);
// A library's reading, verse by verse with each Bible's passage.
void AppendParallel(JsonWriter& out, const query::ParallelReading& reading, bool strongs);
// A search: terms, words, count, and the hits from `offset` on, at most `limit`
// of them (0: all); "offset" is written when it is not 0.
void AppendSearch(JsonWriter& out, query::BookSearch& search, std::size_t offset, std::size_t limit);
void AppendWords(JsonWriter& out, const std::vector<query::WordEntry>& words);
void AppendStrongs(JsonWriter& out, const query::StrongsStudy& study);
void AppendTopics(JsonWriter& out, const std::string& topic, const std::vector<query::TopicStudy>& studies);
// A library's books: what each is (`dir` as the library was named).
void AppendLibraryInfo(JsonWriter& out, const std::string& dir, const std::vector<query::BookInfo>& books);

// The answers of each book of a library:
// {"library": DIR, "books": [{"book": NAME, "answer": ...}, ...]}, each answer
// written by `append(out, answer)`.
template <class T, class Append>
void AppendEach(JsonWriter& out, const std::string& dir, std::vector<query::BookAnswer<T>>& answers, Append append) {
  out.BeginObject().Member("library", dir).Key("books").BeginArray();
  for (query::BookAnswer<T>& answer : answers) {
    out.BeginObject().Member("book", answer.book->Name()).Key("answer");
    append(out, answer);
    out.EndObject();
  }
  out.EndArray().EndObject();
}

}  // namespace orva::tool
