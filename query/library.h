// A library: a folder of book folders (Bibles, lexicons, topical indexes,
// glossaries, reading plans), each opened once as a Book (query/book.h), and the
// questions that go across them: a passage in every Bible side by side, a search
// in each book, a Strong's number with its lexicon entry and how each Bible
// translates it, a topic with its verses read from a Bible.
//
// What a folder is: a folder that holds a book file (book.dat, sections.idx, ...)
// is a book; a folder that holds none, but subfolders that are books, is a
// library of those books (subfolders that are no books are passed over, and the
// search goes no deeper). What each book is, is asked of the book itself (its
// sync type, languages and control words: Book::Info), never of a list kept
// beside it.
//
// The order of the books: the Bibles, then the lexicons, topical indexes,
// glossaries, reading plans and other books, each kind by folder name (in byte
// order). Parallel reading shows the Bibles in this order, and the first Bible
// is the one a topic's verses are read from.
//
// Each question asks every book that can answer it (the Bibles for a passage;
// the books with a concordance for a search, those with Strong's numbers for a
// search of numbers; the books whose sync index takes the key for a look-up) and
// answers from those that do: a book that raises BookError (a reference it does
// not have, a key not in its index) is left out. When no book answers, the
// question raises BookError naming each book asked and its message.
//
// Threads: every question holds orva::query::LibraryMutex() for its whole length
// (the pages of a BookSearch each for theirs), as Book's do; see query/book.h.
// The Books are owned by the Library: a BookSearch or Book pointer from an
// answer must not outlive it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "query/book.h"

namespace orva::query {

// One book's answer to a question asked of a library.
template <class T>
struct BookAnswer {
  Book* book = nullptr;
  T answer;
};

// A passage in every Bible, verse by verse.
struct ParallelReading {
  std::string query;
  std::vector<Book*> bibles;  // the Bibles that answered, in library order
  struct Text {
    std::size_t bible = 0;  // in `bibles`
    Passage passage;
    std::vector<NumberedWord> words;  // read with Strong's numbers: the verse's words with them
  };
  struct Verse {
    // Book, chapter and verse numbers (query/book_list.h); all 0 for a passage
    // that is no numbered verse, which has a row of its own.
    VersePlace place;
    // "Genesis 1:1": the book's English name (query/book_list.h), else the first
    // Bible's own reference.
    std::string reference;
    std::vector<Text> texts;  // the Bibles that have the verse, in order
  };
  // In the order of the first Bible that answered, each verse another Bible has
  // beside it right after the verse that Bible had before it.
  std::vector<Verse> verses;
};

// A verse where a Strong's number stands.
struct StrongsVerse {
  int key = -1;
  std::string reference;            // UTF-8
  std::string text;                 // the verse
  std::vector<NumberedWord> words;  // its words; the number on those it tags
};

// A Strong's number across a library.
struct StrongsStudy {
  std::string number;  // as the books key it: G25 for g0025
  std::vector<BookAnswer<Entry>> entries;  // the lexicons that have it
  struct InBible {
    Book* bible = nullptr;
    std::vector<Translation> translations;  // the words it tags, counted
    std::size_t count = 0;                  // the verses where it stands
    std::vector<StrongsVerse> verses;       // the first of them
  };
  std::vector<InBible> bibles;  // the Bibles with Strong's numbers
};

// A topic (or glossary entry) with the verses it names read from a Bible.
struct TopicStudy {
  Book* index = nullptr;  // the topical index or glossary that has it
  Entry entry;
  Book* bible = nullptr;  // the first Bible of the library; null when it has none
  struct Followed {
    std::size_t reference = 0;  // in entry.shown.references
    std::vector<Passage> passages;
    std::string error;  // when the Bible lacks the place: why; no passages then
  };
  // The entry's verse references in order, as many as asked for.
  std::vector<Followed> followed;
  std::size_t verseReferences = 0;  // all of them
};

class Library {
 public:
  // The library in `folder`, or the book there as a library of one. Raises
  // BookError when `folder` is neither (no such folder, no book files in it or in
  // its subfolders).
  explicit Library(const std::string& folder);
  // The books in `bookFolders`, in the library's order of books.
  explicit Library(const std::vector<std::string>& bookFolders);

  // Whether `folder` is a library (a folder that holds no book file, and at least
  // one subfolder that does). No exception.
  static bool IsLibrary(const std::string& folder);

  const std::string& Folder() const { return m_folder; }  // empty for a list of folders
  std::size_t Size() const { return m_books.size(); }
  Book& operator[](std::size_t index) const { return *m_books[index]; }
  // The book named `name` (its folder's own name), or null.
  Book* Named(const std::string& name) const;

  // What each book is, in order.
  std::vector<BookInfo> Info();

  // `reference` (as Book::Read takes it) in every Bible that has it, verse by
  // verse, each Bible's text under the verse's number; with `strongs`, the Bibles
  // with Strong's numbers, with the numbers of the words. `most`: as Book::Read's,
  // for each Bible.
  ParallelReading Read(const std::string& reference, bool strongs = false, std::size_t most = 0);

  // The search in each book with a concordance (with Strong's numbers: each book
  // that has them).
  std::vector<BookAnswer<BookSearch>> Find(const SearchQuery& query);

  // The number's lexicon entries, how each Bible with Strong's numbers translates
  // it, where it stands (the count, and the first `verses` verses). Raises
  // BookError when `number` is no Strong's number, or when no book has it.
  StrongsStudy Strongs(const std::string& number, std::size_t verses = 3);

  // The topic (a headword of the topical indexes and glossaries) with its first
  // `references` verse references read from the first Bible.
  std::vector<TopicStudy> Topic(const std::string& topic, std::size_t references = static_cast<std::size_t>(-1));

  // Book's questions, asked of each book that can answer.
  std::vector<BookAnswer<Toc>> Contents(const std::string& path = "");
  std::vector<BookAnswer<std::vector<WordEntry>>> Words(const std::string& prefix, int limit = 0);
  std::vector<BookAnswer<Entry>> Verse(const std::string& numbers);
  std::vector<BookAnswer<Entry>> Sync(const std::string& key);
  std::vector<BookAnswer<BookCheck>> Check();

 private:
  void Sort();
  // Asks `question(book)` of each book for which `can(book)` holds, under the
  // lock; the answers of those that give one. `what` names what was looked for
  // when no book is of the kind asked.
  template <class Can, class Question>
  auto Ask(Can can, Question question, const std::string& what)
      -> std::vector<BookAnswer<decltype(question(std::declval<Book&>()))>>;
  template <class Can, class Question>
  auto AskUnlocked(Can can, Question question, const std::string& what)
      -> std::vector<BookAnswer<decltype(question(std::declval<Book&>()))>>;

  std::string m_folder;
  std::vector<std::unique_ptr<Book>> m_books;
};

}  // namespace orva::query
