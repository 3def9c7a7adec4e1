// The scripture book (BuildScriptureBook): the layout that writer/book_builder.h
// documents.
#include <algorithm>
#include <map>
#include <utility>

#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "query/book_list.h"
#include "writer/book_builder.h"
#include "writer/builder_support.h"
#include "writer/sections_writer.h"
#include "writer/source_osis.h"
#include "writer/verses_writer.h"
#include "writer/vsync_writer.h"
#include "zalang/words.h"

namespace orva::writer {

namespace {

using namespace build;

constexpr char kTitleMark = '\t';  // a line of a chapter's block that is no verse begins with it
constexpr double kBooksDone = 0.5;  // of the progress, when the books are laid out and the files not yet encoded

// The language of the text: the one the options name, else the source's (an
// OSIS document's xml:lang), else English.
std::uint16_t LanguageOf(const Scripture& source, const BookOptions& options, const std::string& sourceName) {
  if (options.language != 0) return options.language;
  if (source.languageTag.empty()) return 1033;
  const std::uint16_t language = LanguageOfTag(source.languageTag);
  if (language == 0) {
    throw SourceError(sourceName, source.languageLine,
                      "the language \"" + source.languageTag +
                          "\" is none that a book can be written in (en, de, fr, es, el, he): give its id with "
                          "--language");
  }
  return language;
}

// The document's title or rights, which the book's header takes unless the
// options give one: a control word cannot hold '}'.
void CheckHeaderWord(const std::string& sourceName, const char* what, const std::string& text) {
  if (text.find('}') != std::string::npos) {
    throw SourceError(sourceName, 0, std::string("the document's ") + what + " holds '}', which a book's header cannot");
  }
}

// The number of each book in the list of books (query/book_list.h).
std::vector<int> BookNumbers(const Scripture& source, const TextConverter& converter) {
  std::vector<int> numbers;
  std::map<int, size_t> taken;  // number -> the book that has it
  int unlisted = query::kFirstUnlistedBook;
  for (size_t i = 0; i < source.books.size(); ++i) {
    const SourceBook& book = source.books[i];
    int number = book.number != 0 ? book.number : query::BookNumberOfEnglishName(book.name);
    if (number == 0) number = unlisted++;
    const int line = book.chapters.front().verses.front().line;
    if (number > kMaxCount) converter.Fail(line, "more books than the 65535 that verse references can number");
    const auto [at, added] = taken.emplace(number, i);
    if (!added) {
      converter.Fail(line, "the book " + book.name + " is the book " + source.books[at->second].name +
                               " again (number " + std::to_string(number) + " of the list of books)");
    }
    numbers.push_back(number);
  }
  return numbers;
}

// The positions (from 1) of the words of `words` that lie, in whole or in part,
// in [begin, end).
template <class Visit>
void WordsWithin(const std::vector<zalang::WordSpan>& words, std::uint32_t begin, std::uint32_t end, Visit visit) {
  auto first = std::upper_bound(words.begin(), words.end(), begin,
                                [](std::uint32_t at, const zalang::WordSpan& word) { return at < word.end; });
  for (auto word = first; word != words.end() && word->begin < end; ++word) {
    visit(static_cast<std::uint16_t>(word - words.begin() + 1));
  }
}

class ScriptureBuilder {
 public:
  ScriptureBuilder(const Scripture& source, const BookOptions& options, const std::string& sourceName)
      : m_source(source),
        m_options(options),
        m_converter(sourceName, LanguageOf(source, options, sourceName)),
        m_version(Version(options)),
        m_title(!options.title.empty()    ? options.title
                : !source.title.empty() ? source.title
                                        : DefaultTitle(sourceName)) {
    if (options.title.empty()) CheckHeaderWord(sourceName, "title", source.title);
    if (options.copyright.empty()) CheckHeaderWord(sourceName, "rights", source.rights);
    m_sections.version = m_version;
    m_sections.wordCounts = true;
    m_sections.shareNames = true;  // chapters and verses are named by numbers
    m_versesIndex.version = m_version;
    m_versesIndex.coded = options.coded;
    m_blocks.push_back(m_converter.Narrow(m_title, 0) + "\n");
    m_book.language = m_converter.Language();
  }

  BuiltBook Build(const std::function<void(double done)>& progress) {
    if (m_source.books.size() > kMaxCount) m_converter.Fail(0, "more than 65535 books");
    const std::vector<int> numbers = BookNumbers(m_source, m_converter);
    for (size_t i = 0; i < m_source.books.size(); ++i) {
      AddBook(m_source.books[i], numbers[i]);
      if (progress) progress(kBooksDone * static_cast<double>(i + 1) / static_cast<double>(m_source.books.size()));
    }
    m_book.sections = static_cast<int>(m_sections.sections.size());
    return Finish(progress);
  }

 private:
  void AddBook(const SourceBook& source, int number) {
    const int firstLine = source.chapters.front().verses.front().line;
    const std::string name = BookName(source, firstLine);
    m_bookAt = m_sections.sections.size();
    SectionEntry section;
    section.name = name;
    section.level = 1;
    section.syncWord = static_cast<std::uint32_t>(m_blocks.size());
    AfxAllocating([&] { m_sections.sections.push_back(section); });
    VerseSyncBook& sync = m_verseSync[number];
    BookEntry entry;
    entry.number = static_cast<std::uint16_t>(number);
    entry.list = std::vector<std::uint32_t>{static_cast<std::uint32_t>(m_bookAt)};
    entry.allChapters.emplace();
    entry.allVerses.emplace();
    long long words = 0;
    ++m_book.books;
    for (const SourceChapter& chapter : source.chapters) words += AddChapter(source, name, chapter, sync, entry);
    m_sections.sections[m_bookAt].wordCount = Capped(words);
    AfxAllocating([&] { m_versesIndex.books.push_back(std::move(entry)); });
    m_book.wordCount += words;
  }

  std::string BookName(const SourceBook& source, int line) {
    const std::string name = m_converter.Narrow(source.name, line);
    if (name.size() > kMaxNameLength) {
      m_converter.Fail(line, "a book name is at most " + std::to_string(kMaxNameLength) + " bytes long");
    }
    if (name.find('\\') != std::string::npos) {
      m_converter.Fail(line, "the book name " + source.name + " holds a backslash, which separates the names of a "
                             "section path");
    }
    for (const std::string& other : m_bookNames) {
      if (_mbsicmp(reinterpret_cast<const unsigned char*>(other.c_str()),
                   reinterpret_cast<const unsigned char*>(name.c_str())) == 0) {
        m_converter.Fail(line, "the book " + source.name + " differs from an earlier book only in case");
      }
    }
    AfxAllocating([&] { m_bookNames.push_back(name); });
    return name;
  }

  // Chapters and verses count back to their book's key.
  void CheckLevelCount(const SourceBook& book, int line) const {
    if (m_sections.sections.size() - m_bookAt > kMaxLevelCount) {
      m_converter.Fail(line, book.name + " has more than " + std::to_string(kMaxLevelCount) +
                                 " chapters and verses, more than an entry can count back to its book");
    }
  }

  // Adds the chapter's sections, block, index entries and sync entries; returns
  // its number of words.
  long long AddChapter(const SourceBook& book, const std::string& bookName, const SourceChapter& chapter,
                       VerseSyncBook& sync, BookEntry& entry) {
    const auto area = static_cast<std::uint32_t>(m_blocks.size());
    const size_t chapterAt = m_sections.sections.size();
    const int chapterLine = chapter.verses.front().line;
    CheckLevelCount(book, chapterLine);
    SectionEntry section;
    section.name = std::to_string(chapter.number);
    section.level = 2;
    section.syncWord = area;
    AfxAllocating([&] { m_sections.sections.push_back(section); });
    m_block = bookName + " " + section.name + "\n";
    m_line = 0;
    ChapterEntry index;
    index.number = static_cast<std::uint16_t>(chapter.number);
    index.list = std::vector<std::uint32_t>{static_cast<std::uint32_t>(chapterAt)};
    index.allVerses.emplace();
    entry.allChapters->push_back(static_cast<std::uint32_t>(chapterAt));
    long long words = 0;
    ++m_book.chapters;

    for (const SourceVerse& verse : chapter.verses) {
      const auto key = static_cast<std::uint32_t>(m_sections.sections.size());
      CheckLevelCount(book, verse.line);
      for (const std::string& title : verse.titles) AddTitleLine(book, chapter, title, verse.line);
      const size_t count = AddVerse(book, chapter, verse, key, area);
      for (int number : Numbers(verse)) {
        AfxAllocating([&] {
          sync.verses.push_back({static_cast<std::uint16_t>(chapter.number), static_cast<std::uint16_t>(number), key});
          index.verses.push_back({static_cast<std::uint16_t>(number), std::vector<std::uint32_t>{key}});
        });
        ++m_book.verseNumbers;
      }
      index.allVerses->push_back(key);
      entry.allVerses->push_back(key);
      words += static_cast<long long>(count);
    }
    for (const std::string& line : chapter.closing) AddTitleLine(book, chapter, line, chapter.verses.back().line);
    m_sections.sections[chapterAt].wordCount = Capped(words);
    AfxAllocating([&] {
      entry.chapters.push_back(std::move(index));
      m_blocks.push_back(std::move(m_block));
    });
    return words;
  }

  static std::vector<int> Numbers(const SourceVerse& verse) {
    std::vector<int> numbers{verse.number};
    numbers.insert(numbers.end(), verse.alsoNumbers.begin(), verse.alsoNumbers.end());
    return numbers;
  }

  // The next line of the chapter's block, `text` (8-bit) after `lead`.
  void AddLine(const SourceBook& book, const SourceChapter& chapter, const std::string& lead, const std::string& text,
               int line) {
    if (m_line == kMaxCount) {
      m_converter.Fail(line, book.name + " " + std::to_string(chapter.number) + " has more than 65535 lines");
    }
    ++m_line;
    AfxAllocating([&] {
      m_block += lead;
      m_block += text;
      m_block += '\n';
    });
    if (m_block.size() > kMaxAreaSize - m_blocks[0].size()) {
      m_converter.Fail(line, "the text of " + book.name + " " + std::to_string(chapter.number) +
                                 " is larger than a text area can hold (2 GiB)");
    }
  }

  void AddTitleLine(const SourceBook& book, const SourceChapter& chapter, const std::string& text, int line) {
    const std::string narrow = m_converter.NarrowLeniently(text, line, m_book.charactersLeftOut);
    if (narrow.empty()) return;
    AddLine(book, chapter, std::string(1, kTitleMark), narrow, line);
    ++m_book.titleLines;
  }

  // Adds the verse's section, line and words; returns its number of words.
  size_t AddVerse(const SourceBook& book, const SourceChapter& chapter, const SourceVerse& verse, std::uint32_t key,
                  std::uint32_t area) {
    const std::u16string text = m_converter.Wide(verse.text, verse.line);
    const size_t count = IndexWords(m_words, key, text, verse.line, m_converter);
    if (!verse.strongs.empty()) AddStrongs(verse, text, key);
    SectionEntry section;
    section.name = std::to_string(verse.number);
    section.level = 3;
    section.syncWord = area;
    AddLine(book, chapter, section.name + " ", m_converter.Narrow(text, verse.line), verse.line);
    section.syncHalf = m_line;
    section.wordCount = Capped(static_cast<long long>(count));
    AfxAllocating([&] { m_sections.sections.push_back(section); });
    ++m_book.verses;
    return count;
  }

  // The verse's Strong's numbers at the positions of the words they tag.
  void AddStrongs(const SourceVerse& verse, const std::u16string& text, std::uint32_t key) {
    const std::vector<zalang::WordSpan> words = zalang::SplitWords(text);
    std::vector<std::pair<std::u16string, std::uint16_t>> tagged;
    AfxAllocating([&] {
      for (const StrongsTag& tag : verse.strongs) {
        const std::u16string word(tag.word.begin(), tag.word.end());
        WordsWithin(words, tag.begin, tag.end, [&](std::uint16_t position) { tagged.emplace_back(word, position); });
      }
    });
    std::sort(tagged.begin(), tagged.end());
    tagged.erase(std::unique(tagged.begin(), tagged.end()), tagged.end());
    for (const auto& [word, position] : tagged) m_strongs.AddAt(key, word, position);
    m_book.strongsTags += static_cast<long long>(tagged.size());
  }

  BuiltBook Finish(const std::function<void(double done)>& progress) {
    const auto done = [&](double fraction) {
      if (progress) progress(fraction);
    };
    std::vector<IndexedWord> words = m_words.Take();
    std::vector<IndexedWord> strongs = m_strongs.Take();
    m_book.distinctWords = static_cast<int>(words.size());
    m_book.strongsNumbers = static_cast<int>(strongs.size());
    // The occurrence lists hold section keys; a coded list's range is 16-bit, and
    // larger keys still code (in longer runs).
    m_versesIndex.occurrenceRange =
        static_cast<std::uint16_t>(std::min<size_t>(m_sections.sections.size(), kMaxCount));
    const std::string copyright = !m_options.copyright.empty() ? m_options.copyright : m_source.rights;
    AddTextFiles(m_book, m_version, HeaderText(m_options, m_title, copyright, "verse", m_converter),
                 std::move(m_blocks), m_options.compress);
    done(0.7);
    m_book.files.push_back({"sections.idx", EncodeSectionsIndex(m_sections)});
    m_book.files.push_back({"concord.idx", EncodeConcordance(
                                                 std::move(words), m_converter.Language(), std::move(strongs),
                                                 static_cast<std::uint32_t>(m_sections.sections.size()), m_options,
                                                 m_version)});
    done(0.95);
    m_book.files.push_back({"verses.idx", EncodeVersesIndex(m_versesIndex)});
    m_book.files.push_back({"vsync.idx", EncodeVerseSyncIndex(VerseSync())});
    done(1);
    CheckFileSizes(m_book, m_converter);
    return std::move(m_book);
  }

  // Book numbers run from the lowest to the highest; a number no book has gets a
  // record without verses.
  VerseSyncDescription VerseSync() {
    VerseSyncDescription sync;
    sync.version = m_version;
    if (m_verseSync.empty()) return sync;
    sync.firstBook = static_cast<std::uint16_t>(m_verseSync.begin()->first);
    AfxAllocating([&] {
      sync.books.resize(static_cast<size_t>(m_verseSync.rbegin()->first - m_verseSync.begin()->first + 1));
      for (auto& [number, book] : m_verseSync) sync.books[static_cast<size_t>(number - sync.firstBook)] = std::move(book);
    });
    return sync;
  }

  const Scripture& m_source;
  const BookOptions& m_options;
  const TextConverter m_converter;
  const VersionFields m_version;
  const std::string m_title;
  BuiltBook m_book;
  SectionsDescription m_sections;
  VersesDescription m_versesIndex;
  std::map<int, VerseSyncBook> m_verseSync;  // by book number
  WordIndexBuilder m_words, m_strongs;
  std::vector<std::string> m_blocks;
  std::vector<std::string> m_bookNames;
  size_t m_bookAt = 0;      // the key of the book being added
  std::string m_block;      // the block of the chapter being added
  std::uint16_t m_line = 0;  // its last line
};

}  // namespace

BuiltBook BuildScriptureBook(const Scripture& source, const BookOptions& options, const std::string& sourceName,
                             const std::function<void(double done)>& progress) {
  return ScriptureBuilder(source, options, sourceName).Build(progress);
}

}  // namespace orva::writer
