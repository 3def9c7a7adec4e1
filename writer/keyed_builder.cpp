// Lexicons and reading plans (BuildLexiconBook, BuildPlanBook): books of entries
// found by a key, a Strong's number or a date, as writer/book_builder.h lays
// them out.
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "orvada/lang_text.h"
#include "platform/exceptions.h"
#include "writer/book_builder.h"
#include "writer/builder_support.h"
#include "writer/entry_text.h"
#include "writer/sections_writer.h"
#include "writer/sync_writer.h"

namespace orva::writer {

namespace {

using namespace build;

struct KeyedForm {
  const char* syncType;  // SYNCTYPE
  const char* syncFile;  // its sync index
  // Whether entry a comes before entry b (keys as ParseLexicon or ParsePlan give them).
  std::function<bool(const std::string& a, const std::string& b)> before;
  // The heading of the text area that holds the entry of `key`: entries with one
  // heading share an area.
  std::function<std::string(const std::string& key)> area;
};

BuiltBook BuildKeyedBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                         const std::string& sourceName, const KeyedForm& form) {
  const TextConverter converter(sourceName, options.language != 0 ? options.language : 1033);
  const VersionFields version = Version(options);
  const std::string title = options.title.empty() ? DefaultTitle(sourceName) : options.title;
  BuiltBook book;
  book.language = converter.Language();

  std::vector<const DictionaryEntry*> entries;
  for (const DictionaryEntry& entry : source) entries.push_back(&entry);
  std::stable_sort(entries.begin(), entries.end(), [&](const DictionaryEntry* a, const DictionaryEntry* b) {
    return form.before(a->headword, b->headword);
  });

  SectionsDescription sections;
  sections.version = version;
  sections.wordCounts = true;
  SyncDescription sync;
  sync.version = version;
  EntryTexts texts(converter);
  std::vector<std::string> blocks{converter.Narrow(title, 0) + "\n"};
  std::string heading;
  std::uint16_t line = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const DictionaryEntry& entry = *entries[i];
    const std::string area = form.area(entry.headword);
    if (i == 0 || area != heading) {
      heading = area;
      AfxAllocating([&] { blocks.push_back(converter.Narrow(area, entry.line) + "\n"); });
      line = 1;
    } else if (line == kMaxCount) {
      converter.Fail(entry.line, "more than 65534 entries under " + area);
    }
    const auto key = static_cast<std::uint32_t>(i);
    size_t words = 0;
    const std::string text = texts.Add(key, entry.definition, entry.line, words);
    SectionEntry section;
    section.name = entry.headword;  // ASCII: "G26", "01-05"
    section.syncWord = static_cast<std::uint32_t>(blocks.size() - 1);
    section.syncHalf = line++;
    section.wordCount = Capped(static_cast<long long>(words));
    AfxAllocating([&] {
      sections.sections.push_back(section);
      blocks.back() += entry.headword + "\t" + text + "\n";
    });
    if (blocks.back().size() > kMaxAreaSize - blocks[0].size()) {
      converter.Fail(entry.line, "the entries under " + area + " are larger than a text area can hold (2 GiB)");
    }
    book.wordCount += static_cast<long long>(words);
    sync.words.emplace_back(StoredSyncWord(cLanguageString(entry.headword.c_str())), key);
  }
  book.entries = static_cast<int>(entries.size());
  book.sections = book.entries;
  AddTextFiles(book, version, HeaderText(options, title, options.copyright, form.syncType, converter),
               std::move(blocks), options.compress);
  book.files.push_back({"sections.idx", EncodeSectionsIndex(sections)});
  AddEntryIndexes(book, texts, options, version);
  book.files.push_back({form.syncFile, EncodeSyncIndex(sync)});
  CheckFileSizes(book, converter);
  return book;
}

int NumberOf(const std::string& strongs) { return std::atoi(strongs.c_str() + 1); }

}  // namespace

BuiltBook BuildLexiconBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                           const std::string& sourceName) {
  KeyedForm form;
  form.syncType = "strongs";
  form.syncFile = "ssync.idx";
  form.before = [](const std::string& a, const std::string& b) {
    return a[0] != b[0] ? a[0] < b[0] : NumberOf(a) < NumberOf(b);
  };
  // A hundred numbers an area: "G1-G100", "G101-G200".
  form.area = [](const std::string& key) {
    const int first = (NumberOf(key) - 1) / 100 * 100 + 1;
    return key.substr(0, 1) + std::to_string(first) + "-" + key.substr(0, 1) + std::to_string(first + 99);
  };
  return BuildKeyedBook(source, options, sourceName, form);
}

BuiltBook BuildPlanBook(const std::vector<DictionaryEntry>& source, const BookOptions& options,
                        const std::string& sourceName) {
  static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
  KeyedForm form;
  form.syncType = "date";
  form.syncFile = "dsync.idx";
  form.before = [](const std::string& a, const std::string& b) { return a < b; };  // "MM-DD"
  form.area = [](const std::string& key) { return std::string(kMonths[std::atoi(key.c_str()) - 1]); };
  return BuildKeyedBook(source, options, sourceName, form);
}

}  // namespace orva::writer
