#include "writer/source_osis.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/exceptions.h"
#include "query/book_list.h"
#include "zalang/words.h"

namespace orva::writer {

namespace {

constexpr int kMaxNumber = 65535;  // chapters and verses are 16-bit in the indexes
constexpr size_t kChunk = 1 << 16;
constexpr int kChunksPerReport = 16;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The character of the UTF-8 sequence at `text`, of which `available` bytes are
// there; U+FFFD for a sequence cut short (expat hands over whole characters).
char32_t CharacterAt(const char* text, size_t available, size_t* length) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  *length = std::min(n, available);
  if (n > available) return 0xFFFD;
  char32_t c = n == 1 ? lead : lead & (0x7F >> n);
  for (size_t i = 1; i < n; ++i) c = (c << 6) | (byte(i) & 0x3F);
  return c;
}

bool IsWordCharacter(char32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return c > 0xFFFF || zalang::IsWordCharacter(static_cast<char16_t>(c));
}

// Text gathered from character data: runs of XML blanks become one blank, none
// at the start or the end; its length is also counted in UTF-16 units, the
// units in which Strong's tags point into a verse.
class TextBuffer {
 public:
  void Append(const char* data, size_t size) {
    for (size_t at = 0; at < size;) {
      if (IsBlank(data[at])) {
        m_blank = !m_text.empty();
        ++at;
        continue;
      }
      size_t length;
      const char32_t c = CharacterAt(data + at, size - at, &length);
      const bool word = IsWordCharacter(c);
      if (m_blank || (m_break && m_lastIsWord && word)) Put(" ", 1, 1);
      m_blank = m_break = false;
      Put(data + at, length, c > 0xFFFF ? 2 : 1);
      m_lastIsWord = word;
      at += length;
    }
  }
  // An edge between elements: a blank if two letters meet across it.
  void Break() { m_break = !m_text.empty(); }
  std::uint32_t Units() const { return m_units; }
  bool Empty() const { return m_text.empty(); }
  std::string Take() {
    m_units = 0;
    m_blank = m_break = m_lastIsWord = false;
    return std::exchange(m_text, {});
  }

 private:
  void Put(const char* bytes, size_t size, std::uint32_t units) {
    AfxAllocating([&] { m_text.append(bytes, size); });
    m_units += units;
  }

  std::string m_text;
  std::uint32_t m_units = 0;
  bool m_blank = false, m_break = false, m_lastIsWord = false;
};

// Counts the words of text that is left out.
class WordCounter {
 public:
  void Append(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      if (IsBlank(data[i])) {
        m_inWord = false;
      } else if (!m_inWord) {
        m_inWord = true;
        ++m_words;
      }
    }
  }
  void Break() { m_inWord = false; }
  long long Words() const { return m_words; }

 private:
  bool m_inWord = false;
  long long m_words = 0;
};

// A positive decimal number of at most kMaxNumber, 0 when `text` is not one.
int Number(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int value = std::stoi(text);
  return value <= kMaxNumber ? value : 0;
}

std::vector<std::string> SplitBlanks(const std::string& text) {
  std::vector<std::string> parts;
  for (size_t at = 0; at < text.size();) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    size_t end = at;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    if (end > at) parts.push_back(text.substr(at, end - at));
    at = end;
  }
  return parts;
}

std::string Trimmed(const std::string& text) {
  TextBuffer buffer;
  buffer.Append(text.data(), text.size());
  return buffer.Take();
}

// What an element did when it started, to be undone when it ends.
enum class Opened : std::uint8_t {
  kNothing,
  kEdge,        // an edge between pieces of text (a line, a paragraph, a milestone)
  kHeader,      // <header>
  kWork,        // <work> of the header
  kField,       // the header's title, rights or language
  kNote,        // its text is left out
  kLabel,       // a title or speaker label
  kWord,        // a <w>
  kBookEnd,     // a book container
  kChapterEnd,  // a chapter container
  kVerseEnd,    // a verse container
};

enum class Field : std::uint8_t { kNone, kTitle, kRights, kLanguage };

class OsisReader {
 public:
  OsisReader(const std::string& file, XML_Parser parser) : m_file(file), m_parser(parser) {}

  void Start(const char* qualified, const char** attributes) {
    const std::string name = LocalName(qualified);
    m_attributes = attributes;
    Opened opened = Opened::kNothing;
    if (m_inHeader) {
      opened = StartInHeader(name);
    } else if (name == "osis" || name == "osisText") {
      const char* lang = Attribute("xml:lang");
      if (lang && m_scripture.languageTag.empty()) {
        m_scripture.languageTag = lang;
        m_scripture.languageLine = Line();
      }
    } else if (name == "header") {
      m_inHeader = true;
      opened = Opened::kHeader;
    } else if (name == "note") {
      ++m_notes;
      ++m_scripture.notesLeftOut;
      opened = Opened::kNote;
    } else if (m_notes > 0) {
      // Everything inside a note is left out with it.
    } else if (name == "div" && Is(Attribute("type"), "book")) {
      opened = StartBookDiv();
    } else if (name == "chapter") {
      opened = StartChapter();
    } else if (name == "verse") {
      opened = StartVerse();
    } else if (name == "title" || name == "speaker") {
      opened = StartLabel();
    } else if (name == "w") {
      opened = StartWord();
    } else if (name == "milestone") {
      BookNameFromMilestone();
      Edge();
      opened = Opened::kEdge;
    } else if (IsEdge(name)) {
      if (name == "div") EndBookByMilestoneOfAnotherType();
      Edge();
      opened = Opened::kEdge;
    }
    AfxAllocating([&] { m_open.push_back(opened); });
  }

  void End() {
    const Opened opened = m_open.back();
    m_open.pop_back();
    switch (opened) {
      case Opened::kNothing:
        break;
      case Opened::kEdge:
        Edge();
        break;
      case Opened::kHeader:
        m_inHeader = false;
        break;
      case Opened::kWork:
        ++m_works;
        break;
      case Opened::kField:
        EndField();
        break;
      case Opened::kNote:
        --m_notes;
        if (m_notes == 0) Target().Break();
        break;
      case Opened::kLabel:
        EndLabel();
        break;
      case Opened::kWord:
        EndWord();
        break;
      case Opened::kBookEnd:
        EndBook();
        break;
      case Opened::kChapterEnd:
        EndChapter();
        break;
      case Opened::kVerseEnd:
        EndVerse();
        break;
    }
  }

  void Text(const char* data, size_t size) {
    if (m_notes > 0) return;
    if (m_inHeader) {
      if (m_field != Field::kNone) m_fieldText.Append(data, size);
      return;
    }
    if (m_labelDepth > 0 || m_verse || m_inChapters) {
      Target().Append(data, size);
    } else {
      m_leftOut.Append(data, size);
    }
  }

  Scripture Finish() {
    if (m_verse) Fail(m_verse->line, "the verse " + m_verseID + " has no end");
    if (m_book) Fail(m_bookLine, "the book " + m_bookID + " has no end");
    if (m_scripture.languageTag.empty()) {
      m_scripture.languageTag = m_headerLanguage;
      m_scripture.languageLine = m_headerLanguageLine;
    }
    m_scripture.wordsLeftOut = m_leftOut.Words();
    if (m_scripture.VerseCount() == 0) throw SourceError(m_file, 0, "no verses: it holds no book of the Bible with verses");
    return std::move(m_scripture);
  }

 private:
  // ---- Elements and attributes

  static std::string LocalName(const char* qualified) {
    const char* colon = std::strrchr(qualified, ':');
    return colon ? colon + 1 : qualified;
  }
  const char* Attribute(const char* name) const {
    for (const char** a = m_attributes; a && a[0]; a += 2) {
      if (std::strcmp(a[0], name) == 0) return a[1];
    }
    return nullptr;
  }
  static bool Is(const char* value, const char* wanted) { return value && std::strcmp(value, wanted) == 0; }
  // Elements whose edges part pieces of text: a blank between letters, a new
  // line between verses.
  static bool IsEdge(const std::string& name) {
    static const std::set<std::string> edges = {"p", "div", "lg", "l", "lb", "list", "item", "head", "table",
                                                "row", "cell", "figure", "closer", "salute", "signed"};
    return edges.count(name) > 0;
  }

  // An osisID without the work it may name first ("Bible:Gen.1.1").
  static std::string WithoutWork(const std::string& id) { return id.substr(id.find(':') + 1); }

  int Line() const { return static_cast<int>(XML_GetCurrentLineNumber(m_parser)); }
  [[noreturn]] void Fail(int line, const std::string& message) const { throw SourceError(m_file, line, message); }
  [[noreturn]] void Fail(const std::string& message) const { Fail(Line(), message); }

  // ---- The header

  Opened StartInHeader(const std::string& name) {
    if (name == "work") return Opened::kWork;
    if (m_works > 0 || m_field != Field::kNone) return Opened::kNothing;
    if (name == "title") m_field = Field::kTitle;
    else if (name == "rights") m_field = Field::kRights;
    else if (name == "language") m_field = Field::kLanguage;
    else return Opened::kNothing;
    m_fieldLine = Line();
    return Opened::kField;
  }

  void EndField() {
    std::string text = m_fieldText.Take();
    if (m_field == Field::kTitle && m_scripture.title.empty()) m_scripture.title = std::move(text);
    if (m_field == Field::kRights && m_scripture.rights.empty()) m_scripture.rights = std::move(text);
    if (m_field == Field::kLanguage && m_headerLanguage.empty()) {
      m_headerLanguage = std::move(text);
      m_headerLanguageLine = m_fieldLine;
    }
    m_field = Field::kNone;
  }

  // ---- Where text goes

  // The text that character data now goes to: a label, a verse, or the piece of
  // text between verses.
  TextBuffer& Target() {
    if (m_labelDepth > 0) return m_label;
    if (m_verse) return m_verseText;
    return m_between;
  }

  // An edge between pieces of text. Between verses it ends a piece, which
  // becomes a line shown above the next verse.
  void Edge() {
    if (m_labelDepth > 0 || m_verse) {
      Target().Break();
      return;
    }
    m_leftOut.Break();
    if (!m_between.Empty()) AfxAllocating([&] { m_lines.push_back(m_between.Take()); });
  }

  // ---- Books

  // The sID of a book, chapter or verse opened as a milestone (it may be empty);
  // none for one opened as an element, which only its end tag closes.
  using StartID = std::optional<std::string>;
  static StartID StartIDOf(const char* sID) { return sID ? StartID(sID) : std::nullopt; }
  // Whether an end milestone with eID `end` closes what was opened with `start`:
  // a milestone whose sID is empty or `end`.
  static bool Closes(const StartID& start, const std::string& end) { return start && (start->empty() || *start == end); }

  Opened StartBookDiv() {
    if (const char* end = Attribute("eID")) {
      EndBookMilestone(end);
      return Opened::kEdge;
    }
    const char* id = Attribute("osisID");
    if (!id) Fail("a book (div type=\"book\") without an osisID");
    StartBook(WithoutWork(id), Attribute("sID"));
    return Attribute("sID") ? Opened::kEdge : Opened::kBookEnd;
  }

  void StartBook(const std::string& id, const char* startID) {
    if (m_verse) Fail("the book " + id + " starts inside the verse " + m_verseID);
    if (m_book) Fail("the book " + id + " starts inside the book " + m_bookID);
    const int number = query::BookNumberOfOsisID(id);
    if (number == 0) Fail("\"" + id + "\" is no book of the Bible that this program knows (an osisID such as Gen, Matt, Tob)");
    if (!m_booksSeen.insert(number).second) Fail("the book " + id + " comes twice");
    Edge();
    m_lines.clear();
    m_book = std::make_unique<SourceBook>();
    m_book->number = number;
    m_bookID = id;
    m_bookSID = StartIDOf(startID);
    m_bookLine = Line();
    m_chapters.clear();
    m_inChapters = false;
    m_shortName.clear();
    m_headerName.clear();
    m_tocName.clear();
  }

  // A book's end milestone; some documents end a book with a div end milestone
  // that does not repeat type="book".
  void EndBookMilestone(const std::string& end) {
    if (!m_book || !Closes(m_bookSID, end)) Fail("the end of a book (eID " + end + ") ends no book that is open");
    EndBook();
  }
  void EndBookByMilestoneOfAnotherType() {
    const char* end = Attribute("eID");
    if (m_book && end && m_bookSID && !m_bookSID->empty() && end == *m_bookSID) EndBook();
  }

  void EndBook() {
    if (m_verse) Fail("the book " + m_bookID + " ends inside the verse " + m_verseID);
    if (m_chapterOpen) Fail(m_chapterLine, "the chapter " + m_chapterID + " has no end before its book's");
    Edge();
    std::unique_ptr<SourceBook> book = std::move(m_book);
    std::vector<SourceChapter>& chapters = book->chapters;
    chapters.erase(std::remove_if(chapters.begin(), chapters.end(),
                                  [](const SourceChapter& chapter) { return chapter.verses.empty(); }),
                   chapters.end());
    if (!book->chapters.empty()) {
      std::vector<std::string>& closing = book->chapters.back().closing;
      AfxAllocating([&] { closing.insert(closing.end(), m_lines.begin(), m_lines.end()); });
    }
    m_lines.clear();
    m_inChapters = false;
    book->name = !m_shortName.empty() ? m_shortName : !m_headerName.empty() ? m_headerName : m_tocName;
    if (book->name.empty()) book->name = query::ListedBookAt(book->number)->name;
    if (book->chapters.empty()) return;
    AfxAllocating([&] { m_scripture.books.push_back(std::move(*book)); });
  }

  void BookNameFromMilestone() {
    if (!m_book || m_inChapters) return;
    const char* type = Attribute("type");
    const char* n = Attribute("n");
    if (!n) return;
    if (Is(type, "x-usfm-h") && m_headerName.empty()) m_headerName = Trimmed(n);
    if (Is(type, "x-usfm-toc2") && m_tocName.empty()) m_tocName = Trimmed(n);
  }

  // ---- Chapters

  // The chapter and verse numbers of an osisID "Book.Chapter[.Verse]" of the open
  // book; `parts` is 2 or 3.
  std::vector<int> Reference(const std::string& written, const char* what, size_t parts) {
    const std::string id = WithoutWork(written);
    std::vector<std::string> fields;
    for (size_t at = 0;;) {
      const size_t dot = id.find('.', at);
      fields.push_back(id.substr(at, dot == std::string::npos ? dot : dot - at));
      if (dot == std::string::npos) break;
      at = dot + 1;
    }
    if (fields.size() != parts) {
      Fail("the osisID \"" + id + "\" of a " + what + " is not " +
           (parts == 2 ? "Book.Chapter" : "Book.Chapter.Verse"));
    }
    if (!m_book) Fail("the " + std::string(what) + " " + id + " stands outside any book");
    if (fields[0] != m_bookID) Fail("the " + std::string(what) + " " + id + " stands in the book " + m_bookID);
    std::vector<int> numbers;
    for (size_t i = 1; i < fields.size(); ++i) {
      const int number = Number(fields[i]);
      if (number == 0) Fail("the osisID \"" + id + "\" has no number from 1 to 65535 where it needs one");
      numbers.push_back(number);
    }
    return numbers;
  }

  Opened StartChapter() {
    if (const char* end = Attribute("eID")) {
      if (!m_chapterOpen || !Closes(m_chapterSID, end)) {
        Fail("the end of a chapter (eID " + std::string(end) + ") ends no chapter that is open");
      }
      EndChapter();
      return Opened::kEdge;
    }
    const char* id = Attribute("osisID");
    if (!id) Fail("a chapter without an osisID");
    if (m_verse) Fail("the chapter " + std::string(id) + " starts inside the verse " + m_verseID);
    if (m_chapterOpen) Fail("the chapter " + std::string(id) + " starts inside the chapter " + m_chapterID);
    const int number = Reference(id, "chapter", 2)[0];
    Edge();
    ChapterNumbered(number, id);
    m_chapterOpen = true;
    m_chapterID = id;
    m_chapterNumber = number;
    m_chapterSID = StartIDOf(Attribute("sID"));
    m_chapterLine = Line();
    return Attribute("sID") ? Opened::kEdge : Opened::kChapterEnd;
  }

  void EndChapter() {
    if (m_verse) Fail("the chapter " + m_chapterID + " ends inside the verse " + m_verseID);
    Edge();
    m_chapterOpen = false;
  }

  // Makes chapter `number` of the open book the current one.
  SourceChapter& ChapterNumbered(int number, const std::string& id) {
    m_inChapters = true;
    std::vector<SourceChapter>& chapters = m_book->chapters;
    if (!chapters.empty() && chapters.back().number == number) return chapters.back();
    if (!m_chapters.insert(number).second) Fail("the chapter " + id + " comes twice");
    AfxAllocating([&] { chapters.push_back({number, {}, {}}); });
    return chapters.back();
  }

  // ---- Verses

  Opened StartVerse() {
    if (const char* end = Attribute("eID")) {
      if (!m_verse || !Closes(m_verseSID, end)) {
        Fail("the end of a verse (eID " + std::string(end) + ") ends no verse that is open");
      }
      EndVerse();
      return Opened::kEdge;
    }
    const char* id = Attribute("osisID");
    if (!id) Fail("a verse without an osisID");
    if (m_verse) Fail("the verse " + std::string(id) + " starts inside the verse " + m_verseID);
    const std::vector<std::string> ids = SplitBlanks(id);
    if (ids.empty()) Fail("a verse with an empty osisID");
    std::vector<int> numbers;
    int chapter = 0;
    for (const std::string& one : ids) {
      const std::vector<int> reference = Reference(one, "verse", 3);
      if (chapter != 0 && reference[0] != chapter) Fail("the verse " + std::string(id) + " names verses of two chapters");
      chapter = reference[0];
      if (!numbers.empty() && reference[1] <= numbers.back()) Fail("the verses of the osisID \"" + std::string(id) + "\" do not ascend");
      numbers.push_back(reference[1]);
    }
    if (m_chapterOpen && chapter != m_chapterNumber) {
      Fail("the verse " + ids[0] + " stands in the chapter " + m_chapterID);
    }
    Edge();
    SourceChapter& current = ChapterNumbered(chapter, m_bookID + "." + std::to_string(chapter));
    if (!current.verses.empty()) {
      const SourceVerse& last = current.verses.back();
      const int lastNumber = last.alsoNumbers.empty() ? last.number : last.alsoNumbers.back();
      if (numbers.front() <= lastNumber) {
        Fail(numbers.front() == lastNumber || std::find(last.alsoNumbers.begin(), last.alsoNumbers.end(),
                                                        numbers.front()) != last.alsoNumbers.end()
                 ? "the verse " + ids[0] + " comes twice"
                 : "the verse " + ids[0] + " comes after verse " + std::to_string(lastNumber) + " of its chapter");
      }
    }
    m_verse = std::make_unique<SourceVerse>();
    m_verse->number = numbers.front();
    m_verse->alsoNumbers.assign(numbers.begin() + 1, numbers.end());
    m_verse->line = Line();
    m_verse->titles = std::exchange(m_lines, {});
    m_verseID = ids[0];
    m_verseSID = StartIDOf(Attribute("sID"));
    return Attribute("sID") ? Opened::kEdge : Opened::kVerseEnd;
  }

  void EndVerse() {
    if (m_labelDepth > 0) Fail("the verse " + m_verseID + " ends inside a title");
    m_verse->text = m_verseText.Take();
    SourceChapter& chapter = m_book->chapters.back();
    AfxAllocating([&] { chapter.verses.push_back(std::move(*m_verse)); });
    m_verse.reset();
  }

  // ---- Titles and speaker labels

  Opened StartLabel() {
    if (m_labelDepth++ > 0) return Opened::kLabel;
    Edge();
    m_labelShort = Attribute("short") ? Trimmed(Attribute("short")) : std::string();
    return Opened::kLabel;
  }

  void EndLabel() {
    if (--m_labelDepth > 0) return;
    std::string text = m_label.Take();
    if (m_book && !m_inChapters) {
      if (!m_labelShort.empty() && m_shortName.empty()) m_shortName = m_labelShort;
    } else if (m_verse) {
      if (!text.empty()) AfxAllocating([&] { m_verse->titles.push_back(std::move(text)); });
    } else if (m_inChapters) {
      if (!text.empty()) AfxAllocating([&] { m_lines.push_back(std::move(text)); });
    } else {
      m_leftOut.Append(text.data(), text.size());
      m_leftOut.Break();
    }
  }

  // ---- Strong's numbers

  Opened StartWord() {
    std::vector<std::string> words = StrongsWords(Attribute("lemma"));
    if (!m_verse || m_labelDepth > 0) return Opened::kNothing;
    AfxAllocating([&] { m_wordStarts.push_back({m_verseText.Units(), std::move(words)}); });
    return Opened::kWord;
  }

  void EndWord() {
    const std::uint32_t begin = m_wordStarts.back().first;
    std::vector<std::string> words = std::move(m_wordStarts.back().second);
    m_wordStarts.pop_back();
    if (!m_verse) return;
    const std::uint32_t end = m_verseText.Units();
    AfxAllocating([&] {
      for (std::string& word : words) m_verse->strongs.push_back({std::move(word), begin, end});
    });
  }

  // The Strong's numbers of a lemma: its blank-separated values under the
  // prefix "strong" (a value without a prefix has the one before it).
  std::vector<std::string> StrongsWords(const char* lemma) const {
    std::vector<std::string> words;
    if (!lemma) return words;
    std::string prefix;
    for (const std::string& value : SplitBlanks(lemma)) {
      const size_t colon = value.find(':');
      if (colon != std::string::npos) prefix = value.substr(0, colon);
      if (prefix != "strong" && prefix != "Strong" && prefix != "STRONG") continue;
      const std::string number = colon == std::string::npos ? value : value.substr(colon + 1);
      std::string word = zalang::StrongsWord(number);
      if (word.empty()) Fail("the lemma \"" + std::string(lemma) + "\" holds \"" + number + "\", which is no Strong's number");
      words.push_back(std::move(word));
    }
    return words;
  }

  const std::string& m_file;
  XML_Parser m_parser;
  const char** m_attributes = nullptr;
  Scripture m_scripture;
  std::vector<Opened> m_open;

  bool m_inHeader = false;
  int m_works = 0;
  Field m_field = Field::kNone;
  int m_fieldLine = 0;
  TextBuffer m_fieldText;
  std::string m_headerLanguage;
  int m_headerLanguageLine = 0;

  int m_notes = 0;  // notes open
  WordCounter m_leftOut;

  std::unique_ptr<SourceBook> m_book;  // the book open
  std::string m_bookID;
  StartID m_bookSID;
  int m_bookLine = 0;
  std::set<int> m_booksSeen, m_chapters;  // numbers of books, and of the open book's chapters
  bool m_inChapters = false;              // the open book's first chapter has begun
  std::string m_shortName, m_headerName, m_tocName;

  bool m_chapterOpen = false;
  std::string m_chapterID;
  StartID m_chapterSID;
  int m_chapterNumber = 0;
  int m_chapterLine = 0;

  std::unique_ptr<SourceVerse> m_verse;  // the verse open
  std::string m_verseID;
  StartID m_verseSID;
  TextBuffer m_verseText;
  std::vector<std::pair<std::uint32_t, std::vector<std::string>>> m_wordStarts;

  TextBuffer m_between;              // text between verses
  std::vector<std::string> m_lines;  // lines for above the next verse
  int m_labelDepth = 0;
  TextBuffer m_label;
  std::string m_labelShort;
};

// Expat calls C functions: a fault raised in a handler is kept, the parser
// stopped, and the fault raised again once expat has returned.
struct Parse {
  OsisReader* reader;
  XML_Parser parser;
  std::exception_ptr fault;
};

template <class Call>
void Guarded(void* data, Call call) {
  Parse& parse = *static_cast<Parse*>(data);
  if (parse.fault) return;
  try {
    call(*parse.reader);
  } catch (...) {
    parse.fault = std::current_exception();
    XML_StopParser(parse.parser, XML_FALSE);
  }
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  Guarded(data, [&](OsisReader& reader) { reader.Start(name, attributes); });
}
void XMLCALL OnEnd(void* data, const XML_Char*) {
  Guarded(data, [&](OsisReader& reader) { reader.End(); });
}
void XMLCALL OnText(void* data, const XML_Char* text, int length) {
  Guarded(data, [&](OsisReader& reader) { reader.Text(text, static_cast<size_t>(length)); });
}

}  // namespace

bool LooksLikeXml(SourceStream& in) {
  const std::string head = in.Peek(256);
  size_t at = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (at < head.size() && IsBlank(head[at])) ++at;
  return at < head.size() && head[at] == '<';
}

Scripture ParseOsis(SourceStream& in, const std::function<void(double done)>& progress) {
  const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr), XML_ParserFree);
  if (!parser) AfxThrowMemoryException();
  const std::string& file = in.Path();
  OsisReader reader(file, parser.get());
  Parse parse{&reader, parser.get(), nullptr};
  XML_SetUserData(parser.get(), &parse);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  const std::unique_ptr<char[]> buffer(new char[kChunk]);  // not zeroed: a short document reads little of it
  for (int chunk = 0;; ++chunk) {
    const size_t got = in.Read(buffer.get(), kChunk);
    const XML_Status status = XML_Parse(parser.get(), buffer.get(), static_cast<int>(got), got == 0);
    if (parse.fault) std::rethrow_exception(parse.fault);
    if (status != XML_STATUS_OK) {
      throw SourceError(file, static_cast<int>(XML_GetCurrentLineNumber(parser.get())),
                        std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(parser.get())));
    }
    if (got == 0) break;
    if (progress && chunk % kChunksPerReport == 0) progress(in.Done());
  }
  return reader.Finish();
}

unsigned short LanguageOfTag(const std::string& tag) {
  std::string primary = tag.substr(0, tag.find_first_of("-_"));
  for (char& c : primary) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  static const std::pair<const char*, unsigned short> languages[] = {
      {"en", 1033}, {"de", 1031}, {"fr", 1036}, {"es", 1034}, {"el", 1032}, {"grc", 1032}, {"he", 1037}, {"hbo", 1037}};
  for (const auto& [code, id] : languages) {
    if (primary == code) return id;
  }
  return 0;
}

}  // namespace orva::writer
