// The concordance header and its language table: the language chosen on open and
// by SelectCurrentLanguage.
#include <gtest/gtest.h>

#include "test_support.h"
#include "writer/concord_writer.h"

namespace orva::test {
namespace {

class ConcordLanguageTest : public SkeletonBookTest {
 protected:
  writer::ConcordDescription Concord(std::vector<writer::ConcordLanguage> languages) {
    writer::ConcordDescription concord;
    concord.version = m_version;
    concord.languages = std::move(languages);
    return concord;
  }
};

TEST_F(ConcordLanguageTest, SelectsAmongLanguagesOfPlainCodedAndLongRecordTables) {
  for (int layout = 0; layout < 3; ++layout) {
    SCOPED_TRACE(layout);
    auto concord = Concord({writer::EmptyLanguage(1031, 5), writer::EmptyLanguage(1033, 3), writer::EmptyLanguage(1032, 9)});
    concord.coded = layout == 1;  // a key range field then sits before the table
    concord.keyRange = 0xDEADBEEF;
    concord.languageRecSize = layout == 2 ? 23 : 16;
    Replace("concord.idx", writer::EncodeConcordIndex(concord));
    cORVABookBase book;
    Point(book);
    ASSERT_EQ(book.Open(ORVA_CONCORD), 0);
    EXPECT_EQ(book.GetCurrentLanguage(), 1033);
    for (unsigned short lang : {1032, 1031}) {
      EXPECT_EQ(book.SelectCurrentLanguage(lang, nullptr), 0);
      EXPECT_EQ(book.GetCurrentLanguage(), lang);
    }
    EXPECT_EQ(book.SelectCurrentLanguage(1036, nullptr), 1);
    EXPECT_EQ(book.GetCurrentLanguage(), 1032) << "a missing language leaves the table's last one current";
  }
}

TEST_F(ConcordLanguageTest, SelectionOpensTheConcordanceWhenItCan) {
  Replace("concord.idx", writer::EncodeConcordIndex(Concord({writer::EmptyLanguage(1031), writer::EmptyLanguage(1033)})));
  cORVABookBase book, sharer;
  Point(book);
  Point(sharer);
  EXPECT_EQ(book.SelectCurrentLanguage(1031, nullptr), 0);
  EXPECT_EQ(book.OpenFlags(), ORVA_CONCORD);
  EXPECT_EQ(book.GetCurrentLanguage(), 1031);
  // The current language belongs to the store: a second opener resets it to 1033.
  ASSERT_EQ(sharer.Open(ORVA_CONCORD), 0);
  EXPECT_EQ(book.GetCurrentLanguage(), 1033);
  EXPECT_EQ(sharer.SelectCurrentLanguage(1031, nullptr), 0);
  EXPECT_EQ(book.GetCurrentLanguage(), 1031);
  sharer.Close(ORVA_ALL_OPEN);
  book.Close(ORVA_ALL_OPEN);

  // Without a concordance path neither call opens anything, nor calls the other
  // forever: each runs the open hooks once.
  HookBook pathless;
  Point(pathless);
  pathless.SetConcordPath("");
  EXPECT_EQ(pathless.SelectCurrentLanguage(1033, nullptr), 1);
  EXPECT_EQ(pathless.Open(ORVA_CONCORD | ORVA_TEXT), 0);
  EXPECT_EQ(pathless.pre, (std::vector<DWORD>{ORVA_CONCORD, ORVA_CONCORD | ORVA_TEXT}));
  EXPECT_EQ(pathless.post, pathless.pre);
  EXPECT_EQ(pathless.OpenFlags(), ORVA_TEXT);
  pathless.Close(ORVA_TEXT);

  // A PreOpenFiles that supplies the path lets the selection open the concordance.
  struct PathSupplier : HookBook {
    int PreOpenFiles(DWORD request) override {
      SetConcordPath(dir.c_str());
      return HookBook::PreOpenFiles(request);
    }
    std::string dir;
  } supplied;
  Point(supplied);
  supplied.SetConcordPath("");
  supplied.dir = m_dir.Path();
  EXPECT_EQ(supplied.SelectCurrentLanguage(1031, nullptr), 0);
  EXPECT_EQ(supplied.GetCurrentLanguage(), 1031);
  supplied.Close(ORVA_ALL_OPEN);
  book.SetConcordPath(m_dir.Path().c_str());
  m_dir.RemoveFile("concord.idx");
  EXPECT_EQ(book.SelectCurrentLanguage(1033, nullptr), 1);
  EXPECT_TRUE(book.IsClosed());
}

TEST_F(ConcordLanguageTest, DamagedTablesRaiseEndOfFileInsteadOfReadingPastTheFile) {
  // Three languages announced, one written: selecting 1033 at open runs off the
  // end. A header record that claims more bytes than the file has fails the open.
  auto threeAnnounced = writer::EncodeConcordIndex(Concord({writer::EmptyLanguage(1031)}));
  threeAnnounced[m_version.length + 2] = 3;
  auto longHeader = writer::EncodeConcordIndex(Concord({}));
  longHeader[m_version.length] = 0xFF;
  for (const auto& bytes : {threeAnnounced, longHeader}) {
    Replace("concord.idx", bytes);
    cORVABookBase book;
    Point(book);
    EXPECT_ORVA_FILE_EXCEPTION(book.Open(ORVA_CONCORD), CFileException::endOfFile);
  }
}

}  // namespace
}  // namespace orva::test
