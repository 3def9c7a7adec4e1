// A book folder opened once, for hosts: what the book is, and the questions the
// orva program asks of it (its sections, text, searches, sync look-ups, Strong's
// numbers), each answered as plain data in UTF-8.
//
// Threads. Every question a Book answers (each public member, also the pages of a
// BookSearch and the destructor) holds orva::query::LibraryMutex()
// (query/library_lock.h) for its whole length, so a host may ask from several
// threads at once (the Python module with its lock released, a web server); the
// questions run one at a time. Constructing a Book touches nothing shared and
// takes no lock. A thread that already holds the mutex must not ask a Book
// anything (the mutex is not recursive).
//
// Errors. A question raises BookError: with the library's message when the book
// lacks what it needs ("the book has no Strong's numbers ...", a reference that
// names nothing, a key not in the index), and BookDamaged ("FOLDER: the book is
// damaged: MESSAGE") when a file turns out damaged while it is read or will not
// open (OpenParts); the library's file exceptions never leave a Book.
//
// Shared stores. The library shares the open files of a book among all book
// objects of a process with the same publisher id, book id and edition, and books
// built with the default ids all have 0 and 0. A Book therefore sets the edition of
// its book object to the device and inode numbers of its folder ("folder 2049:1234";
// the edition is part of that key and is not checked against the files), which
// no two folders share, so that two books never share files, whatever their ids
// (and two Books of one folder do, whatever path names it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvada.h"
#include "query/book_access.h"
#include "query/book_names.h"
#include "query/check.h"
#include "query/entry_text.h"
#include "query/library_lock.h"
#include "query/passage.h"
#include "query/reference.h"
#include "query/search.h"
#include "query/strongs.h"

namespace orva::query {

// What a book is, decided from its sync index: a Bible (verse), a lexicon
// (strongs), a reading plan (date); a book with a word sync index is a topical
// index when it has a verses index (its entries refer to verses: the reverse
// lists), a glossary otherwise; a book without a sync index is another book.
enum class BookKind { kBible, kLexicon, kTopicalIndex, kGlossary, kPlan, kOther };

// "Bible", "lexicon", "topical index", "glossary", "reading plan", "book".
const char* BookKindName(BookKind kind);

// A language id's name in the language library ("English", "Greek"), or the number
// in decimal for one it does not know.
std::string LanguageName(std::uint16_t language);

// What a book is, as its files say.
struct BookInfo {
  std::string folder;  // as given, without a trailing '/'
  std::string name;    // the folder's own name: "kjv"
  BookIdentity identity;
  BookKind kind = BookKind::kOther;
  // Control words of the header (UTF-8), empty when the book has none.
  std::string title, abbreviation, edition, copyright;
  std::uint16_t language = 1033;  // of its text (LANG)
  // The languages of its text: `language` first, then the other languages of its
  // concordance in its order (the Strong's numbers' language 512 is not one).
  std::vector<std::uint16_t> languages;
  bool strongs = false;     // its concordance has Strong's numbers
  std::uint64_t bytes = 0;  // of its files
};

struct TocEntry {
  std::string name;  // UTF-8
  int key = -1;
  int below = 0;  // sections right below it
};

// The top-level sections, or those right below a section.
struct Toc {
  std::string section;  // the section's reference; empty for the top
  // Its path of names, UTF-8 ("Genesis\1"), which Contents and Read take too: an
  // entry's path is this, a backslash and its name (its name alone at the top).
  std::string path;
  std::vector<TocEntry> entries;
};

// The answer to Read.
struct Reading {
  struct Run {
    ReferenceSpan span;
    std::vector<Passage> passages;
    // The run begins at a verse (or entry): its passages are read each with its
    // reference; otherwise they are whole chapters, under headings.
    bool fromVerse = false;
  };
  std::string query;
  std::vector<Run> runs;
  // The reference of each passage's parent, by its key ("Psalms 117"): the
  // headings of whole chapters.
  std::map<int, std::string> headings;
  // Read with Strong's numbers: the words of each verse with the numbers that tag
  // them, by the verse's key.
  std::map<int, std::vector<NumberedWord>> words;
};

// The answer to a sync or verse look-up.
struct Entry {
  std::string query;  // as asked
  int key = -1;       // what the index gave
  // False when the index gives a key that names no section of the book; only
  // `key` is then set.
  bool inBook = true;
  std::string path;       // UTF-8, "\John\3\16"
  std::string reference;  // "John 3:16"; an entry's name ("G26", "FAITH")
  std::vector<Passage> passages;
  std::map<int, std::string> headings;  // as Reading's
  // An entry of a glossary, topical index, lexicon or plan (not a verse): its text
  // as a reader shows it, paragraphs and references.
  bool keyed = false;
  ShownEntry shown;
};

class Book;

// A search in a book (Book::Find): its terms, its exact count, and pages of hits
// read when asked for. It reads the book when a page is asked for: the Book must
// outlive it.
class BookSearch {
 public:
  // Terms, the words they stood for, the count and the keys (query/search.h).
  // Read its hits through Hits below, which holds the lock (SearchResult::Hits
  // does not).
  const SearchResult& Result() const { return m_result; }
  std::size_t Count() const { return m_result.Count(); }
  // The search named Strong's numbers: pages carry the words of their verses.
  bool WithWords() const { return m_withWords; }

  struct Page {
    SearchPage hits;  // keys and positions
    // The reference of hit `hit`, UTF-8: "Genesis 1:3".
    std::string_view Reference(std::size_t hit) const {
      const std::size_t begin = hit == 0 ? 0 : referenceEnds[hit - 1];
      return std::string_view(references).substr(begin, referenceEnds[hit] - begin);
    }
    // Per hit, when WithWords(): the words of its verse as the text writes them
    // (word n is element n - 1), to show the words at the positions.
    std::vector<std::vector<std::string>> words;
    // The references one after the other, and where each ends.
    std::string references;
    std::vector<std::size_t> referenceEnds;
  };
  // Hits first ... first + count - 1 (those below Count()), as SearchResult::Hits
  // reads them, with their references. Holds the lock; raises BookError.
  Page Hits(std::size_t first, std::size_t count);

  BookSearch(BookSearch&&) noexcept;
  BookSearch& operator=(BookSearch&&) noexcept;
  ~BookSearch();

 private:
  friend class Book;
  friend class Library;
  BookSearch(Book& book, SearchResult result, bool withWords);
  Page HitsUnlocked(std::size_t first, std::size_t count);

  Book* m_book;
  SearchResult m_result;
  bool m_withWords;
  std::unique_ptr<ReferenceFormatter> m_references;
  std::unique_ptr<VerseTexts> m_texts;
};

class Library;

// One book folder, opened once: its parts are opened as questions need them and
// stay open until the Book is destroyed. Not copyable or movable (searches point
// at it).
class Book {
 public:
  // Reads the book's identity from the files of `folder` (query/book_access.h).
  // Raises BookError when `folder` is not a folder or holds no book file.
  explicit Book(const std::string& folder);
  ~Book();
  Book(const Book&) = delete;
  Book& operator=(const Book&) = delete;

  const std::string& Folder() const { return m_folder; }
  const std::string& Name() const { return m_name; }  // the folder's own name
  BookKind Kind() const { return m_kind; }
  const BookIdentity& Identity() const { return m_identity; }

  // What the book is: title, languages, Strong's numbers, size (read once).
  BookInfo Info();

  // The top-level sections, or those right below the section `path` names (a
  // reference as Read takes it, naming one section).
  Toc Contents(const std::string& path = "");

  // The text of `reference`: verses, chapters, books, ranges and lists as
  // query/reference.h reads them, or a glossary headword; in a book of entries
  // (a lexicon, topical index or plan) also a key of its index ("G25", "12-25"),
  // and an entry's text as a reader shows it (ShownText: references as their
  // text). With `strongs`, also
  // the Strong's numbers of each verse's words (BookError when the book has none).
  // With `most` (not 0), BookError when the reference names more than `most`
  // verses (or entries), before their text is read: a bound for servers.
  Reading Read(const std::string& reference, bool strongs = false, std::size_t most = 0);

  // Searches the concordance for the words and Strong's numbers of `query`
  // (query/search.h); BookError when it names numbers and the book has none.
  BookSearch Find(const SearchQuery& query);

  // The concordance's words from `prefix` on (ListWords), at most `limit` (0: all).
  std::vector<WordEntry> Words(const std::string& prefix, int limit = 0);

  // A verse by book, chapter and verse number ("43,3,16") through the verse sync
  // index; BookError in a book without one, or without that verse.
  Entry Verse(const std::string& numbers);

  // A look-up in the book's sync index, whatever its type: "B,C,V" in a Bible, a
  // headword or topic (case does not count), a Strong's number ("G26", "g0026"),
  // a date ("12-25", "today"). BookError when the key is none of the type, or not
  // in the index (naming the nearest word after it where the index has one).
  Entry Sync(const std::string& key);

  // The passages of a place written as a verse key of entry text ("43,3,16",
  // "19,34,1-19,34,8", "1,1-1,3", "66": query/entry_text.h), found through the
  // verse sync index: what a reference of a study entry leads to in this Bible.
  // BookError when the book has no verse sync index or lacks the place.
  std::vector<Passage> ReadVerseKey(const std::string& verseKey);

  // The book, chapter and verse numbers of the verse `key` (a verse of a Bible
  // that orva build made: chapters and verses named by their numbers, the book's
  // number from its verses index); nullopt for a key that is no such verse.
  std::optional<VersePlace> PlaceOf(int key);

  // How the book translates the Strong's number `number` (query/strongs.h).
  std::vector<Translation> Translations(const std::string& number);

  // Every file of the book checked against the others (query/check.h).
  BookCheck Check();

 private:
  friend class BookSearch;
  friend class Library;

  // `ask()` holding the lock; the library's exceptions become BookError.
  template <class Ask>
  auto Locked(Ask ask) -> decltype(ask());
  template <class Ask>
  auto Guarded(Ask ask) -> decltype(ask());

  // The questions without the lock, for Library (which holds it).
  BookInfo InfoUnlocked();
  Toc ContentsUnlocked(const std::string& path);
  Reading ReadUnlocked(const std::string& reference, bool strongs, std::size_t most = 0);
  BookSearch FindUnlocked(const SearchQuery& query);
  std::vector<WordEntry> WordsUnlocked(const std::string& prefix, int limit);
  Entry VerseUnlocked(const std::string& numbers);
  Entry SyncUnlocked(const std::string& key);
  std::vector<Passage> ReadVerseKeyUnlocked(const std::string& verseKey);
  std::optional<VersePlace> PlaceOfUnlocked(int key);
  std::vector<Translation> TranslationsUnlocked(const std::string& number);
  Entry EntryOf(int key, const std::string& asked);
  std::map<int, std::string> Headings(const std::vector<Passage>& passages);
  void Open(DWORD parts) { OpenParts(m_book, parts); }
  bool Has(DWORD part);  // whether the folder holds the file of `part` (one bit)
  BookNames& Names();  // the books' names, read once; opens the sections
  std::uint16_t TextLanguage();
  std::uint16_t WordsLanguage();  // the concordance's first
  bool HasStrongsNumbers();
  void NeedStrongs();

  std::string m_folder, m_name;
  BookIdentity m_identity;
  BookKind m_kind = BookKind::kOther;
  DWORD m_parts = 0;   // the parts whose files the folder holds, of
  DWORD m_looked = 0;  // those looked for
  cORVABookBase m_book;
  std::optional<BookInfo> m_info;
  std::optional<std::uint16_t> m_textLanguage;
  std::map<int, int> m_bookNumbers;  // top-level section key -> its number (PlaceOf)
  std::unique_ptr<BookNames> m_names;  // read at the first reference (Names)
};

template <class Ask>
auto Book::Guarded(Ask ask) -> decltype(ask()) {
  try {
    return ask();
  } catch (CException* e) {
    throw BookDamaged(m_folder + ": the book is damaged: " + DescribeAndDelete(e));
  }
}

template <class Ask>
auto Book::Locked(Ask ask) -> decltype(ask()) {
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  return Guarded(ask);
}

}  // namespace orva::query
