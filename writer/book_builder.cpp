#include "writer/book_builder.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "orvada/lang_text.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "writer/concord_writer.h"
#include "writer/sections_writer.h"
#include "writer/sync_writer.h"
#include "writer/text_writer.h"
#include "writer/verses_writer.h"
#include "writer/vsync_writer.h"
#include "writer/word_index.h"
#include "zalang/text_encoding.h"

namespace orva::writer {

namespace {

constexpr std::uint16_t kMaxCount = 0xFFFF;
// A name (of a section, of a sync index's word) is a signed 16-bit byte count and
// its bytes.
constexpr size_t kMaxNameLength = 0x7FFF;
// An entry counts back to the first entry of its book (or of the glossary) in a
// signed 16-bit level count.
constexpr size_t kMaxLevelCount = 0x7FFF;
// A text area (the preamble and one block) is measured in a signed 32-bit size.
constexpr size_t kMaxAreaSize = INT_MAX;

// Converts source text, turning a character fault into a SourceError at the line.
class TextConverter {
 public:
  TextConverter(const std::string& sourceName, std::uint16_t language) : m_source(sourceName), m_language(language) {}

  std::u16string Wide(const std::string& utf8, int line) const {
    try {
      return zalang::Utf8ToUtf16(utf8);
    } catch (const zalang::TextError& e) {
      throw SourceError(m_source, line, e.what());
    }
  }
  std::string Narrow(const std::u16string& text, int line) const {
    try {
      return zalang::EncodeForLanguage(text, m_language);
    } catch (const zalang::TextError& e) {
      throw SourceError(m_source, line, e.what());
    }
  }
  std::string Narrow(const std::string& utf8, int line) const { return Narrow(Wide(utf8, line), line); }
  [[noreturn]] void Fail(int line, const std::string& message) const { throw SourceError(m_source, line, message); }

 private:
  const std::string& m_source;
  std::uint16_t m_language;
};

std::string DefaultTitle(const std::string& sourceName) {
  std::string name = sourceName.substr(sourceName.find_last_of('/') + 1);
  name = name.substr(0, name.find('.'));
  return name.empty() ? "Untitled" : name;
}

VersionFields Version(const BookOptions& options) {
  VersionFields version;
  version.publisherID = options.publisherID;
  version.bookID = options.bookID;
  return version;
}

// The header text: the control words that have data, in their standard order.
std::string HeaderText(const BookOptions& options, const std::string& title, const char* syncType,
                       const TextConverter& text) {
  const std::pair<const char*, std::string> words[] = {
      {"TITLE", title},
      {"ABBREV", options.abbreviation},
      {"LANG", std::to_string(options.language)},
      {"EDITION", options.edition},
      {"COPYRIGHT", options.copyright},
      {"SYNCTYPE", syncType},
  };
  std::string header;
  for (const auto& [name, data] : words) {
    if (data.empty()) continue;
    if (data.find('}') != std::string::npos) {
      throw std::invalid_argument(std::string("the ") + name + " of a book cannot hold '}'");
    }
    header += ControlWord(name, text.Narrow(data, 0));
  }
  return header;
}

void AddTextFiles(BuiltBook& book, const VersionFields& version, const std::string& header,
                  std::vector<std::string> blocks, bool compress) {
  TextDataDescription text;
  text.version = version;
  text.headerText = header;
  text.blocks = std::move(blocks);
  text.compressed = compress;
  EncodedTextData data = EncodeTextData(text);
  ViewableDescription index;
  index.version = version;
  index.descriptors = std::move(data.descriptors);
  index.compression = compress ? 1 : 0;
  book.files.push_back({"book.dat", std::move(data.bytes)});
  book.files.push_back({"viewable.idx", EncodeViewableIndex(index)});
}

std::uint16_t Capped(long long count) { return static_cast<std::uint16_t>(std::min<long long>(count, kMaxCount)); }

// Adds the words of one verse or entry to the index; a text of more words than
// positions can number is a fault of its line.
std::vector<std::uint8_t> EncodeConcordance(std::vector<IndexedWord> indexed, const BookOptions& options,
                                            const VersionFields& version) {
  ConcordDescription concord;
  concord.version = version;
  concord.coded = options.coded;
  ConcordLanguage& language = concord.languages[0];
  language.id = options.language;
  AfxAllocating([&] {
    language.words.reserve(indexed.size());
    for (IndexedWord& word : indexed) {
      ConcordWord out;
      out.text = std::move(word.text);
      out.keys = std::move(word.keys);
      out.positions = std::move(word.positions);
      language.words.push_back(std::move(out));
    }
  });
  return EncodeConcordIndex(concord);
}

size_t IndexWords(WordIndexBuilder& words, std::uint32_t key, const std::u16string& text, int line,
                  const TextConverter& converter) {
  try {
    return words.Add(key, text);
  } catch (const std::length_error& e) {
    converter.Fail(line, e.what());
  }
}

// Every file's offsets are 32-bit: a book whose files would grow past them is
// refused as a whole.
void CheckFileSizes(const BuiltBook& book, const TextConverter& converter) {
  for (const BookFile& file : book.files) {
    if (file.bytes.size() > 0xFFFFFFFFu) {
      converter.Fail(0, "the book's " + file.name + " would be larger than the 4 GiB its offsets reach");
    }
  }
}

}  // namespace

BuiltBook BuildScriptureBook(const Scripture& source, const BookOptions& options, const std::string& sourceName) {
  const TextConverter converter(sourceName, options.language);
  const VersionFields version = Version(options);
  const std::string title = options.title.empty() ? DefaultTitle(sourceName) : options.title;
  BuiltBook book;

  SectionsDescription sections;
  sections.version = version;
  sections.wordCounts = true;
  sections.shareNames = true;  // chapters and verses are named by numbers
  VerseSyncDescription verseSync;
  verseSync.version = version;
  verseSync.firstBook = 1;
  WordIndexBuilder words;
  std::vector<std::string> blocks{converter.Narrow(title, 0) + "\n"};
  std::vector<std::string> bookNames;
  VersesDescription versesIndex;
  versesIndex.version = version;
  versesIndex.coded = options.coded;

  if (source.books.size() > kMaxCount) converter.Fail(0, "more than 65535 books");
  for (const SourceBook& sourceBook : source.books) {
    const int firstLine = sourceBook.chapters.front().verses.front().line;
    const std::string name = converter.Narrow(sourceBook.name, firstLine);
    if (name.size() > kMaxNameLength) {
      converter.Fail(firstLine, "a book name is at most " + std::to_string(kMaxNameLength) + " bytes long");
    }
    if (name.find('\\') != std::string::npos) {
      converter.Fail(firstLine, "the book name " + sourceBook.name + " holds a backslash, which separates the "
                                "names of a section path");
    }
    for (const std::string& other : bookNames) {
      if (_mbsicmp(reinterpret_cast<const unsigned char*>(other.c_str()),
                   reinterpret_cast<const unsigned char*>(name.c_str())) == 0) {
        converter.Fail(firstLine, "the book " + sourceBook.name + " differs from an earlier book only in case");
      }
    }
    bookNames.push_back(name);
    const size_t bookAt = sections.sections.size();
    sections.sections.push_back({});
    sections.sections[bookAt].name = name;
    sections.sections[bookAt].level = 1;
    sections.sections[bookAt].syncWord = static_cast<std::uint32_t>(blocks.size());
    verseSync.books.emplace_back();
    BookEntry bookEntry;
    bookEntry.number = static_cast<std::uint16_t>(book.books + 1);
    bookEntry.list = std::vector<std::uint32_t>{static_cast<std::uint32_t>(bookAt)};
    bookEntry.allChapters.emplace();
    bookEntry.allVerses.emplace();
    long long bookWords = 0;
    ++book.books;

    // Chapters and verses count back to their book's key.
    const auto checkLevelCount = [&](int line) {
      if (sections.sections.size() - bookAt > kMaxLevelCount) {
        converter.Fail(line, sourceBook.name + " has more than " + std::to_string(kMaxLevelCount) +
                                 " chapters and verses, more than an entry can count back to its book");
      }
    };
    for (const SourceChapter& chapter : sourceBook.chapters) {
      const auto area = static_cast<std::uint32_t>(blocks.size());
      const size_t chapterAt = sections.sections.size();
      checkLevelCount(chapter.verses.front().line);
      SectionEntry chapterEntry;
      chapterEntry.name = std::to_string(chapter.number);
      chapterEntry.level = 2;
      chapterEntry.syncWord = area;
      sections.sections.push_back(chapterEntry);
      std::string block = name + " " + chapterEntry.name + "\n";
      ChapterEntry chapterIndex;
      chapterIndex.number = static_cast<std::uint16_t>(chapter.number);
      chapterIndex.list = std::vector<std::uint32_t>{static_cast<std::uint32_t>(chapterAt)};
      chapterIndex.allVerses.emplace();
      bookEntry.allChapters->push_back(static_cast<std::uint32_t>(chapterAt));
      long long chapterWords = 0;
      std::uint16_t line = 1;
      ++book.chapters;

      for (const SourceVerse& verse : chapter.verses) {
        const auto key = static_cast<std::uint32_t>(sections.sections.size());
        checkLevelCount(verse.line);
        const std::u16string text = converter.Wide(verse.text, verse.line);
        const size_t count = IndexWords(words, key, text, verse.line, converter);
        SectionEntry verseEntry;
        verseEntry.name = std::to_string(verse.number);
        verseEntry.level = 3;
        verseEntry.syncWord = area;
        verseEntry.syncHalf = line++;
        verseEntry.wordCount = Capped(static_cast<long long>(count));
        sections.sections.push_back(verseEntry);
        AfxAllocating([&] { block += verseEntry.name + " " + converter.Narrow(text, verse.line) + "\n"; });
        if (block.size() > kMaxAreaSize - blocks[0].size()) {
          converter.Fail(verse.line, "the text of " + sourceBook.name + " " + chapterEntry.name +
                                         " is larger than a text area can hold (2 GiB)");
        }
        verseSync.books.back().verses.push_back(
            {static_cast<std::uint16_t>(chapter.number), static_cast<std::uint16_t>(verse.number), key});
        chapterIndex.allVerses->push_back(key);
        bookEntry.allVerses->push_back(key);
        chapterIndex.verses.push_back({static_cast<std::uint16_t>(verse.number), std::vector<std::uint32_t>{key}});
        chapterWords += static_cast<long long>(count);
        ++book.verses;
      }
      sections.sections[chapterAt].wordCount = Capped(chapterWords);
      bookEntry.chapters.push_back(std::move(chapterIndex));
      bookWords += chapterWords;
      AfxAllocating([&] { blocks.push_back(std::move(block)); });
    }
    sections.sections[bookAt].wordCount = Capped(bookWords);
    versesIndex.books.push_back(std::move(bookEntry));
    book.wordCount += bookWords;
  }
  book.sections = static_cast<int>(sections.sections.size());

  std::vector<IndexedWord> indexed = words.Take();
  book.distinctWords = static_cast<int>(indexed.size());
  // The occurrence lists hold section keys; a coded list's range is 16-bit, and
  // larger keys still code (in longer runs).
  versesIndex.occurrenceRange = static_cast<std::uint16_t>(std::min<size_t>(sections.sections.size(), kMaxCount));
  AddTextFiles(book, version, HeaderText(options, title, "verse", converter), std::move(blocks), options.compress);
  book.files.push_back({"sections.idx", EncodeSectionsIndex(sections)});
  book.files.push_back({"concord.idx", EncodeConcordance(std::move(indexed), options, version)});
  book.files.push_back({"verses.idx", EncodeVersesIndex(versesIndex)});
  book.files.push_back({"vsync.idx", EncodeVerseSyncIndex(verseSync)});
  CheckFileSizes(book, converter);
  return book;
}

BuiltBook BuildGlossaryBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                            const std::string& sourceName) {
  const TextConverter converter(sourceName, options.language);
  const VersionFields version = Version(options);
  const std::string title = options.title.empty() ? DefaultTitle(sourceName) : options.title;
  BuiltBook book;

  struct Entry {
    std::string headword;  // 8-bit
    std::u16string wideHeadword, line;
    const DictionaryEntry* source;
  };
  std::vector<Entry> entries;
  for (const DictionaryEntry& entry : source) {
    std::u16string headword = converter.Wide(entry.headword, entry.line);
    std::u16string line = headword + u"\t" + converter.Wide(entry.definition, entry.line);
    entries.push_back({converter.Narrow(headword, entry.line), std::move(headword), std::move(line), &entry});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a.headword.c_str()),
                    reinterpret_cast<const unsigned char*>(b.headword.c_str())) < 0;
  });

  // An entry's letter: its first byte, a-z folded to A-Z (the sync order folds
  // them too, so each letter's entries stand together).
  const auto initialOf = [](const Entry& entry) {
    const char c = entry.headword[0];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  };
  size_t letters = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i == 0 || initialOf(entries[i]) != initialOf(entries[i - 1])) ++letters;
  }

  SectionsDescription sections;
  sections.version = version;
  sections.wordCounts = true;
  SyncDescription sync;
  sync.version = version;
  WordIndexBuilder words;
  std::vector<std::string> blocks{converter.Narrow(title, 0) + "\n"};
  std::vector<long long> letterWords;
  std::uint16_t line = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = entries[i];
    const int sourceLine = entry.source->line;
    if (i == 0 || initialOf(entry) != initialOf(entries[i - 1])) {
      SectionEntry section;
      section.name = std::string(1, initialOf(entry));
      section.syncWord = static_cast<std::uint32_t>(blocks.size());
      sections.sections.push_back(section);
      blocks.push_back(section.name + "\n");
      letterWords.push_back(0);
      line = 1;
    } else if (line == kMaxCount) {
      converter.Fail(sourceLine, "more than 65534 headwords begin with " + sections.sections.back().name);
    }
    if (i > kMaxLevelCount) {
      converter.Fail(sourceLine, "more than " + std::to_string(kMaxLevelCount + 1) +
                                     " entries, more than an entry can count back to the first");
    }
    const auto key = static_cast<std::uint32_t>(letters + i);
    letterWords.back() += static_cast<long long>(IndexWords(words, key, entry.line, sourceLine, converter));
    SectionEntry glossary;
    glossary.name = entry.headword;
    glossary.syncWord = static_cast<std::uint32_t>(blocks.size() - 1);
    glossary.syncHalf = line++;
    sections.glossary.push_back(glossary);
    AfxAllocating([&] { blocks.back() += converter.Narrow(entry.line, sourceLine) + "\n"; });
    if (blocks.back().size() > kMaxAreaSize - blocks[0].size()) {
      converter.Fail(sourceLine, "the entries under " + sections.sections.back().name +
                                     " are larger than a text area can hold (2 GiB)");
    }
    const cLanguageString headword(reinterpret_cast<const unsigned short*>(entry.wideHeadword.c_str()),
                                   options.language);
    // The stored word holds the section name's bytes, and a language tag where the
    // language is not the default one.
    std::string stored = StoredSyncWord(headword);
    if (stored.size() > kMaxNameLength) {
      converter.Fail(sourceLine, "a headword is at most " + std::to_string(kMaxNameLength) + " bytes long");
    }
    sync.words.emplace_back(std::move(stored), key);
  }
  for (size_t i = 0; i < letterWords.size(); ++i) {
    sections.sections[i].wordCount = Capped(letterWords[i]);
    book.wordCount += letterWords[i];
  }
  book.entries = static_cast<int>(entries.size());
  book.sections = static_cast<int>(sections.sections.size());

  std::vector<IndexedWord> indexed = words.Take();
  book.distinctWords = static_cast<int>(indexed.size());
  AddTextFiles(book, version, HeaderText(options, title, "word", converter), std::move(blocks), options.compress);
  book.files.push_back({"sections.idx", EncodeSectionsIndex(sections)});
  book.files.push_back({"concord.idx", EncodeConcordance(std::move(indexed), options, version)});
  book.files.push_back({"wsync.idx", EncodeSyncIndex(sync)});
  CheckFileSizes(book, converter);
  return book;
}

}  // namespace orva::writer
