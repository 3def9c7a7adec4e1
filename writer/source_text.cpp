#include "writer/source_text.h"

#include <cstdint>
#include <set>

#include "query/entry_text.h"

namespace orva::writer {

namespace {

constexpr int kMaxNumber = 65535;  // chapters and verses are 16-bit in the indexes

// The length of the valid UTF-8 sequence at `text[at]`, 0 when there is none.
size_t Utf8Length(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length;
  std::uint32_t min;
  if ((lead & 0xE0) == 0xC0) length = 2, min = 0x80;
  else if ((lead & 0xF0) == 0xE0) length = 3, min = 0x800;
  else if ((lead & 0xF8) == 0xF0) length = 4, min = 0x10000;
  else return 0;
  if (text.size() - at < length) return 0;
  std::uint32_t code = lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

class LineReader {
 public:
  LineReader(std::istream& in, const std::string& file) : m_in(in), m_file(file) {}

  // The next line that is not blank or a comment, without its line end; false at
  // the end of the input.
  bool Next(std::string& line) {
    while (std::getline(m_in, line)) {
      ++m_line;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (m_line == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
      if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
      CheckText(line);
      return true;
    }
    if (m_in.bad()) Fail("cannot be read");
    return false;
  }

  [[noreturn]] void Fail(const std::string& message) const { throw SourceError(m_file, m_line, message); }
  int Line() const { return m_line; }

 private:
  void CheckText(const std::string& line) const {
    for (size_t at = 0; at < line.size();) {
      const unsigned char c = static_cast<unsigned char>(line[at]);
      if ((c < 0x20 && c != '\t') || c == 0x7F) Fail("control character in the text");
      const size_t length = Utf8Length(line, at);
      if (length == 0) Fail("the text is not valid UTF-8");
      at += length;
    }
  }

  std::istream& m_in;
  const std::string& m_file;
  int m_line = 0;
};

// A positive decimal number of at most kMaxNumber made of all of `digits`; 0 when
// it is not one.
int Number(const std::string& digits) {
  if (digits.empty() || digits.size() > 5) return 0;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value <= kMaxNumber ? value : 0;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

SourceError::SourceError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message),
      m_file(file),
      m_line(line) {}

int Scripture::VerseCount() const {
  int count = 0;
  for (const SourceBook& book : books) {
    for (const SourceChapter& chapter : book.chapters) count += static_cast<int>(chapter.verses.size());
  }
  return count;
}

Scripture ParseScripture(std::istream& in, const std::string& file) {
  LineReader reader(in, file);
  Scripture scripture;
  std::set<std::string> finished;  // books whose lines have ended
  std::string line;
  while (reader.Next(line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) reader.Fail("expected \"Book Chapter:Verse<TAB>text\"");
    const std::string reference = Trim(line.substr(0, tab));
    const size_t blank = reference.rfind(' ');
    const size_t colon = reference.rfind(':');
    if (blank == std::string::npos || colon == std::string::npos || colon < blank) {
      reader.Fail("expected a reference \"Book Chapter:Verse\" before the tab, not \"" + reference + "\"");
    }
    const std::string name = Trim(reference.substr(0, blank));
    const int chapter = Number(reference.substr(blank + 1, colon - blank - 1));
    const int verse = Number(reference.substr(colon + 1));
    if (name.empty()) reader.Fail("the reference has no book name");
    if (chapter == 0 || verse == 0) {
      reader.Fail("chapter and verse must be numbers from 1 to 65535 in \"" + reference + "\"");
    }

    if (scripture.books.empty() || scripture.books.back().name != name) {
      if (!scripture.books.empty()) finished.insert(scripture.books.back().name);
      if (finished.count(name)) reader.Fail("the lines of " + name + " do not stand together");
      SourceBook book;
      book.name = name;
      scripture.books.push_back(std::move(book));
    }
    SourceBook& book = scripture.books.back();
    if (book.chapters.empty() || book.chapters.back().number != chapter) {
      if (!book.chapters.empty() && chapter < book.chapters.back().number) {
        reader.Fail(name + " " + std::to_string(chapter) + " comes after chapter " +
                    std::to_string(book.chapters.back().number));
      }
      SourceChapter next;
      next.number = chapter;
      book.chapters.push_back(std::move(next));
    }
    SourceChapter& current = book.chapters.back();
    if (!current.verses.empty() && verse <= current.verses.back().number) {
      reader.Fail(reference + " comes after verse " + std::to_string(current.verses.back().number));
    }
    SourceVerse next;
    next.number = verse;
    next.text = line.substr(tab + 1);
    next.line = reader.Line();
    current.verses.push_back(std::move(next));
  }
  if (scripture.books.empty()) throw SourceError(file, 0, "no verses");
  return scripture;
}

std::vector<DictionaryEntry> ParseDictionary(std::istream& in, const std::string& file) {
  LineReader reader(in, file);
  std::vector<DictionaryEntry> entries;
  std::set<std::string> headwords;  // folded to lower case
  std::string line;
  while (reader.Next(line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) reader.Fail("expected \"headword<TAB>definition\"");
    const std::string headword = Trim(line.substr(0, tab));
    if (headword.empty()) reader.Fail("the headword is empty");
    std::string folded = headword;
    for (char& c : folded) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (!headwords.insert(folded).second) reader.Fail("the headword \"" + headword + "\" comes twice");
    entries.push_back({headword, line.substr(tab + 1), reader.Line()});
  }
  if (entries.empty()) throw SourceError(file, 0, "no entries");
  return entries;
}

namespace {

// Entries whose key, before the first tab, is a key of the sync type `syncType`
// (query/entry_text.h), each key once; `fields` is the least number of
// tab-separated fields a line has.
std::vector<DictionaryEntry> ParseKeyed(std::istream& in, const std::string& file, const char* syncType,
                                        const char* form, size_t fields) {
  LineReader reader(in, file);
  std::vector<DictionaryEntry> entries;
  std::set<std::string> keys;
  std::string line;
  while (reader.Next(line)) {
    const size_t tab = line.find('\t');
    size_t tabs = 0;
    for (char c : line) tabs += c == '\t';
    if (tab == std::string::npos || tabs + 1 < fields) reader.Fail(std::string("expected \"") + form + "\"");
    const std::string typed = Trim(line.substr(0, tab));
    const std::string key = query::SyncKeyOf(syncType, typed, "-");
    if (key.empty() || typed == "today") {
      reader.Fail("\"" + typed + "\" is no " + (std::string(syncType) == "date" ? "date (MM-DD)" : "Strong's number"));
    }
    if (!keys.insert(key).second) reader.Fail(key + " comes twice");
    entries.push_back({key, line.substr(tab + 1), reader.Line()});
  }
  if (entries.empty()) throw SourceError(file, 0, "no entries");
  return entries;
}

}  // namespace

std::vector<DictionaryEntry> ParseLexicon(std::istream& in, const std::string& file) {
  return ParseKeyed(in, file, "strongs",
                    "NUMBER<TAB>HEADWORD<TAB>TRANSLITERATION<TAB>PRONUNCIATION<TAB>DEFINITION", 5);
}

std::vector<DictionaryEntry> ParsePlan(std::istream& in, const std::string& file) {
  return ParseKeyed(in, file, "date", "MM-DD<TAB>text", 2);
}

}  // namespace orva::writer
