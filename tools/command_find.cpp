// orva find and orva words: the concordance.
#include <cstdio>

#include "tools/commands.h"
#include "tools/json.h"
#include "tools/query/book_access.h"
#include "tools/query/reference.h"
#include "tools/query/search.h"

namespace orva::tool {

namespace {

std::string Join(const std::vector<std::uint16_t>& numbers) {
  std::string text;
  for (std::uint16_t n : numbers) text += (text.empty() ? "" : " ") + std::to_string(n);
  return text;
}

}  // namespace

int RunFind(const FindArgs& args, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, args.dir);
  query::OpenParts(book, ORVA_SECTIONS | ORVA_CONCORD);
  const unsigned short language = query::ConcordanceLanguage(book);
  query::ReferenceFormatter references(book);
  query::SearchOptions options;
  options.phrase = args.phrase;
  options.prefix = args.prefix;
  const query::SearchResult result = query::FindWords(book, args.words, language, options);
  const size_t shown = args.limit > 0 ? std::min<size_t>(static_cast<size_t>(args.limit), result.hits.size())
                                      : result.hits.size();

  if (json) {
    JsonWriter out;
    out.BeginObject().Key("terms").BeginArray();
    for (const std::string& term : result.terms) out.Value(term);
    out.EndArray().Key("words").BeginArray();
    for (const auto& words : result.words) {
      out.BeginArray();
      for (const std::string& word : words) out.Value(word);
      out.EndArray();
    }
    out.EndArray().Member("count", static_cast<long long>(result.hits.size())).Key("references").BeginArray();
    for (size_t i = 0; i < shown; ++i) {
      const std::string reference = references.Of(static_cast<int>(result.hits[i].key));
      out.Value(query::ToUtf8(reference.c_str(), reference.size(), language));
    }
    out.EndArray().Key("hits").BeginArray();
    for (size_t i = 0; i < shown; ++i) {
      const query::SearchHit& hit = result.hits[i];
      out.BeginObject().Member("key", static_cast<long long>(hit.key)).Key("positions").BeginArray();
      for (const auto& list : hit.positions) {
        out.BeginArray();
        for (std::uint16_t p : list) out.Value(static_cast<int>(p));
        out.EndArray();
      }
      out.EndArray().EndObject();
    }
    std::fputs(out.EndArray().EndObject().Text().c_str(), stdout);
    return 0;
  }

  for (size_t i = 0; i < shown; ++i) {
    const query::SearchHit& hit = result.hits[i];
    const std::string reference = references.Of(static_cast<int>(hit.key));
    std::string where;
    if (hit.positions.size() == 1) {
      where = Join(hit.positions[0]);
    } else {
      for (size_t t = 0; t < hit.positions.size(); ++t) {
        where += (t ? "; " : "") + result.terms[t] + " " + Join(hit.positions[t]);
      }
    }
    std::printf("%s  (%s)\n", query::ToUtf8(reference.c_str(), reference.size(), language).c_str(), where.c_str());
  }
  std::printf("%zu %s\n", result.hits.size(), result.hits.size() == 1 ? "place" : "places");
  return 0;
}

int RunWords(const std::string& dir, const std::string& prefix, int limit, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, dir);
  query::OpenParts(book, ORVA_CONCORD);
  const std::vector<query::WordEntry> words = query::ListWords(book, prefix, query::ConcordanceLanguage(book), limit);
  JsonWriter out;
  out.BeginArray();
  for (const query::WordEntry& word : words) {
    if (json) out.BeginObject().Member("word", word.word).Member("keys", word.keys).EndObject();
    else std::printf("%-24s %6d\n", word.word.c_str(), word.keys);
  }
  if (json) std::fputs(out.EndArray().Text().c_str(), stdout);
  return 0;
}

}  // namespace orva::tool
