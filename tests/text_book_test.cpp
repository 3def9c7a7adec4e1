// A book's text through the book object: areas, blocks and chunks of stored and
// compressed books, the header's control words and version record, parts that
// are not open, and damaged files.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "writer/text_writer.h"

namespace {

using orva::test::Raised;
using orva::writer::TextDataDescription;
using orva::writer::ViewableDescription;

std::string Pattern(size_t size, const char* words) {
  std::string text;
  while (text.size() < size) text += words;
  return text.substr(0, size);
}

const std::string kPreamble = Pattern(100, "<preamble/>");
const std::string kVerses = Pattern(300, "And the water heard the word and was still. ");
const std::string kLong = Pattern(5000, "Long further block, read bare or as an area. ");

class TextBookTest : public orva::test::SkeletonBookTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    SkeletonBookTest::SetUp();
    Write([](TextDataDescription&, ViewableDescription&) {});
  }

  bool Compressed() const { return GetParam(); }

  // Writes the book (blocks: the preamble, 300 bytes of verses, an empty block and
  // a long further block), letting `change` alter the descriptions first.
  void Write(const std::function<void(TextDataDescription&, ViewableDescription&)>& change) {
    TextDataDescription text;
    text.version = m_version;
    text.headerText = orva::writer::ControlWord("TITLE", "Sample");
    text.blocks = {kPreamble, kVerses, "", kLong};
    text.compressed = Compressed();
    ViewableDescription index;
    index.version = m_version;
    index.compression = Compressed() ? 1 : 0;
    index.blockCount = 1;
    index.descriptors = orva::writer::EncodeTextData(text).descriptors;
    change(text, index);
    Replace("book.dat", orva::writer::EncodeTextData(text).bytes);
    Replace("viewable.idx", orva::writer::EncodeViewableIndex(index));
  }

  void Open(cORVABookBase& book, DWORD bits = ORVA_TEXT | ORVA_VIEWABLE) {
    Point(book);
    ASSERT_EQ(book.Open(bits), 0);
  }

  static std::string Area(cORVABookBase& book, int area) {
    std::string text(static_cast<size_t>(book.GetViewableAreaSize(area)), '\0');
    EXPECT_EQ(book.GetViewableArea(area, text.data()), 0);
    return text;
  }

  static std::string Block(cORVABookBase& book, int block) {
    std::string text(static_cast<size_t>(book.GetViewableBlockSize(block)), '\0');
    EXPECT_EQ(book.GetViewableBlock(block, text.data()), 0);
    return text;
  }

  // The chunk lengths of area `area` read in chunks of `size`, up to the first 0;
  // the chunks themselves are appended to `text`.
  static std::vector<int> Chunks(cORVABookBase& book, int area, unsigned size, std::string& text) {
    std::vector<char> buffer(size);
    std::vector<int> lengths{book.GetFirstViewableAreaChunk(area, size, buffer.data())};
    for (;;) {
      text.append(buffer.data(), static_cast<size_t>(lengths.back()));
      if (lengths.back() == 0 || lengths.size() > 100) return lengths;
      lengths.push_back(book.GetNextViewableAreaChunk(buffer.data()));
    }
  }
};

TEST_P(TextBookTest, AreasBlocksAndChunksOfEachBookObject) {
  cORVABookBase book;
  Open(book);
  EXPECT_EQ(book.GetViewableAreaSize(1), 400);
  EXPECT_EQ(Area(book, 1), kPreamble + kVerses);
  std::string chunks;
  EXPECT_EQ(Chunks(book, 1, 256, chunks), (std::vector<int>{256, 144, 0}));
  EXPECT_EQ(chunks, kPreamble + kVerses);
  EXPECT_EQ(book.GetNextViewableAreaChunk(chunks.data()), 0) << "an exhausted area stays exhausted";
  chunks.clear();
  EXPECT_EQ(Chunks(book, 3, 4096, chunks), (std::vector<int>{4096, 1004, 0}));
  EXPECT_EQ(chunks, kPreamble + kLong);
  chunks.clear();
  EXPECT_EQ(Chunks(book, 1, 1000, chunks), (std::vector<int>{400, 0}));
  EXPECT_EQ(Chunks(book, 1, 0, chunks), (std::vector<int>{0}));
  EXPECT_EQ(book.GetNextViewableAreaChunk(nullptr), 0) << "a chunk size of 0 never advances";

  EXPECT_EQ(book.GetViewableBlockSize(0), 100);
  EXPECT_EQ(Block(book, 0), kPreamble);
  EXPECT_EQ(Area(book, 0), kPreamble + kPreamble);
  EXPECT_EQ(Block(book, 3), kLong) << "the further blocks (B) count too";

  const std::string untouched(8192, 'u');
  std::string buffer = untouched;
  EXPECT_EQ(book.GetViewableAreaSize(2), 0) << "an empty block makes an empty area";
  EXPECT_EQ(book.GetViewableArea(2, buffer.data()), 0);
  EXPECT_EQ(buffer, untouched);

  for (int invalid : {4, -1}) {
    EXPECT_EQ(book.GetViewableAreaSize(invalid), 0);
    EXPECT_EQ(book.GetViewableBlockSize(invalid), 0);
    EXPECT_EQ(book.GetViewableArea(invalid, buffer.data()), 1);
    EXPECT_EQ(book.GetViewableBlock(invalid, buffer.data()), 1);
    EXPECT_EQ(book.GetFirstViewableAreaChunk(invalid, 16, buffer.data()), 0);
  }
  EXPECT_EQ(buffer, untouched);

  // Book objects of one store can interleave their chunks.
  cORVABookBase first;
  Open(first);
  std::vector<char> a(64), b(64);
  std::string textA(a.data(), static_cast<size_t>(first.GetFirstViewableAreaChunk(3, 64, a.data())));
  std::string textB(b.data(), static_cast<size_t>(book.GetFirstViewableAreaChunk(1, 64, b.data())));
  for (int n; (n = first.GetNextViewableAreaChunk(a.data())) != 0;) {
    textA.append(a.data(), static_cast<size_t>(n));
    if ((n = book.GetNextViewableAreaChunk(b.data())) != 0) textB.append(b.data(), static_cast<size_t>(n));
  }
  EXPECT_EQ(textA, kPreamble + kLong);
  EXPECT_EQ(textB, kPreamble + kVerses);
}

TEST_P(TextBookTest, PartsThatAreNotOpen) {
  cORVABookBase index;
  Open(index, ORVA_VIEWABLE);
  EXPECT_EQ(index.GetViewableBlockSize(1), 300);
  EXPECT_ORVA_FILE_EXCEPTION(index.GetViewableAreaSize(1), CFileException::generic) << "book.dat is needed";
  char buffer[512];
  sVersionRecord record;
  EXPECT_ORVA_FILE_EXCEPTION(index.GetViewableArea(1, buffer), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(index.GetViewableBlock(1, buffer), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(index.GetFirstViewableAreaChunk(1, 16, buffer), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(index.GetNextViewableAreaChunk(buffer), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(index.GetBookHeaderData(record), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(index.GetHeaderControlWordData("TITLE"), CFileException::generic);

  cORVABookBase text;
  Open(text, ORVA_TEXT);
  EXPECT_EQ(index.GetViewableAreaSize(1), 400) << "book.dat is open in the store now";
  EXPECT_ORVA_FILE_EXCEPTION(text.GetViewableAreaSize(1), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(text.GetViewableBlockSize(1), CFileException::generic);
  EXPECT_EQ(text.GetHeaderControlWordData("TITLE"), "Sample");
  text.Close(ORVA_ALL_OPEN);
  EXPECT_EQ(index.GetViewableAreaSize(1), 400) << "the preamble stays loaded after book.dat closes";
}

TEST_P(TextBookTest, ControlWordsAndTheHeaderRecord) {
  using orva::writer::ControlWord;
  const std::string header = ControlWord("TITLE", "Sample") + ControlWord("LANG", "en") + ControlWord("A", "") +
                             ControlWord("B", "x") + ControlWord("B", "y") + "{\\NOTE:abc";
  Write([&](TextDataDescription& text, ViewableDescription&) { text.headerText = header; });
  cORVABookBase book;
  Open(book);
  const std::pair<const char*, const char*> kCases[] = {
      {"TITLE", "Sample"}, {"LANG", "en"}, {"lang", ""}, {"ITLE", ""}, {"TI", ""},
      {"A", ""},           {"B", "x"},     {"NOTE", "abc"}, {"MISSING", ""}};
  for (const auto& c : kCases) EXPECT_EQ(book.GetHeaderControlWordData(c.first), c.second) << c.first;
  book.Close(ORVA_ALL_OPEN);

  // The search ends at a zero byte; a short version record is copied as far as it goes.
  m_version.length = 12;
  Write([&](TextDataDescription& text, ViewableDescription&) {
    text.headerText = ControlWord("A", "1") + std::string(1, '\0') + ControlWord("B", "2");
  });
  Open(book);
  EXPECT_EQ(book.GetHeaderControlWordData("A"), "1");
  EXPECT_EQ(book.GetHeaderControlWordData("B"), "");
  sVersionRecord record;
  std::memset(&record, 0xCD, sizeof record);
  book.GetBookHeaderData(record);
  std::vector<std::uint8_t> expected = orva::writer::EncodeVersionRecord(m_version);
  expected.resize(18, 0xCD);
  EXPECT_EQ(orva::test::BytesOf(record), expected);
}

TEST_P(TextBookTest, DamageRaisesTheFileExceptionWithoutLargeAllocations) {
  const auto raisedBy = [&](const std::function<void(ViewableDescription&)>& damage, int area = 1) {
    Write([&](TextDataDescription&, ViewableDescription& index) { damage(index); });
    cORVABookBase book;
    Open(book);
    orva::test::ResetLargestAllocation();
    std::string buffer(1 << 16, '\0');
    const std::string cause = Raised([&] { book.GetViewableArea(area, buffer.data()); });
    // A second try fails the same way: a failed preamble is not kept.
    EXPECT_EQ(Raised([&] { book.GetViewableArea(area, buffer.data()); }), cause);
    EXPECT_LT(orva::test::LargestAllocation(), 1u << 20) << cause;
    return cause;
  };
  const std::string endOfFile = "14/-1/", generic = "1/-1/";
  EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[1].dwOffset = 100000; }), endOfFile);
  EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[0].dwOffset += 10000; }), endOfFile);
  EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.areaCount = 10; }, 7), endOfFile) << "past the table";
  EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.recordSize = 8; }), generic);
  EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.compression = 2; }), generic);
  EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[0].dwTextSize = 0xFFFFFFFF; }), generic);
  if (Compressed()) {
    EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[1].dwTextSize += 1; }), generic);
    EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[0].dwStoredSize = 0xFFFFFFFF; }), endOfFile);
    EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[0].dwTextSize = 0x7FFFFFFF; }), generic)
        << "more than a stream of its stored size can give";
  } else {
    EXPECT_EQ(raisedBy([](ViewableDescription& i) { i.descriptors[0].dwTextSize = 0x7FFFFFFF; }), endOfFile);
  }

  // Counts whose sum is negative as a 32-bit number leave no valid block: the
  // members answer with their failure values instead of reading.
  Write([](TextDataDescription&, ViewableDescription& index) {
    index.areaCount = 0x80000000u;
    index.blockCount = 2;
  });
  {
    cORVABookBase book;
    Open(book);
    char buffer[16];
    EXPECT_EQ(Raised([&] {
                EXPECT_EQ(book.GetViewableAreaSize(1), 0);
                EXPECT_EQ(book.GetViewableArea(1, buffer), 1);
                EXPECT_EQ(book.GetFirstViewableAreaChunk(1, 16, buffer), 0);
              }),
              "none");
  }

  // A block longer than its text size (a compressed one decodes to more) is cut to it.
  Write([](TextDataDescription&, ViewableDescription& index) { index.descriptors[1].dwTextSize -= 1; });
  cORVABookBase book;
  Open(book);
  EXPECT_EQ(Area(book, 1), kPreamble + kVerses.substr(0, 299));
  // The header text's length runs past the end of the file.
  std::vector<std::uint8_t> bytes = orva::writer::EncodeVersionRecord(m_version);
  bytes.insert(bytes.end(), {0xFF, 0xFF, 0, 0});
  book.Close(ORVA_ALL_OPEN);
  Replace("book.dat", bytes);
  Open(book);
  EXPECT_ORVA_FILE_EXCEPTION(book.GetHeaderControlWordData("TITLE"), CFileException::endOfFile);
  book.Close(ORVA_ALL_OPEN);
  // The index header's length runs past the end of the file.
  bytes = orva::writer::EncodeVersionRecord(m_version);
  bytes.insert(bytes.end(), {0xFF, 0xFF});
  bytes.resize(bytes.size() + 30, 0);
  Replace("viewable.idx", bytes);
  EXPECT_ORVA_FILE_EXCEPTION(book.Open(ORVA_VIEWABLE), CFileException::endOfFile);
}

INSTANTIATE_TEST_SUITE_P(StoredAndCompressed, TextBookTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Compressed" : "Stored";
                         });

}  // namespace
