// orva toc, read, verse and sync: the sections of a book, their text, and the
// sync look-ups.
#include <algorithm>
#include <cstdio>
#include <map>

#include "tools/commands.h"
#include "tools/json.h"
#include "query/book_access.h"
#include "query/entry_text.h"
#include "query/passage.h"
#include "query/reference.h"
#include "query/strongs.h"
#include "zalang/text_encoding.h"

namespace orva::tool {

namespace {

using query::BookError;

constexpr DWORD kText = ORVA_TEXT | ORVA_VIEWABLE;

void Print(const JsonWriter& out) { std::fputs(out.Text().c_str(), stdout); }

std::string Utf8(const std::string& narrow, unsigned short language) {
  return query::ToUtf8(narrow.data(), narrow.size(), language);
}

// Passages as text: each verse as "reference text" when `eachWithReference` or
// when there is one, else under the heading of each chapter as "verse text",
// with the lines shown above and below it (a psalm title).
void PrintPassages(cORVABookBase& book, const std::vector<query::Passage>& passages, unsigned short language,
                   bool eachWithReference = false) {
  if (eachWithReference || (passages.size() == 1 && !passages[0].name.empty())) {
    for (const query::Passage& passage : passages) {
      std::printf("%s %s\n", passage.reference.c_str(), passage.text.c_str());
    }
    return;
  }
  int parent = -2;
  for (const query::Passage& passage : passages) {
    if (passage.name.empty()) {
      std::printf("%s\n", passage.text.c_str());
      continue;
    }
    if (passage.parentKey != parent) {
      if (parent != -2) std::printf("\n");
      parent = passage.parentKey;
      if (parent >= 0) std::printf("%s\n", Utf8(query::ReferenceOfKey(book, parent), language).c_str());
    }
    for (const std::string& line : passage.above) std::printf("%s\n", line.c_str());
    std::printf("%s %s\n", passage.name.c_str(), passage.text.c_str());
    for (const std::string& line : passage.below) std::printf("%s\n", line.c_str());
  }
}

using Tags = std::map<int, std::vector<query::TaggedWord>>;

// The tagged words of the verse `key`, none when `tags` is null or has none.
const std::vector<query::TaggedWord>& TagsOf(const Tags* tags, int key) {
  static const std::vector<query::TaggedWord> kNone;
  if (!tags) return kNone;
  const auto found = tags->find(key);
  return found == tags->end() ? kNone : found->second;
}

// The text of a verse with the Strong's numbers of its words: after each run of
// words in a row that a number tags (after the last word of "the world"), the
// numbers whose runs end there: "For God<G2316> so<G3779> loved<G25> the
// world<G2889>", "yacer<H7257 H1878>".
std::string WithNumbers(const std::string& text, const std::vector<query::TaggedWord>& tags) {
  const std::vector<query::NumberedWord> words = query::NumberWords(text, tags);
  std::string out;
  size_t copied = 0;
  for (size_t w = 0; w < words.size(); ++w) {
    std::string marks;
    for (const std::string& number : words[w].numbers) {
      const bool runGoesOn = w + 1 < words.size() && std::find(words[w + 1].numbers.begin(), words[w + 1].numbers.end(),
                                                               number) != words[w + 1].numbers.end();
      if (runGoesOn) continue;
      marks += marks.empty() ? "<" : " ";
      marks += number;
    }
    if (marks.empty()) continue;
    out.append(text, copied, words[w].end - copied).append(marks).append(">");
    copied = words[w].end;
  }
  return out.append(text, copied, std::string::npos);
}

void AppendPassages(JsonWriter& out, const std::vector<query::Passage>& passages, const Tags* tags = nullptr) {
  for (const query::Passage& passage : passages) {
    out.BeginObject().Member("reference", passage.reference).Member("key", passage.key);
    out.Member("text", passage.text);
    if (tags && !passage.name.empty()) {  // a verse: its words with their numbers
      out.Key("words").BeginArray();
      for (const query::NumberedWord& word : query::NumberWords(passage.text, TagsOf(tags, passage.key))) {
        out.BeginObject().Member("word", word.word).Key("strongs").BeginArray();
        for (const std::string& number : word.numbers) out.Value(number);
        out.EndArray().EndObject();
      }
      out.EndArray();
    }
    for (const auto& [name, lines] : {std::pair{"above", &passage.above}, std::pair{"below", &passage.below}}) {
      if (lines->empty()) continue;
      out.Key(name).BeginArray();
      for (const std::string& line : *lines) out.Value(line);
      out.EndArray();
    }
    out.EndObject();
  }
}

// The entry `key` found by a look-up: its reference, path and text.
int ReportEntry(cORVABookBase& book, int key, const std::string& asked, bool json) {
  const unsigned short language = query::BookLanguage(book);
  const std::string reference = Utf8(query::ReferenceOfKey(book, key), language);
  const std::string path = Utf8(static_cast<const char*>(book.GetPathFromKey(key)), language);
  const std::vector<query::Passage> passages = query::ReadPassages(book, key, language);
  if (json) {
    JsonWriter out;
    out.BeginObject().Member("query", asked).Member("key", key).Member("reference", reference);
    out.Member("path", path);
    out.Key("passages").BeginArray();
    AppendPassages(out, passages);
    Print(out.EndArray().EndObject());
    return 0;
  }
  std::printf("%s: key %d, %s\n", asked.c_str(), key, path.c_str());
  PrintPassages(book, passages, language);
  return 0;
}

// An entry of a glossary, topical index, lexicon or plan found by a look-up: its
// paragraphs on lines of their own after its name (a lexicon's headword,
// transliteration and pronunciation on the name's line), references shown as
// their text; with `json` the paragraphs and the references with their keys.
int ReportKeyedEntry(cORVABookBase& book, int key, const std::string& asked, bool json) {
  const unsigned short language = query::BookLanguage(book);
  const std::vector<query::Passage> passages = query::ReadPassages(book, key, language);
  if (passages.size() != 1) throw BookError("the entry of key " + std::to_string(key) + " is no line of its area");
  const query::Passage& entry = passages[0];
  const query::ShownEntry shown = query::ShowEntryText(entry.text);
  const std::string path = Utf8(static_cast<const char*>(book.GetPathFromKey(key)), language);
  if (json) {
    JsonWriter out;
    out.BeginObject().Member("query", asked).Member("key", key).Member("name", entry.name).Member("path", path);
    out.Key("paragraphs").BeginArray();
    for (const std::string& paragraph : shown.paragraphs) out.Value(paragraph);
    out.EndArray().Key("references").BeginArray();
    for (const query::ShownEntry::Place& place : shown.references) {
      out.BeginObject().Member("type", place.reference.type).Member("key", place.reference.key);
      out.Member("shown", place.reference.shown).Member("paragraph", static_cast<long long>(place.paragraph));
      out.EndObject();
    }
    Print(out.EndArray().EndObject());
    return 0;
  }
  std::printf("%s: key %d, %s\n", asked.c_str(), key, path.c_str());
  const size_t onNameLine = book.GetSyncTypeFlag() == ORVA_SSYNC ? 3 : 1;
  std::string line = entry.name;
  for (size_t i = 0; i < shown.paragraphs.size() && i < onNameLine; ++i) {
    if (!shown.paragraphs[i].empty()) line += ' ' + shown.paragraphs[i];
  }
  std::printf("%s\n", line.c_str());
  for (size_t i = onNameLine; i < shown.paragraphs.size(); ++i) std::printf("%s\n", shown.paragraphs[i].c_str());
  return 0;
}

}  // namespace

int RunToc(const std::string& dir, const std::string& path, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, dir);
  query::OpenParts(book, ORVA_SECTIONS | (path.empty() ? DWORD{0} : DWORD{ORVA_TEXT}));
  const unsigned short language = path.empty() ? 1033 : query::BookLanguage(book);
  int first = book.GetLastSectionKey() >= 0 ? 0 : -1;
  std::string title;
  if (!path.empty()) {
    const int key = query::ResolveReference(book, path, language);
    cSectionsData section;
    if (book.GetSection(key, section) != 0) throw BookError(path + " is a glossary entry, with no sections below it");
    first = section.GetChildKey();
    title = Utf8(query::ReferenceOfKey(book, key), language);
  }
  JsonWriter out;
  out.BeginObject().Member("section", title).Key("sections").BeginArray();
  cSectionsData section;
  const int last = book.GetLastSectionKey();
  int count = 0;
  for (int key = first; key >= 0 && count <= last && book.GetSection(key, section) == 0;
       key = section.GetNextKey(), ++count) {
    const int below = section.GetChildKey() >= 0 ? book.GetSiblingSectionCount(section.GetChildKey()) : 0;
    const std::string name = Utf8(static_cast<const char*>(section.GetName()), language);
    if (json) {
      out.BeginObject().Member("name", name).Member("key", key).Member("sections", below).EndObject();
    } else {
      std::printf("%-24s %5d\n", name.c_str(), below);
    }
  }
  if (json) Print(out.EndArray().EndObject());
  if (count == 0 && !json) std::printf("(no sections below %s)\n", title.empty() ? "the top" : title.c_str());
  return 0;
}

int RunRead(const std::string& dir, const std::string& reference, bool strongs, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, dir);
  query::OpenParts(book, ORVA_SECTIONS | kText);
  if (strongs) {
    query::OpenParts(book, ORVA_CONCORD);
    if (!query::HasStrongs(book)) {
      throw BookError(dir + ": the book has no Strong's numbers (its source tagged no words with them)");
    }
  }
  const unsigned short language = query::BookLanguage(book);
  const std::vector<query::ReferenceSpan> spans = query::ResolveReferences(book, reference, language);
  std::vector<std::vector<query::Passage>> passages;
  for (const query::ReferenceSpan& span : spans) {
    passages.push_back(query::ReadPassages(book, span.first, span.last, language));
  }
  Tags tags;
  if (strongs) {  // the numbers of every verse asked for, in one walk over the numbers
    std::vector<int> keys;
    for (const auto& run : passages) {
      for (const query::Passage& passage : run) keys.push_back(passage.key);
    }
    tags = query::TaggedWords(book, keys);
    if (!json) {
      for (auto& run : passages) {
        for (query::Passage& passage : run) {
          if (!passage.name.empty()) passage.text = WithNumbers(passage.text, TagsOf(&tags, passage.key));
        }
      }
    }
  }
  if (json) {
    JsonWriter out;
    out.BeginObject().Member("query", reference).Key("references").BeginArray();
    for (const query::ReferenceSpan& span : spans) {
      out.BeginObject().Member("reference", span.reference).Member("first", span.first);
      out.Member("last", span.last).EndObject();
    }
    out.EndArray().Key("passages").BeginArray();
    for (const std::vector<query::Passage>& run : passages) AppendPassages(out, run, strongs ? &tags : nullptr);
    Print(out.EndArray().EndObject());
    return 0;
  }
  // A run that begins at a verse lists its verses each with its reference; whole
  // chapters and books stand under their chapters' headings, apart from the rest.
  bool headings = false;
  for (size_t i = 0; i < spans.size(); ++i) {
    const bool fromVerse =
        !passages[i].empty() && passages[i].front().key == spans[i].first && !passages[i].front().name.empty();
    if (i > 0 && (headings || !fromVerse)) std::printf("\n");
    PrintPassages(book, passages[i], language, fromVerse);
    headings = !fromVerse;
  }
  return 0;
}

int RunVerse(const std::string& dir, const std::string& reference, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, dir);
  if (book.GetSyncTypeFlag() != ORVA_VSYNC) throw BookError(dir + ": not a book with a verse sync index");
  query::OpenParts(book, ORVA_VSYNC | ORVA_SECTIONS | kText);
  const int key = book.GetVSyncKey(reference.c_str());
  if (key < 0) throw BookError("no verse " + reference + " in this book (book,chapter,verse)");
  return ReportEntry(book, key, reference, json);
}

int RunSync(const std::string& dir, const std::string& key, bool json) {
  cORVABookBase book;
  query::PointBookAt(book, dir);
  const DWORD flag = book.GetSyncTypeFlag();
  if (flag == 0) throw BookError(dir + ": the book has no sync index");
  query::OpenParts(book, flag | ORVA_SECTIONS | kText);
  const unsigned short language = query::BookLanguage(book);
  const std::string type = static_cast<const char*>(book.GetSyncType());
  const std::string stored = query::SyncKeyOf(type, key);
  if (stored.empty()) {
    throw BookError("\"" + key + "\" is no " +
                    (type == "date" ? "date: MM-DD, or today" : "Strong's number: G or H and a number, G25"));
  }
  int found;
  if (flag == ORVA_VSYNC) {
    found = book.GetVSyncKey(key.c_str());
  } else {
    const std::u16string wide = zalang::Utf8ToUtf16(stored);
    const CString packaged =
        LangToPackagedString(cLanguageString(reinterpret_cast<const unsigned short*>(wide.c_str()), language));
    found = flag == ORVA_WSYNC ? book.GetWSyncKey(packaged)
            : flag == ORVA_SSYNC ? book.GetSSyncKey(packaged)
                                 : book.GetDSyncKey(packaged);
    if (found < 0 && flag != ORVA_DSYNC) {
      CString nearest;
      if (flag == ORVA_WSYNC) book.GetWSyncKeyPartialMatch(packaged, nearest);
      else book.GetSSyncKeyPartialMatch(packaged, nearest);
      if (!nearest.IsEmpty()) {
        const std::string word = query::ToUtf8(TaggedStringToLang(nearest));
        throw BookError("\"" + stored + "\" is not in the " + type + " index; the nearest word after it is \"" +
                        word + "\"");
      }
    }
  }
  if (found < 0) throw BookError("\"" + stored + "\" is not in the " + type + " index");
  if (!book.IsValidKey(found)) {
    if (json) {
      JsonWriter out;
      Print(out.BeginObject().Member("query", key).Member("key", found).EndObject());
    } else {
      std::printf("%s: sync key %d\n", key.c_str(), found);
    }
    return 0;
  }
  return flag == ORVA_VSYNC ? ReportEntry(book, found, key, json) : ReportKeyedEntry(book, found, key, json);
}

}  // namespace orva::tool
