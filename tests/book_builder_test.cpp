// The book builder: what a book made from a small source holds, read back through
// the library, faults of the source with their lines, and the book folder
// replaced whole or not at all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "orvada.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"

namespace {

using namespace orva::writer;

constexpr const char* kSource =
    "Genesis 1:1\tIn the beginning God created the heaven and the earth.\n"
    "Genesis 1:2\tAnd the earth was without form.\n"
    "Genesis 2:4\tThese are the generations.\n"
    "Jude 1:1\tJude, the servant of Jesus Christ.\n"
    "Jude 1:3\tBeloved, when I gave all diligence.\n";

BuiltBook Build(const std::string& text, BookOptions options = {}) {
  std::istringstream in(text);
  return BuildScriptureBook(ParseScripture(in, "dir/small.txt"), options, "dir/small.txt");
}

// What building `text` (a dictionary when `glossary`) raises, or "none".
std::string Fault(const std::string& text, std::uint16_t language = 1033, bool glossary = false) {
  BookOptions options;
  options.language = language;
  std::istringstream in(text);
  try {
    if (glossary) BuildGlossaryBook(ParseDictionary(in, "d.txt"), options, "d.txt");
    else Build(text, options);
  } catch (const SourceError& e) {
    return e.what();
  }
  return "none";
}

// Opens every part of the book in `dir` that it has.
void Open(cORVABookBase& book, const TempBookDir& dir, const char* syncType, std::uint16_t publisher = 3) {
  VersionFields version;
  version.publisherID = publisher;
  version.bookID = 9;
  PointBookAt(book, dir.Path(), version, syncType);
  const DWORD sync = std::string(syncType) == "verse" ? ORVA_VSYNC : ORVA_WSYNC;
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | sync), 0);
}

// Line `line` of the block of `area`.
std::string Line(cORVABookBase& book, DWORD area, WORD line) {
  std::string block(static_cast<size_t>(book.GetViewableBlockSize(static_cast<int>(area))), '\0');
  EXPECT_EQ(book.GetViewableBlock(static_cast<int>(area), block.data()), 0);
  std::istringstream lines(block);
  std::string text;
  for (int i = 0; i <= line; ++i) std::getline(lines, text);
  return text;
}

TEST(BookBuilder, ScriptureBookHoldsSectionsTextAndVerseSync) {
  // Stored text: the end-to-end tests build compressed books.
  TempBookDir dir;
  BookOptions options;
  options.publisherID = 3;
  options.bookID = 9;
  options.abbreviation = "SML";
  const BuiltBook built = Build(kSource, options);
  EXPECT_EQ(built.books, 2);
  EXPECT_EQ(built.chapters, 3);
  EXPECT_EQ(built.verses, 5);
  EXPECT_EQ(built.sections, 10);
  WriteBookDirectory(dir.Path(), built.files);

  cORVABookBase book;
  Open(book, dir, "verse");
  EXPECT_EQ(std::string(book.GetHeaderControlWordData("TITLE")), "small");
  EXPECT_EQ(std::string(book.GetHeaderControlWordData("ABBREV")), "SML");
  EXPECT_EQ(std::string(book.GetHeaderControlWordData("LANG")), "1033");
  EXPECT_EQ(std::string(book.GetHeaderControlWordData("SYNCTYPE")), "verse");
  EXPECT_EQ(std::string(book.GetHeaderControlWordData("COPYRIGHT")), "");
  EXPECT_EQ(book.GetViewableBlockSize(0), 6);  // "small\n"

  // Genesis 0, 1 (1, 2), 2 (4); Jude 5, 1 (1, 3): keys in depth-first order.
  EXPECT_EQ(book.GetSectionKey("Genesis\\2\\4"), 5);
  EXPECT_EQ(book.GetSectionKey("Jude\\1\\3"), 9);
  EXPECT_EQ(std::string(book.GetPathFromKey(3)), "\\Genesis\\1\\2");
  EXPECT_EQ(book.GetVSyncKey("1,2,4"), 5);
  EXPECT_EQ(book.GetVSyncKey("65,1,3"), 9);  // Jude's number in the list of books
  EXPECT_EQ(book.GetVSyncKey("65,1,2"), -1);
  EXPECT_EQ(book.GetVSyncKey("2,1,1"), -1);
  EXPECT_EQ(book.SectionWordCount(2), 10);
  EXPECT_EQ(book.SectionWordCount(1), 16);
  EXPECT_EQ(book.SectionWordCount(0), 20);

  // Sync data: area and line of each section's text.
  cSectionsData section;
  SYNC_DATA sync;
  const std::pair<int, std::string> expected[] = {
      {0, "Genesis 1"}, {3, "2 And the earth was without form."}, {4, "Genesis 2"},
      {5, "4 These are the generations."}, {6, "Jude 1"}, {9, "3 Beloved, when I gave all diligence."}};
  for (const auto& [key, text] : expected) {
    ASSERT_EQ(book.GetSection(key, section), 0);
    section.GetSyncData(&sync);
    EXPECT_EQ(Line(book, sync.words.dwValue, sync.words.wValue), text) << key;
  }
}

TEST(BookBuilder, GlossaryBookHoldsLettersEntriesAndWordSync) {
  std::istringstream in(
      "bread\tfood made of flour\n"
      "Abba\tfather\n"
      "apple\ta fruit\n"
      "\xC3\x89phod\ta garment\n");
  BookOptions options;
  options.publisherID = 3;
  options.bookID = 9;
  options.title = "Words";
  const BuiltBook built = BuildGlossaryBook(ParseDictionary(in, "d.txt"), options, "d.txt");
  EXPECT_EQ(built.entries, 4);
  EXPECT_EQ(built.sections, 3);  // A, B, E-acute
  TempBookDir dir;
  WriteBookDirectory(dir.Path(), built.files);
  cORVABookBase book;
  Open(book, dir, "word");
  EXPECT_EQ(std::string(book.GetHeaderControlWordData("SYNCTYPE")), "word");
  EXPECT_EQ(book.GetLastSectionKey(), 2);
  EXPECT_EQ(book.GetLastKey(), 6);
  // Entries in case-blind order: Abba 3, apple 4, bread 5, Ephod 6.
  EXPECT_EQ(book.GetWSyncKey("abba"), 3);
  EXPECT_EQ(book.GetWSyncKey("BREAD"), 5);
  EXPECT_EQ(book.GetWSyncKey(LangToPackagedString(cLanguageString(reinterpret_cast<const unsigned short*>(u"\u00C9phod")))), 6);
  EXPECT_EQ(std::string(book.GetPathFromKey(4)), "\\apple");
  cSectionsData entry;
  SYNC_DATA sync;
  ASSERT_EQ(book.GetEntry(4, entry), 0);
  entry.GetSyncData(&sync);
  EXPECT_EQ(Line(book, sync.words.dwValue, sync.words.wValue), "apple\ta fruit");
  ASSERT_EQ(book.GetEntry(6, entry), 0);
  entry.GetSyncData(&sync);
  EXPECT_EQ(Line(book, sync.words.dwValue, 0), "\xC9");
  EXPECT_EQ(Line(book, sync.words.dwValue, sync.words.wValue), "\xC9phod\ta garment");
  EXPECT_EQ(book.SectionWordCount(0), 5);  // the words of the entries of A
}

TEST(BookBuilder, FaultsOfTheSourceNameTheirLine) {
  EXPECT_EQ(Fault("Genesis 1:1\tok\nGenesis 1:2\tthe \xE4\xB8\x80 sign\n"),
            "dir/small.txt:2: the character U+4E00 has no form in the book's code page");
  EXPECT_EQ(Fault("Acts of Paul 1:1\tok\nacts of paul 1:1\tagain\n"),
            "dir/small.txt:2: the book acts of paul differs from an earlier book only in case");
  EXPECT_EQ(Fault("Psalms 1:1\tok\nPs 2:1\tagain\n"),
            "dir/small.txt:2: the book Ps is the book Psalms again (number 19 of the list of books)");
  std::string many = "Genesis 1:1\t";
  for (int i = 0; i < 65536; ++i) many += "a ";
  EXPECT_EQ(Fault("Genesis 1:1\tok\nGenesis 1:2\t" + many.substr(12) + "\n"), "dir/small.txt:2: more than 65535 words");
  EXPECT_EQ(Fault("Genesis 1:1\t" + many.substr(14) + "\n"), "none");
  // Greek text is fine in a Greek book, not in an English one (the message is
  // OrvaProgram.BadSourcesLeaveNoBook's).
  const std::string greek = "Genesis 1:1\t\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\n";
  EXPECT_EQ(Fault(greek, 1032), "none");
  EXPECT_NE(Fault(greek, 1033), "none");
}

TEST(BookBuilder, WhatTheFilesCannotHoldIsRefusedAtItsLine) {
  // The longest word and book name are written as they are.
  const std::string longest(32767, 'a');
  TempBookDir dir;
  BookOptions options;
  options.publisherID = 3;
  options.bookID = 9;
  WriteBookDirectory(dir.Path(), Build(longest + " 1:1\t" + longest + "\n", options).files);
  cORVABookBase book;
  Open(book, dir, "verse");
  ASSERT_EQ(book.Open(ORVA_CONCORD), 0);
  EXPECT_EQ(book.GetSectionKey((longest + "\\1\\1").c_str()), 2);
  cLanguageString word;
  ASSERT_EQ(book.GetFirstWord(1033, word), 0);
  EXPECT_EQ(word.GetLength(), 32767);

  EXPECT_EQ(Fault("Genesis 1:1\tok\nGenesis 1:2\tx " + longest + "a\n"),
            "dir/small.txt:2: a word of more than 32767 characters");
  EXPECT_EQ(Fault(longest + "a 1:1\tok\n"), "dir/small.txt:1: a book name is at most 32767 bytes long");
  EXPECT_EQ(Fault("Genesis 1:1\tok\nA\\B 1:1\tok\n"),
            "dir/small.txt:2: the book name A\\B holds a backslash, which separates the names of a section path");
  std::string verses;
  for (int verse = 1; verse <= 32767; ++verse) verses += "Genesis 1:" + std::to_string(verse) + "\tw\n";
  EXPECT_EQ(Fault(verses), "dir/small.txt:32767: Genesis has more than 32767 chapters and verses, more than an "
                           "entry can count back to its book");

  EXPECT_EQ(Fault("x\tok\n" + std::string(32768, '.') + "\tx\n", 1033, true),
            "d.txt:2: a headword is at most 32767 bytes long");
  std::string entries;
  for (int entry = 0; entry <= 32768; ++entry) entries += "w" + std::to_string(100000 + entry) + "\tx\n";
  EXPECT_EQ(Fault(entries, 1033, true),
            "d.txt:32769: more than 32768 entries, more than an entry can count back to the first");
}

TEST(BookBuilder, TheBookFolderIsReplacedWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  TempBookDir parent;
  const std::string dir = parent.Path() + "book";
  const BuiltBook built = Build(kSource);
  WriteBookDirectory(dir, built.files);
  EXPECT_TRUE(fs::exists(dir + "/vsync.idx"));

  // Writing fails halfway (a file in a folder that does not exist): the old book
  // stands and nothing is left beside it.
  std::vector<BookFile> broken = built.files;
  broken.push_back({"missing/x", {1}});
  fs::remove(dir + "/book.dat");
  EXPECT_THROW(WriteBookDirectory(dir, broken), std::runtime_error);
  EXPECT_FALSE(fs::exists(dir + "/book.dat"));
  EXPECT_TRUE(fs::exists(dir + "/vsync.idx"));
  EXPECT_EQ(std::distance(fs::directory_iterator(parent.Path()), fs::directory_iterator()), 1);

  // A book folder is replaced; a trailing slash names the same folder.
  WriteBookDirectory(dir + "/", {{"book.dat", {1, 2}}});
  EXPECT_EQ(fs::file_size(dir + "/book.dat"), 2u);
  EXPECT_FALSE(fs::exists(dir + "/vsync.idx"));
  EXPECT_EQ(std::distance(fs::directory_iterator(parent.Path()), fs::directory_iterator()), 1);

  // A folder with other files, or a file, is not.
  std::ofstream(dir + "/notes.txt") << "mine";
  EXPECT_THROW(WriteBookDirectory(dir, built.files), std::runtime_error);
  EXPECT_TRUE(fs::exists(dir + "/notes.txt"));
  EXPECT_THROW(WriteBookDirectory(dir + "/notes.txt", built.files), std::runtime_error);
  EXPECT_EQ(std::distance(fs::directory_iterator(parent.Path()), fs::directory_iterator()), 1);
}

TEST(BookBuilder, ABuildClearsTheFoldersThatKilledBuildsLeft) {
  namespace fs = std::filesystem;
  TempBookDir parent;
  const std::string dir = parent.Path() + "book";
  const auto folder = [&](const std::string& name, const char* file) {
    fs::create_directory(parent.Path() + name);
    if (file) std::ofstream(parent.Path() + name + "/" + file) << "x";
  };
  folder("book.new-AbC123", "book.dat");    // killed while writing
  folder("book.old-xyz789", "vsync.idx");   // killed while replacing
  folder("book.new-Ab12", "book.dat");      // not named as a build names them
  folder("book.new-keep01", "notes.txt");   // not only book files
  folder("books.new-AbC123", "book.dat");   // beside another book
  folder("book.new-live00", "book.dat");    // a build still at work holds it
  const int live = ::open((parent.Path() + "book.new-live00").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);

  WriteBookDirectory(dir, Build(kSource).files);
  ::close(live);
  std::set<std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(parent.Path())) {
    left.insert(entry.path().filename().string());
  }
  EXPECT_EQ(left, (std::set<std::string>{"book", "book.new-Ab12", "book.new-keep01", "books.new-AbC123",
                                         "book.new-live00"}));
}

}  // namespace
