// orva find and orva words: the concordance.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/commands.h"
#include "tools/json.h"
#include "query/book_access.h"
#include "query/passage.h"
#include "query/reference.h"
#include "query/search.h"
#include "query/strongs.h"

namespace orva::tool {

namespace {

// Hits are read a page at a time: each page reads each word's lists once.
constexpr size_t kPage = 1024;

// Standard output gathered into writes of a few pages.
class Output {
 public:
  ~Output() { Flush(); }
  void Append(const char* text, size_t length) {
    if (kSize - m_used < length) Flush();
    if (kSize < length) {
      std::fwrite(text, 1, length, stdout);
      return;
    }
    std::memcpy(m_buffer.get() + m_used, text, length);
    m_used += length;
  }
  void Append(const std::string& text) { Append(text.data(), text.size()); }
  void Number(unsigned n) {
    if (kSize - m_used < 16) Flush();
    m_used = static_cast<size_t>(std::to_chars(m_buffer.get() + m_used, m_buffer.get() + kSize, n).ptr -
                                 m_buffer.get());
  }
  void Positions(const query::PositionList& numbers) {
    for (const std::uint16_t* n = numbers.begin(); n != numbers.end(); ++n) {
      if (n != numbers.begin()) Append(" ", 1);
      Number(*n);
    }
  }
  // A Strong's number's positions with the words there, run by run: "4 loved",
  // "6-7 the world", runs apart by ", ".
  void TaggedRuns(const query::PositionList& numbers, const std::vector<std::string>& words) {
    for (const std::uint16_t* n = numbers.begin(); n != numbers.end();) {
      const std::uint16_t* last = n;
      while (last + 1 != numbers.end() && last[1] == last[0] + 1) ++last;
      if (n != numbers.begin()) Append(", ", 2);
      Number(*n);
      if (last != n) {
        Append("-", 1);
        Number(*last);
      }
      for (; n <= last; ++n) {
        if (*n < 1 || *n > words.size()) continue;
        Append(" ", 1);
        Append(words[*n - 1]);
      }
    }
  }
  void Flush() {
    std::fwrite(m_buffer.get(), 1, m_used, stdout);
    m_used = 0;
  }

 private:
  static constexpr size_t kSize = 1 << 14;
  std::unique_ptr<char[]> m_buffer{new char[kSize]};
  size_t m_used = 0;
};

}  // namespace

int RunFind(const FindArgs& args, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, args.dir);
  query::OpenParts(book, ORVA_SECTIONS | ORVA_CONCORD);
  const unsigned short language = query::ConcordanceLanguage(book);
  query::SearchQuery search;
  search.words = args.words;
  search.strongs = args.strongs;
  search.options.phrase = args.phrase;
  search.options.prefix = args.prefix;
  const bool strongs = !args.strongs.empty();
  if (strongs && !query::HasStrongs(book)) {
    throw query::BookError(args.dir + ": the book has no Strong's numbers (its source tagged no words with them)");
  }
  const query::SearchResult result = query::Find(book, search, language);
  const size_t shown =
      args.limit > 0 ? std::min<size_t>(static_cast<size_t>(args.limit), result.Count()) : result.Count();
  query::ReferenceFormatter references(book, language);
  // The words at a Strong's number's positions are read from the text.
  if (strongs && shown > 0) query::OpenParts(book, ORVA_TEXT | ORVA_VIEWABLE);
  query::VerseTexts texts(book, language);
  std::vector<std::string> words;

  if (json) {
    JsonWriter out;
    out.BeginObject().Key("terms").BeginArray();
    for (const std::string& term : result.Terms()) out.Value(term);
    out.EndArray().Key("words").BeginArray();
    for (const auto& words : result.Words()) {
      out.BeginArray();
      for (const std::string& word : words) out.Value(word);
      out.EndArray();
    }
    out.EndArray().Member("count", static_cast<long long>(result.Count())).Key("references").BeginArray();
    for (size_t i = 0; i < shown; ++i) out.Value(references.Of(static_cast<int>(result.Key(i))));
    out.EndArray().Key("hits").BeginArray();
    for (size_t first = 0; first < shown; first += kPage) {
      const query::SearchPage page = result.Hits(first, std::min(kPage, shown - first));
      for (size_t hit = 0; hit < page.Size(); ++hit) {
        out.BeginObject().Member("key", static_cast<long long>(page.Key(hit))).Key("positions").BeginArray();
        for (size_t list = 0; list < page.Lists(); ++list) {
          out.BeginArray();
          for (std::uint16_t p : page.Positions(hit, list)) out.Value(static_cast<int>(p));
          out.EndArray();
        }
        out.EndArray();
        if (strongs) {  // the words at the positions
          words = texts.Words(static_cast<int>(page.Key(hit)));
          out.Key("text").BeginArray();
          for (size_t list = 0; list < page.Lists(); ++list) {
            out.BeginArray();
            for (std::uint16_t p : page.Positions(hit, list)) out.Value(p >= 1 && p <= words.size() ? words[p - 1] : "");
            out.EndArray();
          }
          out.EndArray();
        }
        out.EndObject();
      }
    }
    std::fputs(out.EndArray().EndObject().Text().c_str(), stdout);
    return 0;
  }

  Output out;
  std::string reference;
  for (size_t first = 0; first < shown; first += kPage) {
    const query::SearchPage page = result.Hits(first, std::min(kPage, shown - first));
    for (size_t hit = 0; hit < page.Size(); ++hit) {
      reference.clear();
      references.AppendTo(reference, static_cast<int>(page.Key(hit)));
      out.Append(reference);
      out.Append("  (", 3);
      if (strongs) words = texts.Words(static_cast<int>(page.Key(hit)));
      for (size_t t = 0; t < page.Lists(); ++t) {
        if (t > 0) out.Append("; ", 2);
        if (page.Lists() > 1) {
          out.Append(result.ListNames()[t]);
          out.Append(" ", 1);
        }
        if (result.IsStrongsList(t)) out.TaggedRuns(page.Positions(hit, t), words);
        else out.Positions(page.Positions(hit, t));
      }
      out.Append(")\n", 2);
    }
  }
  out.Number(static_cast<unsigned>(result.Count()));
  out.Append(result.Count() == 1 ? " place\n" : " places\n", result.Count() == 1 ? 7 : 8);
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
