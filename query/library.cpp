#include "query/library.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <list>
#include <map>
#include <tuple>
#include <utility>

#include "book/book_folder.h"
#include "query/book_list.h"
#include "zalang/words.h"

namespace orva::query {

namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HoldsBookFile(const std::string& folder) {
  for (DWORD bit : {ORVA_TEXT, ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES, ORVA_WSYNC, ORVA_VSYNC,
                    ORVA_SSYNC, ORVA_DSYNC}) {
    struct stat info {};
    if (::stat((folder + '/' + FileNameOfBit(bit)).c_str(), &info) == 0 && S_ISREG(info.st_mode)) return true;
  }
  return false;
}

// The subfolders of `folder` that hold a book file, by name.
std::vector<std::string> BookFolders(const std::string& folder) {
  std::vector<std::string> books;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string path = entry.path().string();
    if (IsFolder(path) && HoldsBookFile(path)) books.push_back(path);
  }
  std::sort(books.begin(), books.end());
  return books;
}

using Place = std::tuple<int, int, int>;

// The messages of the books that gave no answer, each once with the books that
// gave it: "\"Foo 1:1\": no book is called \"Foo\" (kjv, web)".
class Unanswered {
 public:
  void Add(const Book& book, const std::string& message) {
    for (auto& [text, books] : m_messages) {
      if (text == message) {
        books += ", " + book.Name();
        return;
      }
    }
    m_messages.emplace_back(message, book.Name());
  }
  std::string Text() const {
    std::string text;
    for (const auto& [message, books] : m_messages) text += (text.empty() ? "" : "; ") + message + " (" + books + ")";
    return text;
  }
  bool Empty() const { return m_messages.empty(); }

 private:
  std::vector<std::pair<std::string, std::string>> m_messages;
};

}  // namespace

template <class Can, class Question>
auto Library::AskUnlocked(Can can, Question question, const std::string& what)
    -> std::vector<BookAnswer<decltype(question(std::declval<Book&>()))>> {
  std::vector<BookAnswer<decltype(question(std::declval<Book&>()))>> answers;
  Unanswered unanswered;
  bool asked = false;
  for (const std::unique_ptr<Book>& book : m_books) {
    try {
      if (!book->Guarded([&] { return can(*book); })) continue;
      asked = true;
      answers.push_back({book.get(), book->Guarded([&] { return question(*book); })});
    } catch (const BookError& e) {
      asked = true;
      unanswered.Add(*book, e.what());
    }
  }
  const std::string where = m_folder.empty() ? "the library" : m_folder;
  if (!asked) throw BookError(where + ": the library has no " + what);
  if (answers.empty()) throw BookError(where + ": no book answers: " + unanswered.Text());
  return answers;
}

template <class Can, class Question>
auto Library::Ask(Can can, Question question, const std::string& what)
    -> std::vector<BookAnswer<decltype(question(std::declval<Book&>()))>> {
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  return AskUnlocked(can, question, what);
}

bool Library::IsLibrary(const std::string& folder) {
  return IsFolder(folder) && !HoldsBookFile(folder) && !BookFolders(folder).empty();
}

Library::Library(const std::string& folder) : m_folder(folder) {
  if (!IsLibrary(folder)) {
    m_books.push_back(std::make_unique<Book>(folder));
    return;
  }
  for (const std::string& book : BookFolders(folder)) m_books.push_back(std::make_unique<Book>(book));
  Sort();
}

Library::Library(const std::vector<std::string>& bookFolders) {
  for (const std::string& book : bookFolders) m_books.push_back(std::make_unique<Book>(book));
  Sort();
}

void Library::Sort() {
  std::stable_sort(m_books.begin(), m_books.end(), [](const auto& a, const auto& b) {
    return std::make_pair(static_cast<int>(a->Kind()), a->Name()) < std::make_pair(static_cast<int>(b->Kind()), b->Name());
  });
}

Book* Library::Named(const std::string& name) const {
  for (const std::unique_ptr<Book>& book : m_books) {
    if (book->Name() == name) return book.get();
  }
  return nullptr;
}

std::vector<BookInfo> Library::Info() {
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  std::vector<BookInfo> info;
  for (const std::unique_ptr<Book>& book : m_books) info.push_back(book->Guarded([&] { return book->InfoUnlocked(); }));
  return info;
}

ParallelReading Library::Read(const std::string& reference, bool strongs, std::size_t most) {
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  auto readings = AskUnlocked(
      [&](Book& book) { return book.Kind() == BookKind::kBible && (!strongs || book.HasStrongsNumbers()); },
      [&](Book& book) { return book.ReadUnlocked(reference, strongs, most); },
      strongs ? "Bible with Strong's numbers" : "Bible");
  ParallelReading parallel;
  parallel.query = reference;
  // Each verse after the one its Bible had before it; verses by number.
  std::list<ParallelReading::Verse> rows;
  std::map<Place, std::list<ParallelReading::Verse>::iterator> numbered;
  for (BookAnswer<Reading>& reading : readings) {
    Book& bible = *reading.book;
    const std::size_t index = parallel.bibles.size();
    parallel.bibles.push_back(&bible);
    auto previous = rows.end();
    for (Reading::Run& run : reading.answer.runs) {
      for (Passage& passage : run.passages) {
        const std::optional<VersePlace> place = bible.Guarded([&] { return bible.PlaceOfUnlocked(passage.key); });
        auto row = rows.end();
        if (place) {
          const auto found = numbered.find(Place{place->book, place->chapter, place->verse});
          if (found != numbered.end()) row = found->second;
        }
        if (row == rows.end()) {
          ParallelReading::Verse verse;
          if (place) {
            verse.place = *place;
            const ListedBook* listed = ListedBookAt(place->book);
            verse.reference = listed ? std::string(listed->name) + " " + std::to_string(place->chapter) + ":" +
                                           std::to_string(place->verse)
                                     : passage.reference;
          } else {
            verse.reference = passage.reference;
          }
          row = rows.insert(previous == rows.end() ? (rows.empty() ? rows.end() : rows.begin()) : std::next(previous),
                            std::move(verse));
          if (place) numbered.emplace(Place{place->book, place->chapter, place->verse}, row);
        }
        ParallelReading::Text text{index, std::move(passage), {}};
        const auto words = reading.answer.words.find(text.passage.key);
        if (words != reading.answer.words.end()) text.words = std::move(words->second);
        row->texts.push_back(std::move(text));
        previous = row;
      }
    }
  }
  parallel.verses.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  return parallel;
}

std::vector<BookAnswer<BookSearch>> Library::Find(const SearchQuery& query) {
  const bool strongs = !query.strongs.empty();
  return Ask([&](Book& book) { return book.Has(ORVA_CONCORD) && (!strongs || book.HasStrongsNumbers()); },
             [&](Book& book) { return book.FindUnlocked(query); },
             strongs ? "book with Strong's numbers" : "book with a concordance");
}

StrongsStudy Library::Strongs(const std::string& number, std::size_t verses) {
  const std::string name = SyncKeyOf("strongs", number);
  if (name.empty()) throw BookError("\"" + number + "\" is no Strong's number (a G or an H and a number: G25, H430)");
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  StrongsStudy study;
  study.number = name;
  Unanswered unanswered;
  bool asked = false;
  for (const std::unique_ptr<Book>& owned : m_books) {
    Book& book = *owned;
    try {
      if (book.Kind() == BookKind::kLexicon) {
        asked = true;
        study.entries.push_back({&book, book.Guarded([&] { return book.SyncUnlocked(name); })});
        continue;
      }
      if (book.Kind() != BookKind::kBible || !book.Guarded([&] { return book.HasStrongsNumbers(); })) continue;
      asked = true;
      StrongsStudy::InBible in{&book, book.Guarded([&] { return book.TranslationsUnlocked(name); }), 0, {}};
      book.Guarded([&] {
        SearchQuery query;
        query.strongs.push_back(name);
        BookSearch search = book.FindUnlocked(query);
        in.count = search.Count();
        const BookSearch::Page page = search.HitsUnlocked(0, verses);
        for (std::size_t hit = 0; hit < page.hits.Size(); ++hit) {
          StrongsVerse verse;
          verse.key = static_cast<int>(page.hits.Key(hit));
          verse.reference = std::string(page.Reference(hit));
          verse.text = search.m_texts->Text(verse.key);
          std::vector<TaggedWord> tagged;
          for (std::uint16_t position : page.hits.Positions(hit, 0)) tagged.push_back({position, {name}});
          verse.words = NumberWords(verse.text, tagged);
          in.verses.push_back(std::move(verse));
        }
        return 0;
      });
      study.bibles.push_back(std::move(in));
    } catch (const BookError& e) {
      unanswered.Add(book, e.what());
    }
  }
  const std::string where = m_folder.empty() ? "the library" : m_folder;
  if (!asked) throw BookError(where + ": the library has no lexicon and no Bible with Strong's numbers");
  const bool found = !study.entries.empty() || std::any_of(study.bibles.begin(), study.bibles.end(),
                                                           [](const StrongsStudy::InBible& in) { return in.count > 0; });
  if (!found) {
    throw BookError(where + ": no book has " + name + (unanswered.Empty() ? std::string() : ": " + unanswered.Text()));
  }
  return study;
}

std::vector<TopicStudy> Library::Topic(const std::string& topic, std::size_t references) {
  const std::lock_guard<std::mutex> lock(LibraryMutex());
  auto entries = AskUnlocked(
      [](Book& book) { return book.Kind() == BookKind::kTopicalIndex || book.Kind() == BookKind::kGlossary; },
      [&](Book& book) { return book.SyncUnlocked(topic); }, "topical index or glossary");
  Book* bible = nullptr;
  for (const std::unique_ptr<Book>& book : m_books) {
    if (book->Kind() == BookKind::kBible) {
      bible = book.get();
      break;
    }
  }
  std::vector<TopicStudy> studies;
  for (BookAnswer<Entry>& entry : entries) {
    TopicStudy study{entry.book, std::move(entry.answer), bible, {}, 0};
    const auto& places = study.entry.shown.references;
    for (std::size_t i = 0; i < places.size(); ++i) {
      if (places[i].reference.type != "verse") continue;
      ++study.verseReferences;
      if (!bible || study.followed.size() >= references) continue;
      TopicStudy::Followed followed;
      followed.reference = i;
      try {
        followed.passages = bible->Guarded([&] { return bible->ReadVerseKeyUnlocked(places[i].reference.key); });
      } catch (const BookError& e) {
        followed.error = e.what();
      }
      study.followed.push_back(std::move(followed));
    }
    studies.push_back(std::move(study));
  }
  return studies;
}

std::vector<BookAnswer<Toc>> Library::Contents(const std::string& path) {
  return Ask([](Book&) { return true; }, [&](Book& book) { return book.ContentsUnlocked(path); }, "book");
}

std::vector<BookAnswer<std::vector<WordEntry>>> Library::Words(const std::string& prefix, int limit) {
  return Ask([](Book& book) { return book.Has(ORVA_CONCORD); },
             [&](Book& book) { return book.WordsUnlocked(prefix, limit); }, "book with a concordance");
}

std::vector<BookAnswer<Entry>> Library::Verse(const std::string& numbers) {
  return Ask([](Book& book) { return book.Kind() == BookKind::kBible; },
             [&](Book& book) { return book.VerseUnlocked(numbers); }, "Bible");
}

std::vector<BookAnswer<Entry>> Library::Sync(const std::string& key) {
  return Ask(
      [&](Book& book) {
        const std::string& type = book.Identity().syncType;
        VersePlace first, last;
        if (type == "verse") return ParseVerseKey(key, first, last) && first.verse > 0;
        return !type.empty() && !SyncKeyOf(type, key).empty();
      },
      [&](Book& book) { return book.SyncUnlocked(key); }, "book with a sync index that takes \"" + key + "\"");
}

std::vector<BookAnswer<BookCheck>> Library::Check() {
  return Ask([](Book&) { return true; }, [](Book& book) { return CheckBookFolder(book.Folder()); }, "book");
}

}  // namespace orva::query
