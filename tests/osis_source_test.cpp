// OSIS documents as scripture sources: what the reader takes from a document
// (plain, gzip or xz), the faults it names with their lines, and the book built
// from it, read back through the library: book numbers, title lines and the
// Strong's numbers in the concordance.
#include <gtest/gtest.h>
#include <lzma.h>
#include <zlib.h>

#include <fstream>
#include <sstream>

#include "orvada.h"
#include "tests/osis_sample.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"
#include "writer/source_osis.h"
#include "zalang/words.h"

namespace {

using namespace orva::writer;

std::string Write(const TempBookDir& dir, const std::string& name, const std::string& bytes) {
  std::ofstream(dir.FilePath(name), std::ios::binary) << bytes;
  return dir.FilePath(name);
}

Scripture Parse(const std::string& path) {
  SourceStream in(path);
  return ParseOsis(in);
}

// The message of the SourceError that reading `document` raises, without the
// file's name; "none" when it reads.
std::string Fault(const std::string& document) {
  TempBookDir dir;
  try {
    Parse(Write(dir, "f.xml", document));
  } catch (const SourceError& e) {
    return std::string(e.what()).substr(dir.FilePath("f.xml").size());
  }
  return "none";
}

std::string Xz(const std::string& text) {
  std::string out(text.size() + 1024, '\0');
  size_t size = 0;
  EXPECT_EQ(lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const uint8_t*>(text.data()),
                                    text.size(), reinterpret_cast<uint8_t*>(out.data()), &size, out.size()),
            LZMA_OK);
  return out.substr(0, size);
}

TEST(OsisSource, BooksChaptersVersesTitlesAndStrongsNumbers) {
  TempBookDir dir;
  const Scripture source = Parse(Write(dir, "t.osis.xml", orva::test::kOsisSample));
  EXPECT_EQ(source.title, "Biblia de prueba");
  EXPECT_EQ(source.rights, "Dominio p\xC3\xBA" "blico");
  EXPECT_EQ(source.languageTag, "es");
  EXPECT_EQ(source.notesLeftOut, 1);
  EXPECT_EQ(source.wordsLeftOut, 5);  // the front matter's
  ASSERT_EQ(source.books.size(), 3u);
  // Names: the x-usfm-h milestone, a title's short attribute, the English name.
  EXPECT_EQ(source.books[0].name, "Salmos");
  EXPECT_EQ(source.books[1].name, "Tob\xC3\xAD" "as");
  EXPECT_EQ(source.books[2].name, "John");
  EXPECT_EQ(source.books[1].number, 67);  // Tobit's number in the list of books

  const SourceChapter& psalm = source.books[0].chapters.at(0);
  EXPECT_EQ(psalm.number, 23);
  ASSERT_EQ(psalm.verses.size(), 2u);
  EXPECT_EQ(psalm.verses[0].titles, std::vector<std::string>{"Salmo de David."});
  EXPECT_EQ(psalm.verses[0].line, 7);
  // The note is left out, and its words stay apart.
  EXPECT_EQ(psalm.verses[1].text, "En lugares de delicados pastos me har\xC3\xA1 yacer junto a aguas.");
  const auto tags = [](const SourceVerse& verse) {
    std::vector<std::string> out;
    for (const StrongsTag& tag : verse.strongs)
      out.push_back(tag.word + " " + std::to_string(tag.begin) + "-" + std::to_string(tag.end));
    return out;
  };
  // Spans in UTF-16 units ("JEHOVÁ" is 6), from before the blank ahead of a word.
  EXPECT_EQ(tags(psalm.verses[0]), (std::vector<std::string>{"h3068 0-6", "h7462 12-19"}));
  EXPECT_EQ(tags(psalm.verses[1]), (std::vector<std::string>{"h7257 38-44", "h1878 38-44"}));

  const SourceChapter& tobit = source.books[1].chapters.at(0);
  ASSERT_EQ(tobit.verses.size(), 2u);
  EXPECT_EQ(tobit.verses[1].number, 2);
  EXPECT_EQ(tobit.verses[1].alsoNumbers, std::vector<int>{3});
  EXPECT_EQ(tags(tobit.verses[1]), (std::vector<std::string>{"g25 12-29", "g26 12-29"}));
  EXPECT_EQ(tobit.closing, std::vector<std::string>{"Escrito en N\xC3\xADnive."});
  EXPECT_EQ(source.books[2].chapters.at(0).verses.at(0).text,
            "Porque de tal manera am\xC3\xB3 Dios al mundo, que ha dado \xC3\xA1 su Hijo.");

  // The same document compressed reads the same.
  Write(dir, "t.osis.xml.xz", Xz(orva::test::kOsisSample));
  gzFile gz = gzopen(dir.FilePath("t.osis.xml.gz").c_str(), "wb");
  gzputs(gz, orva::test::kOsisSample);
  gzclose(gz);
  for (const char* name : {"t.osis.xml.xz", "t.osis.xml.gz"}) {
    const Scripture again = Parse(dir.FilePath(name));
    ASSERT_EQ(again.books.size(), 3u) << name;
    EXPECT_EQ(again.books[0].chapters[0].verses[1].text, psalm.verses[1].text) << name;
  }
  SourceStream xml(dir.FilePath("t.osis.xml.xz"));
  EXPECT_TRUE(LooksLikeXml(xml));
  SourceStream text(Write(dir, "t.txt", "Genesis 1:1\tIn the beginning <sic>.\n"));
  EXPECT_FALSE(LooksLikeXml(text));
}

TEST(OsisSource, FaultsNameTheirLine) {
  const std::string head = "<osis><osisText>\n";
  const std::string book = "<div type=\"book\" osisID=\"Gen\">\n";
  const std::string verse = "<verse osisID=\"Gen.1.1\">a</verse>\n";
  const std::string tail = "</div></osisText></osis>\n";
  EXPECT_EQ(Fault(head + book + verse + "<verse osisID=\"Gen.1.1\">b</verse>\n" + tail), ":4: the verse Gen.1.1 comes twice");
  EXPECT_EQ(Fault(head + book + verse + "<verse osisID=\"Gen.1.2\"><b></verse>\n" + tail),
            ":4: not well-formed XML: mismatched tag");
  EXPECT_EQ(Fault(head + "<div type=\"book\" osisID=\"Foo\">\n" + tail),
            ":2: \"Foo\" is no book of the Bible that this program knows (an osisID such as Gen, Matt, Tob)");
  EXPECT_EQ(Fault(head + book + "</div>" + book + verse + tail), ":3: the book Gen comes twice");
  EXPECT_EQ(Fault(head + verse + "</osisText></osis>"), ":2: the verse Gen.1.1 stands outside any book");
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Exod.1.1\">a</verse>\n" + tail),
            ":3: the verse Exod.1.1 stands in the book Gen");
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Gen.1.x\">a</verse>\n" + tail),
            ":3: the osisID \"Gen.1.x\" has no number from 1 to 65535 where it needs one");
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Gen.2.1\">a</verse>\n" + verse + "<verse osisID=\"Gen.2.2\"/>" + tail),
            ":5: the chapter Gen.2 comes twice");
  EXPECT_EQ(Fault(head + book + "<verse eID=\"v9\"/>\n" + tail), ":3: the end of a verse (eID v9) ends no verse that is open");
  // An end milestone closes only what a start milestone opened.
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Gen.1.1\">a<verse eID=\"\"/></verse>\n" + tail),
            ":3: the end of a verse (eID ) ends no verse that is open");
  EXPECT_EQ(Fault(head + book + "<chapter osisID=\"Gen.1\"><chapter eID=\"\"/></chapter>\n" + tail),
            ":3: the end of a chapter (eID ) ends no chapter that is open");
  EXPECT_EQ(Fault(head + book + verse + "<div type=\"book\" eID=\"\"/>\n" + tail),
            ":4: the end of a book (eID ) ends no book that is open");
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Gen.1.1\" sID=\"v1\"/>a\n" + tail), ":4: the book Gen ends inside the verse Gen.1.1");
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Gen.1.1\"><w lemma=\"strong:G25 X7\">a</w></verse>\n" + tail),
            ":3: the lemma \"strong:G25 X7\" holds \"X7\", which is no Strong's number");
  EXPECT_EQ(Fault(head + book + "<verse osisID=\"Gen.1.1\"><w lemma=\"lemma.TR:agape strong:G25\">a</w></verse>\n" + tail),
            "none");
  EXPECT_EQ(Fault("Genesis 1:1\ta\n"), ":1: not well-formed XML: syntax error");
  EXPECT_EQ(Fault(head + "</osisText></osis>"), ": no verses: it holds no book of the Bible with verses");
}

// A source file reads as its bytes, plain, gzip or xz, whatever its length (a
// plain file's first bytes, which tell how to read it, come first too); Peek
// returns what Read then gives, and Done reaches 1 at the end.
TEST(OsisSource, SourceFilesReadAsTheirBytes) {
  TempBookDir dir;
  std::string longText;
  while (longText.size() < 200000) longText += "Genesis 1:" + std::to_string(longText.size()) + "\tIn the beginning.\n";
  for (const std::string& text : {std::string(), std::string("G"), std::string("\x1F"), std::string("Gen 1"),
                                  std::string("Gen 1:"), std::string("Gen 1:1"), std::string("\xFD" "7zX"), longText}) {
    SCOPED_TRACE(testing::Message() << "length " << text.size());
    gzFile gz = gzopen(dir.FilePath("t.gz").c_str(), "wb");
    gzwrite(gz, text.data(), static_cast<unsigned>(text.size()));
    gzclose(gz);
    for (const std::string& path : {Write(dir, "t.txt", text), Write(dir, "t.xz", Xz(text)), dir.FilePath("t.gz")}) {
      EXPECT_EQ(ReadSourceFile(path), text) << path;
      SourceStream in(path);
      EXPECT_EQ(in.Peek(3), text.substr(0, 3)) << path;
      std::string read;
      char buffer[4096];
      while (const size_t got = in.Read(buffer, sizeof buffer)) read.append(buffer, got);
      EXPECT_EQ(read, text) << path;
      if (!text.empty()) {
        EXPECT_EQ(in.Done(), 1.0) << path;
      }
    }
  }
}

TEST(OsisSource, BookKeepsNumbersTitleLinesAndStrongsNumbers) {
  TempBookDir dir;
  const Scripture source = Parse(Write(dir, "t.osis.xml", orva::test::kOsisSample));
  BookOptions options;
  options.publisherID = 3;
  options.bookID = 9;
  const BuiltBook built = BuildScriptureBook(source, options, "t.osis.xml");
  EXPECT_EQ(built.verses, 5);
  EXPECT_EQ(built.verseNumbers, 6);
  EXPECT_EQ(built.titleLines, 2);
  EXPECT_EQ(built.strongsNumbers, 7);  // H1732 stands only in a title
  // A header's control word cannot hold '}': the document's is its fault.
  for (std::string Scripture::*field : {&Scripture::title, &Scripture::rights}) {
    Scripture braced = source;
    braced.*field = "a}b";
    EXPECT_THROW(BuildScriptureBook(braced, options, "t.osis.xml"), SourceError);
  }
  const TempBookDir book;
  WriteBookDirectory(book.Path(), built.files);
  cORVABookBase reader;
  VersionFields version;
  version.publisherID = 3;
  version.bookID = 9;
  PointBookAt(reader, book.Path(), version, "verse");
  ASSERT_EQ(reader.Open(ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | ORVA_VSYNC), 0);
  EXPECT_EQ(std::string(reader.GetHeaderControlWordData("LANG")), "1034");
  EXPECT_EQ(std::string(reader.GetHeaderControlWordData("TITLE")), "Biblia de prueba");
  EXPECT_EQ(std::string(reader.GetHeaderControlWordData("COPYRIGHT")), "Dominio p\xFA" "blico");

  // Keys: Salmos 0, 23 1, its verses 2 and 3; Tobías 4, 1 5, verses 6 and 7
  // (2-3); John 8, 3 9, 16 10. Books go by their numbers in the list of books.
  EXPECT_EQ(reader.GetVSyncKey("19,23,1"), 2);
  EXPECT_EQ(reader.GetVSyncKey("67,1,2"), 7);
  EXPECT_EQ(reader.GetVSyncKey("67,1,3"), 7);
  EXPECT_EQ(reader.GetVSyncKey("43,3,16"), 10);
  // A psalm's title is the line above its first verse, a subscription the line
  // after the last; the sync data names each verse's own line.
  const auto line = [&](int key) {
    cSectionsData section;
    reader.GetSection(key, section);
    SYNC_DATA sync;
    section.GetSyncData(&sync);
    std::string block(static_cast<size_t>(reader.GetViewableBlockSize(static_cast<int>(sync.words.dwValue))), '\0');
    reader.GetViewableBlock(static_cast<int>(sync.words.dwValue), block.data());
    return std::to_string(sync.words.wValue) + ": " + block;
  };
  const std::string psalm = "2: Salmos 23\n\tSalmo de David.\n1 JEHOV\xC1 es mi pastor";
  EXPECT_EQ(line(2).substr(0, psalm.size()), psalm);
  EXPECT_EQ(line(7), "2: Tob\xED" "as 1\n1 Libro de las palabras de Tobit.\n2 En tiempo de Enemessar el rey.\n\tEscrito en "
                     "N\xEDnive.\n");

  // Strong's numbers: the concordance's second language (orva find --strongs
  // shows where they stand, orva read --strongs which words they tag).
  CArray<unsigned short, unsigned short&> languages;
  reader.ListLanguages(languages);
  ASSERT_EQ(languages.GetSize(), 2);
  EXPECT_EQ(languages[0], 1034);
  EXPECT_EQ(languages[1], zalang::kStrongsLanguage);
  reader.Close(ORVA_ALL_OPEN);
}

// A verse-per-line source too: books go by their numbers in the list, a book
// outside it by the next number from 100 on, whatever the source's order.
TEST(BookNumbers, ListedBooksByTheirNamesOthersFrom100) {
  std::istringstream in("Acts of Paul 1:1\ta\nRevelation 1:1\tb\nGenesis 1:1\tc\nLaodicea 1:1\td\n1 Macc 1:1\te\n");
  const BuiltBook built = BuildScriptureBook(ParseScripture(in, "s.txt"), {}, "s.txt");
  TempBookDir dir;
  WriteBookDirectory(dir.Path(), built.files);
  cORVABookBase book;
  PointBookAt(book, dir.Path(), VersionFields(), "verse");
  ASSERT_EQ(book.Open(ORVA_SECTIONS | ORVA_VSYNC), 0);
  EXPECT_EQ(book.GetVSyncKey("100,1,1"), 2);
  EXPECT_EQ(book.GetVSyncKey("66,1,1"), 5);
  EXPECT_EQ(book.GetVSyncKey("1,1,1"), 8);
  EXPECT_EQ(book.GetVSyncKey("101,1,1"), 11);
  EXPECT_EQ(book.GetVSyncKey("76,1,1"), 14);
  EXPECT_EQ(std::string(book.GetPathFromKey(0)), "\\Acts of Paul");
  book.Close(ORVA_ALL_OPEN);
}

}  // namespace
