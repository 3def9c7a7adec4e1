// The glossary book (BuildGlossaryBook); scripture books are built in
// writer/scripture_builder.cpp.
#include "writer/book_builder.h"

#include <algorithm>

#include "orvada/lang_text.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "writer/builder_support.h"
#include "writer/entry_text.h"
#include "writer/sections_writer.h"
#include "writer/sync_writer.h"

namespace orva::writer {

using namespace build;

BuiltBook BuildGlossaryBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                            const std::string& sourceName) {
  const TextConverter converter(sourceName, options.language != 0 ? options.language : 1033);
  const VersionFields version = Version(options);
  const std::string title = options.title.empty() ? DefaultTitle(sourceName) : options.title;
  BuiltBook book;
  book.language = converter.Language();

  struct Entry {
    std::string headword;  // 8-bit
    std::u16string wideHeadword;
    const DictionaryEntry* source;
  };
  std::vector<Entry> entries;
  for (const DictionaryEntry& entry : source) {
    std::u16string headword = converter.Wide(entry.headword, entry.line);
    entries.push_back({converter.Narrow(headword, entry.line), std::move(headword), &entry});
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
  EntryTexts texts(converter);
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
    size_t words = 0;
    const std::string text = texts.Add(key, entry.source->headword + "\t" + entry.source->definition, sourceLine, words);
    letterWords.back() += static_cast<long long>(words);
    SectionEntry glossary;
    glossary.name = entry.headword;
    glossary.syncWord = static_cast<std::uint32_t>(blocks.size() - 1);
    glossary.syncHalf = line++;
    sections.glossary.push_back(glossary);
    AfxAllocating([&] { blocks.back() += text + "\n"; });
    if (blocks.back().size() > kMaxAreaSize - blocks[0].size()) {
      converter.Fail(sourceLine, "the entries under " + sections.sections.back().name +
                                     " are larger than a text area can hold (2 GiB)");
    }
    const cLanguageString headword(reinterpret_cast<const unsigned short*>(entry.wideHeadword.c_str()),
                                   converter.Language());
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
  AddTextFiles(book, version, HeaderText(options, title, options.copyright, "word", converter), std::move(blocks),
               options.compress);
  book.files.push_back({"sections.idx", EncodeSectionsIndex(sections)});
  AddEntryIndexes(book, texts, options, version);
  book.files.push_back({"wsync.idx", EncodeSyncIndex(sync)});
  CheckFileSizes(book, converter);
  return book;
}

}  // namespace orva::writer
