// The book check over books the builder makes, each damaged at a chosen place:
// sound books pass, and each kind of damage is named by file and place.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "files/endian.h"
#include "orvada.h"
#include "query/check.h"
#include "writer/book_builder.h"
#include "writer/book_dir.h"

namespace {

using orva::DecodeU16;
using orva::DecodeU32;
using orva::EncodeU32;
using orva::query::BookCheck;
using Bytes = std::vector<std::uint8_t>;

// Keys: Genesis 0, Genesis 1 1, its verses 2 to 4; John 5, John 1 6, John 1:5 7;
// Psalms 8, Psalms 119 9, its verses 10 to 39. Books are numbered 1, 43, 19.
std::string Source() {
  std::string text =
      "Genesis 1:1\tIn the beginning God created the heaven and the earth.\n"
      "Genesis 1:2\tAnd the earth was without form, and void.\n"
      "Genesis 1:3\tAnd God said, Let there be light: and there was light.\n"
      "John 1:5\tAnd the light shineth in darkness.\n";
  for (int verse = 1; verse <= 30; ++verse) text += "Psalms 119:" + std::to_string(verse) + "\tBlessed are they.\n";
  return text;
}

class BookCheckTest : public ::testing::Test {
 protected:
  void Build(bool coded, bool compressed) {
    orva::writer::BookOptions options;
    options.coded = coded;
    options.compress = compressed;
    std::istringstream in(Source());
    Keep(orva::writer::BuildScriptureBook(orva::writer::ParseScripture(in, "bible.txt"), options, "bible.txt"));
  }
  void Keep(const orva::writer::BuiltBook& book) {
    m_files.clear();
    for (const orva::writer::BookFile& file : book.files) m_files[file.name] = file.bytes;
  }

  // The folder checked; its lines "file: place: message".
  BookCheck Check() {
    for (const char* name :
         {"book.dat", "viewable.idx", "sections.idx", "concord.idx", "verses.idx", "vsync.idx", "wsync.idx"}) {
      m_dir.RemoveFile(name);
    }
    for (const auto& [name, bytes] : m_files) m_dir.WriteFile(name, bytes);
    return orva::query::CheckBookFolder(m_dir.Path());
  }
  std::vector<std::string> Faults() {
    const BookCheck check = Check();
    std::vector<std::string> lines;
    for (const auto& f : check.faults) lines.push_back(f.file + ": " + f.place + ": " + f.message);
    EXPECT_EQ(check.faultCount, static_cast<long long>(lines.size()));
    return lines;
  }

  // Where the index file's header record begins, and where it ends.
  std::uint32_t HeaderAt(const std::string& name) { return DecodeU16(m_files[name].data()); }
  std::uint32_t TableAt(const std::string& name) {
    return HeaderAt(name) + DecodeU16(m_files[name].data() + HeaderAt(name));
  }

  std::map<std::string, Bytes> m_files;
  orva::writer::TempBookDir m_dir;
};

TEST_F(BookCheckTest, SoundBooksPass) {
  std::istringstream in("Abba\tfather\nbread\tfood made of flour\nbreak\tto part\n");
  Keep(orva::writer::BuildGlossaryBook(orva::writer::ParseDictionary(in, "words.txt"), {}, "words.txt"));
  EXPECT_TRUE(Check().Sound());
  for (const bool coded : {false, true}) {
    Build(coded, coded);
    const BookCheck check = Check();
    EXPECT_TRUE(check.Sound()) << (check.faults.empty() ? "" : check.faults[0].message);
    EXPECT_EQ(check.checked.size(), 5u);
  }

  // A host's open book object (on the coded book in the folder): the concordance
  // keeps its current language.
  cORVABookBase book;
  orva::writer::PointBookAt(book, m_dir.Path(), {}, "verse");
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | ORVA_VERSES | ORVA_VSYNC), 0);
  EXPECT_TRUE(orva::query::CheckBook(book).Sound());
  EXPECT_EQ(book.GetCurrentLanguage(), 1033);
}

TEST_F(BookCheckTest, FlippedBytesInAPositionList) {
  Build(true, true);
  Check();
  cORVABookBase book;
  orva::writer::PointBookAt(book, m_dir.Path(), {}, "verse");
  ASSERT_EQ(book.Open(ORVA_CONCORD), 0);
  cLanguageString light("light", 1033);
  sWordListRec record{};
  ASSERT_NE(book.GetWordListRecord(light, record), -1);
  book.Close(ORVA_ALL_OPEN);
  // Two keys: the position directory holds the span, then where the first list
  // (Genesis 1:3, the positions 7 and 11) begins: its count, then its bits.
  const std::uint32_t list = DecodeU32(m_files["concord.idx"].data() + record.lists.coded.dwPositionDirectory + 4);
  ASSERT_EQ(DecodeU16(m_files["concord.idx"].data() + list), 2);

  m_files["concord.idx"][list] ^= 0x40;  // 66 positions: the list runs on into the next ones
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          "concord.idx: word \"light\", key 4 (Genesis\\1\\3): position 82 lies outside the "
                          "position range 12 (66 positions)",
                          "concord.idx: key 4 (Genesis\\1\\3): the concordance lists 9 words there, sections.idx "
                          "counts 11"}));
  m_files["concord.idx"][list] ^= 0x40;
  m_files["concord.idx"][list + 2] ^= 0x30;  // as many positions, in the verse's range
  EXPECT_EQ(Faults(), std::vector<std::string>{"concord.idx: word \"light\", key 4 (Genesis\\1\\3): position 4 is "
                                               "listed for another word too"});
}

TEST_F(BookCheckTest, ParentLinkThatDisagreesWithTheLevel) {
  Build(false, false);
  Bytes& sections = m_files["sections.idx"];
  const std::uint32_t first = TableAt("sections.idx");
  const std::uint32_t size = DecodeU16(sections.data() + HeaderAt("sections.idx") + 10);
  EncodeU32(sections.data() + first + 4 * size, first);  // Genesis 1:3 under Genesis
  EXPECT_EQ(Faults(), std::vector<std::string>{"sections.idx: key 4 (Genesis\\3): its parent link names key 0 "
                                               "(Genesis), but its parent is key 1 (Genesis\\1)"});
}

TEST_F(BookCheckTest, TextBlockThatDecodesToAnotherSize) {
  Build(true, true);
  // Descriptor 1 (Genesis 1) in viewable.idx: position, text size, stored size.
  const std::uint32_t textSize = TableAt("viewable.idx") + 12 + 4;
  const std::uint32_t size = DecodeU32(m_files["viewable.idx"].data() + textSize);
  EncodeU32(m_files["viewable.idx"].data() + textSize, size + 1);
  EXPECT_EQ(Faults(), std::vector<std::string>{"book.dat: block 1: does not decode to its text size of " +
                                               std::to_string(size + 1) + " bytes"});
  EncodeU32(m_files["viewable.idx"].data() + textSize, size - 1);
  EXPECT_EQ(Faults(), std::vector<std::string>{"book.dat: block 1: decodes to more than its text size of " +
                                               std::to_string(size - 1) + " bytes"});
}

TEST_F(BookCheckTest, VerseSyncKeysOfChapters) {
  Build(true, false);
  // Book 1's record is the first of the book table: its verse table, whose first
  // entry (1:1 -> key 2) is set to Genesis 1; then every Psalm's entry to Psalms 119.
  Bytes& sync = m_files["vsync.idx"];
  const std::uint32_t table = TableAt("vsync.idx");
  const std::uint16_t bookSize = DecodeU16(sync.data() + HeaderAt("vsync.idx") + 6);
  EncodeU32(sync.data() + DecodeU32(sync.data() + table) + 4, 1);
  EXPECT_EQ(Faults(), std::vector<std::string>{"vsync.idx: verse 1,1,1: names key 1 (Genesis\\1), but verses.idx "
                                               "lists key 2 (Genesis\\1\\1) for it"});
  m_files.erase("verses.idx");
  EXPECT_EQ(Faults(), std::vector<std::string>{"vsync.idx: verse 1,1,1: names key 1 (Genesis\\1), a section with "
                                               "sections below it, not a verse"});

  const std::uint32_t psalms = DecodeU32(sync.data() + table + 18 * bookSize);
  for (std::uint32_t entry = 0; entry < 30; ++entry) EncodeU32(sync.data() + psalms + 8 * entry + 4, 9);
  const BookCheck check = Check();
  EXPECT_EQ(check.faultCount, 31);
  EXPECT_EQ(check.faults.size(), static_cast<size_t>(BookCheck::kListedPerKind));
  ASSERT_EQ(check.unlisted.size(), 1u);
  EXPECT_EQ(check.unlisted[0].file + " " + check.unlisted[0].kind + " " + std::to_string(check.unlisted[0].count),
            "vsync.idx verse 11");
}

}  // namespace
