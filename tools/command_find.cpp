// orva find and orva words: the concordance; in a library, of each book that has one.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/commands.h"
#include "tools/print.h"

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
  void Append(std::string_view text) { Append(text.data(), text.size()); }
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

// The hits of a search after the first `offset` (at most `limit`, 0: all) and its
// count as text.
void PrintSearch(query::BookSearch& search, int offset, int limit) {
  const query::SearchResult& result = search.Result();
  const size_t first = std::min(static_cast<size_t>(offset), result.Count());
  const size_t shown =
      limit > 0 ? std::min(static_cast<size_t>(limit), result.Count() - first) : result.Count() - first;
  Output out;
  for (size_t done = 0; done < shown; done += kPage) {
    const query::BookSearch::Page page = search.Hits(first + done, std::min(kPage, shown - done));
    for (size_t hit = 0; hit < page.hits.Size(); ++hit) {
      out.Append(page.Reference(hit));
      out.Append("  (", 3);
      for (size_t t = 0; t < page.hits.Lists(); ++t) {
        if (t > 0) out.Append("; ", 2);
        if (page.hits.Lists() > 1) {
          out.Append(result.ListNames()[t]);
          out.Append(" ", 1);
        }
        if (result.IsStrongsList(t)) out.TaggedRuns(page.hits.Positions(hit, t), page.words[hit]);
        else out.Positions(page.hits.Positions(hit, t));
      }
      out.Append(")\n", 2);
    }
  }
  out.Number(static_cast<unsigned>(result.Count()));
  out.Append(result.Count() == 1 ? " place\n" : " places\n", result.Count() == 1 ? 7 : 8);
}

void PrintWords(const std::vector<query::WordEntry>& words, const std::string& prefix) {
  for (const query::WordEntry& word : words) std::printf("%-24s %6d\n", word.word.c_str(), word.keys);
  if (words.empty()) std::printf(prefix.empty() ? "(no words)\n" : "(no word begins with \"%s\")\n", prefix.c_str());
}

}  // namespace

int RunFind(const FindArgs& args, bool json) {
  query::SearchQuery search;
  search.words = args.words;
  search.strongs = args.strongs;
  search.options.phrase = args.phrase;
  search.options.prefix = args.prefix;
  if (query::Library::IsLibrary(args.dir)) {
    query::Library library(args.dir);
    auto answers = library.Find(search);
    return PrintEach(
        args.dir, answers, json, [&](auto& answer) { PrintSearch(answer.answer, args.offset, args.limit); },
        [&](JsonWriter& out, auto& answer) { AppendSearch(out, answer.answer, args.offset, args.limit); });
  }
  query::Book book(args.dir);
  query::BookSearch found = book.Find(search);
  if (!json) {
    PrintSearch(found, args.offset, args.limit);
    return 0;
  }
  JsonWriter out;
  AppendSearch(out, found, args.offset, args.limit);
  Print(out);
  return 0;
}

int RunWords(const std::string& dir, const std::string& prefix, int limit, bool json) {
  if (query::Library::IsLibrary(dir)) {
    query::Library library(dir);
    auto answers = library.Words(prefix, limit);
    return PrintEach(
        dir, answers, json, [&](auto& answer) { PrintWords(answer.answer, prefix); },
        [](JsonWriter& out, auto& answer) { AppendWords(out, answer.answer); });
  }
  query::Book book(dir);
  const std::vector<query::WordEntry> words = book.Words(prefix, limit);
  if (!json) {
    PrintWords(words, prefix);
    return 0;
  }
  JsonWriter out;
  AppendWords(out, words);
  Print(out);
  return 0;
}

}  // namespace orva::tool
