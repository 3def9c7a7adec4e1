#include "query/book.h"

#include <sys/stat.h>

#include <cstdlib>
#include <utility>

#include "book/book_folder.h"
#include "query/book_list.h"
#include "zalang/text_encoding.h"
#include "zalang/words.h"

namespace orva::query {

namespace {

constexpr DWORD kText = ORVA_TEXT | ORVA_VIEWABLE;
constexpr DWORD kFileBits[] = {ORVA_TEXT,  ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                               ORVA_WSYNC, ORVA_VSYNC,    ORVA_SSYNC,    ORVA_DSYNC};

std::string WithoutSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string Utf8(const std::string& narrow, unsigned short language) {
  return ToUtf8(narrow.data(), narrow.size(), language);
}

// The folder's own name: the last of `folder` ("kjv" of "build/library/kjv"),
// that of its canonical path for "." and "..".
std::string OwnName(const std::string& folder) {
  std::string name = folder.substr(folder.rfind('/') + 1);
  if (name != "." && name != ".." && !name.empty()) return name;
  const std::unique_ptr<char, decltype(&std::free)> path(::realpath(folder.c_str(), nullptr), std::free);
  name = path ? std::string(path.get()) : folder;
  return name.substr(name.rfind('/') + 1);
}

// A name of decimal digits (1 to 65535), 0 for any other.
int Number(const std::string& name) {
  if (name.empty() || name.size() > 5 || name.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int number = std::atoi(name.c_str());
  return number <= 0xFFFF ? number : 0;
}

}  // namespace

const char* BookKindName(BookKind kind) {
  switch (kind) {
    case BookKind::kBible: return "Bible";
    case BookKind::kLexicon: return "lexicon";
    case BookKind::kTopicalIndex: return "topical index";
    case BookKind::kGlossary: return "glossary";
    case BookKind::kPlan: return "reading plan";
    case BookKind::kOther: break;
  }
  return "book";
}

std::string LanguageName(std::uint16_t language) {
  const cLanguageDatum* datum = OrvaToILI::Instance().OrvaLangIdToLanguageDatum(language);
  if (!datum) return std::to_string(language);
  std::string name;
  for (const unsigned short* c = datum->GetName(); *c != 0; ++c) name += static_cast<char>(*c);
  return name;
}

Book::Book(const std::string& folder) : m_folder(WithoutSlash(folder)) {
  m_identity = ReadBookIdentity(m_folder);
  m_name = OwnName(m_folder);
  // The folder's device and inode numbers, which no two folders share, tell its
  // store apart from those of other books with the same ids.
  struct stat folderInfo {};
  ::stat(m_folder.c_str(), &folderInfo);
  const std::string edition = "folder " + std::to_string(folderInfo.st_dev) + ":" + std::to_string(folderInfo.st_ino);
  const std::string prefix = m_folder + '/';
  const std::string& sync = m_identity.syncType;
  m_kind = sync == "verse"     ? BookKind::kBible
           : sync == "strongs" ? BookKind::kLexicon
           : sync == "date"    ? BookKind::kPlan
           : sync == "word"    ? (Has(ORVA_VERSES) ? BookKind::kTopicalIndex : BookKind::kGlossary)
                               : BookKind::kOther;
  orva::PointBookAt(m_book, prefix, m_identity.publisherID, m_identity.bookID, sync.c_str());
  m_book.SetEdition(edition.c_str());
}

Book::~Book() {
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  try {
    m_book.Close(ORVA_ALL_OPEN);
  } catch (CException* e) {
    e->Delete();
  }
}

bool Book::Has(DWORD part) {
  if (!(m_looked & part)) {  // a file looked for once
    struct stat info {};
    const std::string path = m_folder + '/' + FileNameOfBit(part);
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) m_parts |= part;
    m_looked |= part;
  }
  return (m_parts & part) != 0;
}

std::uint16_t Book::TextLanguage() {
  if (!m_textLanguage) {
    if (Has(ORVA_TEXT)) Open(kText);
    m_textLanguage = Has(ORVA_TEXT) ? BookLanguage(m_book) : std::uint16_t{1033};
  }
  return *m_textLanguage;
}

BookNames& Book::Names() {
  if (!m_names) {
    const std::uint16_t language = TextLanguage();
    Open(ORVA_SECTIONS);
    m_names = std::make_unique<BookNames>(m_book, language);
  }
  return *m_names;
}

std::uint16_t Book::WordsLanguage() {
  Open(ORVA_CONCORD);
  return ConcordanceLanguage(m_book);
}

bool Book::HasStrongsNumbers() {
  if (!Has(ORVA_CONCORD)) return false;
  Open(ORVA_CONCORD);
  return HasStrongs(m_book);
}

void Book::NeedStrongs() {
  if (!HasStrongsNumbers()) {
    throw BookError(m_folder + ": the book has no Strong's numbers (its source tagged no words with them)");
  }
}

BookInfo Book::Info() {
  return Locked([&] { return InfoUnlocked(); });
}

BookInfo Book::InfoUnlocked() {
  if (m_info) return *m_info;
  BookInfo info;
  info.folder = m_folder;
  info.name = m_name;
  info.identity = m_identity;
  info.kind = m_kind;
  info.language = TextLanguage();
  info.languages.push_back(info.language);
  if (Has(ORVA_TEXT)) {
    const auto word = [&](const char* name) {
      return Utf8(static_cast<const char*>(m_book.GetHeaderControlWordData(name)), info.language);
    };
    info.title = word("TITLE");
    info.abbreviation = word("ABBREV");
    info.edition = word("EDITION");
    info.copyright = word("COPYRIGHT");
  }
  if (Has(ORVA_CONCORD)) {
    Open(ORVA_CONCORD);
    CArray<unsigned short, unsigned short&> languages;
    if (m_book.ListLanguages(languages) == 0) {
      for (int i = 0; i < languages.GetSize(); ++i) {
        const std::uint16_t language = languages[i];
        if (language == zalang::kStrongsLanguage) info.strongs = true;
        else if (language != info.language) info.languages.push_back(language);
      }
    }
  }
  for (DWORD bit : kFileBits) {
    struct stat file {};
    if (::stat((m_folder + '/' + FileNameOfBit(bit)).c_str(), &file) == 0 && S_ISREG(file.st_mode)) {
      info.bytes += static_cast<std::uint64_t>(file.st_size);
    }
  }
  m_info = info;
  return info;
}

Toc Book::Contents(const std::string& path) {
  return Locked([&] { return ContentsUnlocked(path); });
}

Toc Book::ContentsUnlocked(const std::string& path) {
  Open(ORVA_SECTIONS);
  // The top level's names are read as English: no need to open the text for them.
  const unsigned short language = path.empty() ? 1033 : TextLanguage();
  int first = m_book.GetLastSectionKey() >= 0 ? 0 : -1;
  Toc toc;
  if (!path.empty()) {
    const int key = ResolveReference(Names(), path);
    cSectionsData section;
    if (m_book.GetSection(key, section) != 0) {
      throw BookError(path + " is a glossary entry, with no sections below it");
    }
    first = section.GetChildKey();
    toc.section = Utf8(ReferenceOfKey(m_book, key), language);
    toc.path = Utf8(static_cast<const char*>(m_book.GetFormattedPathFromKey(key, "\\")), language);
  }
  cSectionsData section;
  const int last = m_book.GetLastSectionKey();
  for (int key = first, count = 0; key >= 0 && count <= last && m_book.GetSection(key, section) == 0;
       key = section.GetNextKey(), ++count) {
    const int below = section.GetChildKey() >= 0 ? m_book.GetSiblingSectionCount(section.GetChildKey()) : 0;
    toc.entries.push_back({Utf8(static_cast<const char*>(section.GetName()), language), key, below});
  }
  return toc;
}

std::map<int, std::string> Book::Headings(const std::vector<Passage>& passages) {
  std::map<int, std::string> headings;
  for (const Passage& passage : passages) {
    if (passage.name.empty() || passage.parentKey < 0 || headings.count(passage.parentKey)) continue;
    headings[passage.parentKey] = Utf8(ReferenceOfKey(m_book, passage.parentKey), TextLanguage());
  }
  return headings;
}

Reading Book::Read(const std::string& reference, bool strongs, std::size_t most) {
  return Locked([&] { return ReadUnlocked(reference, strongs, most); });
}

Reading Book::ReadUnlocked(const std::string& reference, bool strongs, std::size_t most) {
  Open(ORVA_SECTIONS | kText);
  if (strongs) NeedStrongs();
  const unsigned short language = TextLanguage();
  Reading reading;
  reading.query = reference;
  std::size_t left = most;
  const DWORD syncFlag = m_book.GetSyncTypeFlag();
  const bool keyed = syncFlag != 0 && syncFlag != ORVA_VSYNC;
  std::vector<ReferenceSpan> spans;
  try {
    spans = ResolveReferences(Names(), reference);
  } catch (const BookError&) {
    // A book of entries is read by the keys of its index too ("G25", "12-25");
    // a path stays a path.
    if (!keyed || reference.find('\\') != std::string::npos) throw;
    const Entry entry = SyncUnlocked(reference);
    if (!entry.inBook) throw;
    spans.push_back({entry.key, entry.key, entry.reference});
  }
  for (const ReferenceSpan& span : spans) {
    if (most > 0 && left == 0) throw BookError("\"" + reference + "\" names more than " + std::to_string(most) + " verses");
    Reading::Run run{span, {}, false};
    try {
      run.passages = ReadPassages(m_book, span.first, span.last, language, left);
    } catch (const TooManyPassages&) {
      throw BookError("\"" + reference + "\" names more than " + std::to_string(most) + " verses");
    }
    left -= most > 0 ? run.passages.size() : 0;
    if (keyed) {  // an entry as a reader shows it: its references as their text
      for (Passage& passage : run.passages) passage.text = ShownText(passage.text);
    }
    run.fromVerse = !run.passages.empty() && run.passages.front().key == span.first && !run.passages.front().name.empty();
    if (!run.fromVerse) {
      for (auto& heading : Headings(run.passages)) reading.headings.insert(std::move(heading));
    }
    reading.runs.push_back(std::move(run));
  }
  if (strongs) {  // the numbers of every verse asked for, in one walk over the numbers
    std::vector<int> keys;
    for (const Reading::Run& run : reading.runs) {
      for (const Passage& passage : run.passages) keys.push_back(passage.key);
    }
    const std::map<int, std::vector<TaggedWord>> tags = TaggedWords(m_book, keys);
    for (const Reading::Run& run : reading.runs) {
      for (const Passage& passage : run.passages) {
        if (passage.name.empty()) continue;
        const auto found = tags.find(passage.key);
        reading.words[passage.key] =
            NumberWords(passage.text, found == tags.end() ? std::vector<TaggedWord>() : found->second);
      }
    }
  }
  return reading;
}

Entry Book::EntryOf(int key, const std::string& asked) {
  Entry entry;
  entry.query = asked;
  entry.key = key;
  if (!m_book.IsValidKey(key)) {
    entry.inBook = false;
    return entry;
  }
  const unsigned short language = TextLanguage();
  entry.path = Utf8(static_cast<const char*>(m_book.GetPathFromKey(key)), language);
  entry.passages = ReadPassages(m_book, key, language);
  if (m_book.GetSyncTypeFlag() == ORVA_VSYNC) {
    entry.reference = Utf8(ReferenceOfKey(m_book, key), language);
    if (entry.passages.size() != 1 || entry.passages[0].name.empty()) entry.headings = Headings(entry.passages);
    return entry;
  }
  if (entry.passages.size() != 1) {
    throw BookError("the entry of key " + std::to_string(key) + " is no line of its area");
  }
  entry.keyed = true;
  entry.reference = entry.passages[0].name;
  entry.shown = ShowEntryText(entry.passages[0].text);
  return entry;
}

Entry Book::Verse(const std::string& numbers) {
  return Locked([&] { return VerseUnlocked(numbers); });
}

Entry Book::VerseUnlocked(const std::string& numbers) {
  if (m_book.GetSyncTypeFlag() != ORVA_VSYNC) throw BookError(m_folder + ": not a book with a verse sync index");
  Open(ORVA_VSYNC | ORVA_SECTIONS | kText);
  const int key = m_book.GetVSyncKey(numbers.c_str());
  if (key < 0) throw BookError("no verse " + numbers + " in this book (book,chapter,verse)");
  return EntryOf(key, numbers);
}

Entry Book::Sync(const std::string& key) {
  return Locked([&] { return SyncUnlocked(key); });
}

Entry Book::SyncUnlocked(const std::string& key) {
  const DWORD flag = m_book.GetSyncTypeFlag();
  if (flag == 0) throw BookError(m_folder + ": the book has no sync index");
  Open(flag | ORVA_SECTIONS | kText);
  const unsigned short language = TextLanguage();
  const std::string type = m_identity.syncType;
  const std::string stored = SyncKeyOf(type, key);
  if (stored.empty()) {
    const char* form = type == "date"      ? "date: MM-DD, or today"
                       : type == "strongs" ? "Strong's number: G or H and a number, G25"
                       : type == "verse"   ? "verse: book,chapter,verse, 43,3,16"
                                           : "headword or topic";
    throw BookError("\"" + key + "\" is no " + form);
  }
  int found;
  if (flag == ORVA_VSYNC) {
    found = m_book.GetVSyncKey(key.c_str());
  } else {
    std::u16string wide;
    try {
      wide = zalang::Utf8ToUtf16(stored);
    } catch (const zalang::TextError& e) {
      throw BookError("\"" + key + "\": " + e.what());
    }
    const CString packaged =
        LangToPackagedString(cLanguageString(reinterpret_cast<const unsigned short*>(wide.c_str()), language));
    found = flag == ORVA_WSYNC   ? m_book.GetWSyncKey(packaged)
            : flag == ORVA_SSYNC ? m_book.GetSSyncKey(packaged)
                                 : m_book.GetDSyncKey(packaged);
    if (found < 0 && flag != ORVA_DSYNC) {
      CString nearest;
      if (flag == ORVA_WSYNC) m_book.GetWSyncKeyPartialMatch(packaged, nearest);
      else m_book.GetSSyncKeyPartialMatch(packaged, nearest);
      if (!nearest.IsEmpty()) {
        throw BookError("\"" + stored + "\" is not in the " + type + " index; the nearest word after it is \"" +
                        ToUtf8(TaggedStringToLang(nearest)) + "\"");
      }
    }
  }
  if (found < 0) throw BookError("\"" + stored + "\" is not in the " + type + " index");
  return EntryOf(found, key);
}

std::vector<Passage> Book::ReadVerseKey(const std::string& verseKey) {
  return Locked([&] { return ReadVerseKeyUnlocked(verseKey); });
}

std::vector<Passage> Book::ReadVerseKeyUnlocked(const std::string& verseKey) {
  if (m_book.GetSyncTypeFlag() != ORVA_VSYNC) throw BookError(m_folder + ": not a book with a verse sync index");
  VersePlace first, last;
  if (!ParseVerseKey(verseKey, first, last)) throw BookError("\"" + verseKey + "\" is no verse key");
  Open(ORVA_VSYNC | ORVA_SECTIONS | kText);
  // The first verse of a place; a whole chapter or book ends at its section.
  const auto keyOf = [&](const VersePlace& place, bool whole) {
    const std::string numbers = std::to_string(place.book) + "," + std::to_string(std::max(place.chapter, 1)) + "," +
                                std::to_string(std::max(place.verse, 1));
    int key = m_book.GetVSyncKey(numbers.c_str());
    if (key < 0) throw BookError("no verse " + numbers + " in this book (book,chapter,verse)");
    for (int up = whole ? (place.chapter == 0 ? 2 : place.verse == 0 ? 1 : 0) : 0; up > 0; --up) {
      cSectionsData section;
      if (m_book.GetSection(key, section) != 0 || section.GetParentKey() < 0) {
        throw BookError("\"" + verseKey + "\" names no place of this book");
      }
      key = section.GetParentKey();
    }
    return key;
  };
  return ReadPassages(m_book, keyOf(first, false), keyOf(last, true), TextLanguage());
}

std::optional<VersePlace> Book::PlaceOf(int key) {
  return Locked([&] { return PlaceOfUnlocked(key); });
}

std::optional<VersePlace> Book::PlaceOfUnlocked(int key) {
  if (!Has(ORVA_VERSES) || m_kind != BookKind::kBible) return std::nullopt;
  Open(ORVA_SECTIONS | ORVA_VERSES);
  if (m_bookNumbers.empty()) {  // each book's number, as the verses index lists them
    const int books = static_cast<int>(Names().Size());
    CUIntArray keys;
    for (int number = 1; number < kFirstUnlistedBook + books; ++number) {
      if (number > kListedBooks && number < kFirstUnlistedBook) number = kFirstUnlistedBook;
      if (m_book.GetBookOccurrences(static_cast<unsigned short>(number), keys) == 1) {
        m_bookNumbers.emplace(static_cast<int>(keys[0]), number);
      }
    }
  }
  cSectionsData verse, chapter;
  if (m_book.GetSection(key, verse) != 0 || verse.GetChildKey() != -1 ||
      m_book.GetSection(verse.GetParentKey(), chapter) != 0) {
    return std::nullopt;
  }
  const auto book = m_bookNumbers.find(chapter.GetParentKey());
  VersePlace place{book == m_bookNumbers.end() ? 0 : book->second, Number(static_cast<const char*>(chapter.GetName())),
                   Number(static_cast<const char*>(verse.GetName()))};
  if (place.book == 0 || place.chapter == 0 || place.verse == 0) return std::nullopt;
  return place;
}

std::vector<WordEntry> Book::Words(const std::string& prefix, int limit) {
  return Locked([&] { return WordsUnlocked(prefix, limit); });
}

std::vector<WordEntry> Book::WordsUnlocked(const std::string& prefix, int limit) {
  const unsigned short language = WordsLanguage();
  return ListWords(m_book, prefix, language, limit);
}

std::vector<Translation> Book::Translations(const std::string& number) {
  return Locked([&] { return TranslationsUnlocked(number); });
}

std::vector<Translation> Book::TranslationsUnlocked(const std::string& number) {
  Open(ORVA_SECTIONS | kText);
  NeedStrongs();
  return query::Translations(m_book, number, TextLanguage());
}

BookCheck Book::Check() {
  return Locked([&] { return CheckBookFolder(m_folder); });
}

}  // namespace orva::query
