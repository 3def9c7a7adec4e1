// The concordance header and its language table: what opening the concordance and
// selecting a language read from the file.
#include <gtest/gtest.h>

#include "test_support.h"
#include "writer/concord_writer.h"

namespace orva::test {
namespace {

class ConcordLanguageTest : public SkeletonBookTest {
 protected:
  void WriteConcord(const writer::ConcordDescription& concord) { Replace("concord.idx", writer::EncodeConcordIndex(concord)); }
  writer::ConcordDescription Concord(std::vector<writer::ConcordLanguage> languages) {
    writer::ConcordDescription concord;
    concord.version = m_version;
    concord.languages = std::move(languages);
    return concord;
  }
};

TEST_F(ConcordLanguageTest, SelectsAmongLanguagesOfPlainCodedAndLongRecordTables) {
  for (int layout = 0; layout < 3; ++layout) {
    auto concord = Concord({{1031, 5, 0, 18, 0}, {1033, 3, 0, 18, 0}, {1032, 9, 0, 18, 0}});
    concord.coded = layout == 1;  // a key range field then sits before the table
    concord.keyRange = 0xDEADBEEF;
    concord.languageRecSize = layout == 2 ? 23 : 16;
    WriteConcord(concord);

    cORVABookBase book;
    Point(book);
    ASSERT_EQ(book.Open(ORVA_CONCORD), 0) << layout;
    EXPECT_EQ(book.GetCurrentLanguage(), 1033) << layout;
    EXPECT_EQ(book.SelectCurrentLanguage(1032, nullptr), 0) << layout;
    EXPECT_EQ(book.GetCurrentLanguage(), 1032) << layout;
    EXPECT_EQ(book.SelectCurrentLanguage(1031, nullptr), 0) << layout;
    EXPECT_EQ(book.GetCurrentLanguage(), 1031) << layout;
    // A language the file lacks: 1, and the table's last language is current.
    EXPECT_EQ(book.SelectCurrentLanguage(1036, nullptr), 1) << layout;
    EXPECT_EQ(book.GetCurrentLanguage(), 1032) << layout;
    book.Close(ORVA_ALL_OPEN);
  }
}

TEST_F(ConcordLanguageTest, TheCurrentLanguageIsSharedByBooksOfOneStore) {
  WriteConcord(Concord({{1033, 1, 0, 18, 0}, {1037, 1, 0, 18, 0}}));
  cORVABookBase first, second;
  Point(first);
  Point(second);
  ASSERT_EQ(first.Open(ORVA_CONCORD), 0);
  ASSERT_EQ(second.Open(ORVA_CONCORD), 0);
  EXPECT_EQ(first.SelectCurrentLanguage(1037, nullptr), 0);
  EXPECT_EQ(second.GetCurrentLanguage(), 1037);
}

TEST_F(ConcordLanguageTest, DamagedTablesRaiseEndOfFileInsteadOfReadingPastTheFile) {
  // Three languages announced, one written: selecting 1033 at open runs off the end.
  auto concord = Concord({{1031, 0, 0, 18, 0}});
  auto bytes = writer::EncodeConcordIndex(concord);
  bytes[m_version.length + 2] = 3;
  Replace("concord.idx", bytes);
  cORVABookBase book;
  Point(book);
  EXPECT_ORVA_FILE_EXCEPTION(book.Open(ORVA_CONCORD), CFileException::endOfFile);
  book.Close(ORVA_ALL_OPEN);

  // A header record that claims more bytes than the file has fails the open itself
  // and leaves nothing open.
  auto cut = writer::EncodeConcordIndex(Concord({}));
  cut[m_version.length] = 0xFF;
  Replace("concord.idx", cut);
  cORVABookBase other;
  Point(other);
  EXPECT_ORVA_FILE_EXCEPTION(other.Open(ORVA_CONCORD), CFileException::endOfFile);
  EXPECT_FALSE(other.IsOpen(ORVA_CONCORD));
}

}  // namespace
}  // namespace orva::test
