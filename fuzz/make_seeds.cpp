// Writes the seed inputs of the harnesses into the folder given as the argument, one
// subfolder per harness (named as the harness without "_fuzzer").
#include <cstdio>
#include <string>
#include <vector>

#include "tests/osis_sample.h"
#include "writer/book_dir.h"
#include "writer/concord_writer.h"
#include "writer/sections_writer.h"
#include "writer/text_writer.h"
#include "writer/sync_writer.h"
#include "writer/verses_writer.h"
#include "writer/version_record_writer.h"
#include "writer/vsync_writer.h"

namespace {

void Seed(const std::string& folder, const std::string& name, std::uint8_t control,
          const std::vector<std::uint8_t>& file) {
  orva::writer::ByteWriter input;
  input.U8(control).Bytes(file);
  orva::writer::WriteBookFile(folder, name, input.Data());
}

// open_book: for each part of a book, a valid file of that part (with ids taken
// from the file) and a few damaged ones.
void OpenBookSeeds(const std::string& folder) {
  orva::writer::VersionFields version;
  version.publisherID = 7;
  version.bookID = 42;
  for (std::uint8_t part = 0; part < 9; ++part) {
    const std::string stem = "part" + std::to_string(part);
    std::vector<std::uint8_t> file;
    if (part == 2) {
      orva::writer::SectionsDescription sections;
      sections.version = version;
      file = orva::writer::EncodeSectionsIndex(sections);
    } else if (part == 3) {
      orva::writer::ConcordDescription concord;
      concord.version = version;
      concord.languages.push_back(orva::writer::EmptyLanguage(1031));
      file = orva::writer::EncodeConcordIndex(concord);
    } else if (part == 6) {
      orva::writer::VerseSyncDescription verses;
      verses.version = version;
      file = orva::writer::EncodeVerseSyncIndex(verses);
    } else if (part >= 5) {
      orva::writer::SyncDescription words;
      words.version = version;
      file = orva::writer::EncodeSyncIndex(words);
    } else if (part == 4) {
      orva::writer::VersesDescription verses;
      verses.version = version;
      file = orva::writer::EncodeVersesIndex(verses);
    } else {
      file = orva::writer::EncodeVersionRecord(version);
    }
    Seed(folder, stem + "_valid", static_cast<std::uint8_t>(0x10 | part), file);
    Seed(folder, stem + "_client", static_cast<std::uint8_t>(0x30 | part), file);
    Seed(folder, stem + "_cut", static_cast<std::uint8_t>(0x10 | part),
         std::vector<std::uint8_t>(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2)));
  }
  orva::writer::VersionFields newer = version;
  newer.lcsMajor = 3;
  newer.length = 40;
  Seed(folder, "newer", 0x10, orva::writer::EncodeVersionRecord(newer));
}

// sections: a small tree with glossary entries, side tables and records of
// several sizes, and damaged copies of it.
void SectionsSeeds(const std::string& folder) {
  using orva::writer::SectionEntry;
  orva::writer::SectionsDescription tree;
  tree.version.publisherID = 7;
  tree.version.bookID = 42;
  auto add = [&](const char* name, std::uint8_t level) {
    SectionEntry entry;
    entry.name = name;
    entry.level = level;
    entry.syncWord = static_cast<std::uint32_t>(tree.sections.size());
    entry.wordCount = static_cast<std::uint16_t>(10 * tree.sections.size());
    tree.sections.push_back(entry);
  };
  add("Intro", 1);
  for (const char* book : {"Genesis", "Exodus"}) {
    add(book, 1);
    for (const char* chapter : {"1", "2"}) {
      add(chapter, 2);
      for (const char* verse : {"1", "2", "3"}) add(verse, 3);
    }
  }
  tree.glossary = {SectionEntry{}, SectionEntry{}};
  tree.glossary[0].name = "Aaron";
  tree.glossary[1].name = "Abel";
  tree.nonBible = {0};
  tree.wordCounts = true;
  auto write = [&](const std::string& name, const orva::writer::SectionsDescription& d) {
    orva::writer::WriteBookFile(folder, name, orva::writer::EncodeSectionsIndex(d));
  };
  write("tree", tree);
  for (std::uint16_t size : {25, 40}) {
    orva::writer::SectionsDescription sized = tree;
    sized.recordSize = size;
    write("records" + std::to_string(size), sized);
  }
  orva::writer::SectionsDescription loop = tree;
  loop.sections[10].nextOffset = orva::writer::RecordOffset(tree, 1);   // Exodus -> Genesis -> Exodus
  loop.sections[2].parentOffset = orva::writer::RecordOffset(tree, 4);  // Genesis 1 under its own verse
  write("loop", loop);
  orva::writer::SectionsDescription names = tree;
  names.sections[3].nameLength = -1;
  names.sections[5].nameOffset = 0xFFFFFFF0u;
  write("names", names);
}

// tagged_string: a control byte, a word, a zero byte and a packaged pattern.
void TaggedStringSeeds(const std::string& folder) {
  const struct {
    std::uint8_t control;
    std::string word;
    std::string pattern;
  } kSeeds[] = {
      {0x02, "In <Greek:\xEB\xFC\xE3\xEF\xF2<English: <Hebrew:\xE1\xC0\xCC\xF8<English:.", "in"},
      {0x12, "it's", std::string("it\xADs\xAC\x27\x92")},
      {0x24, "It's me", std::string("it\xADs\xAC\x27\x92\xAC")},
      {0x33, "a<b<Gree<Greek", "<English:<:x"},
      {0x4E, "<Hebrew:\xE1\xCC\xC0", "<Hebrew:\xE1\xC0\xCC"},
      {0x08, "Lord", "lord"},
  };
  int n = 0;
  for (const auto& seed : kSeeds) {
    std::vector<std::uint8_t> input{seed.control};
    input.insert(input.end(), seed.word.begin(), seed.word.end());
    input.push_back(0);
    input.insert(input.end(), seed.pattern.begin(), seed.pattern.end());
    orva::writer::WriteBookFile(folder, "seed" + std::to_string(n++), input);
  }
}

// lzss_decode: the output capacity, then a stream: the format's examples and
// encoded text, whole and cut.
void LzssDecodeSeeds(const std::string& folder) {
  const std::vector<std::vector<std::uint8_t>> examples = {
      {0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}, {0x00, 0x00, 0x00}, {0x01, 'a', 0xEE, 0xF2}};
  int n = 0;
  for (const auto& stream : examples) {
    orva::writer::ByteWriter input;
    input.U16(100).Bytes(stream);
    orva::writer::WriteBookFile(folder, "example" + std::to_string(n++), input.Data());
  }
  const std::string text = orva::writer::SampleTextBook({}).blocks[1];
  const std::vector<std::uint8_t> stream = orva::writer::LzssCompress(text);
  for (std::uint16_t capacity : {static_cast<std::uint16_t>(text.size()), std::uint16_t{40}}) {
    orva::writer::ByteWriter input;
    input.U16(capacity).Bytes(stream);
    orva::writer::WriteBookFile(folder, "text" + std::to_string(capacity), input.Data());
  }
  orva::writer::ByteWriter cut;
  cut.U16(1000).Bytes(stream.data(), stream.size() / 2);
  orva::writer::WriteBookFile(folder, "cut", cut.Data());
}

// text_book: the sample book stored and compressed, each read with a few chunk
// sizes, and with book.dat cut short.
void TextBookSeeds(const std::string& folder) {
  orva::writer::VersionFields version;
  version.publisherID = 7;
  version.bookID = 42;
  for (bool compressed : {false, true}) {
    const orva::writer::TextBook book = orva::writer::SampleTextBook(version, compressed);
    orva::writer::TextDataDescription text;
    text.version = version;
    text.headerText = book.headerText;
    text.blocks = book.blocks;
    text.compressed = compressed;
    orva::writer::EncodedTextData data = orva::writer::EncodeTextData(text);
    orva::writer::ViewableDescription index;
    index.version = version;
    index.descriptors = data.descriptors;
    index.blockCount = book.blockCount;
    index.compression = compressed ? 1 : 0;
    const std::vector<std::uint8_t> indexBytes = orva::writer::EncodeViewableIndex(index);
    const std::string stem = compressed ? "compressed" : "stored";
    for (std::uint8_t control : {0x03, 0x39, 0x52, 0x83}) {
      orva::writer::ByteWriter input;
      input.U8(control).U16(static_cast<std::uint16_t>(indexBytes.size())).Bytes(indexBytes).Bytes(data.bytes);
      orva::writer::WriteBookFile(folder, stem + std::to_string(control), input.Data());
    }
    orva::writer::ByteWriter cut;
    cut.U8(0x29).U16(static_cast<std::uint16_t>(indexBytes.size())).Bytes(indexBytes);
    cut.Bytes(data.bytes.data(), data.bytes.size() - 20);
    orva::writer::WriteBookFile(folder, stem + "_cut", cut.Data());
  }
}

// sync: a control byte (the file), a key length, a key, then a word sync file
// with plain, ambiguous and Hebrew words, and damaged copies of it.
void SyncSeeds(const std::string& folder) {
  orva::writer::SyncDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  const char* const kWords[] = {"alpha", "Beta", "it's", "it\x92s", "its", "<Hebrew:\xE1\xC0\xCC",
                                "<Hebrew:\xE1\xC5", ""};
  std::uint32_t key = 1;
  for (const char* word : kWords) d.words.emplace_back(word, key++);
  auto write = [&](const std::string& name, std::uint8_t control, const std::string& lookUp,
                   const orva::writer::SyncDescription& file) {
    orva::writer::ByteWriter input;
    input.U8(control).U8(static_cast<std::uint8_t>(lookUp.size())).Text(lookUp).Bytes(
        orva::writer::EncodeSyncIndex(file));
    orva::writer::WriteBookFile(folder, name, input.Data());
  };
  write("words", 0, "beta", d);
  write("ambiguous", 0, "it\xADs\xAC\x27\x92", d);
  write("marks", 1, "<Hebrew:\xE1\xCC\xC0<English:\xAD\xAC\x27\x92", d);
  orva::writer::SyncDescription wide = d;
  wide.entrySize = 12;
  wide.headerLength = 20;
  write("wide", 2, "a", wide);
  orva::writer::SyncDescription damaged = d;
  damaged.words[0].wordLength = -1;
  damaged.words[1].wordOffset = 0xFFFFFFF0u;
  damaged.keepOrder = true;
  write("damaged", 0, std::string("\x30\x00\x00\x00", 4), damaged);
}

// vsync: verse sync files of three books, plain, with wide records, and damaged.
void VSyncSeeds(const std::string& folder) {
  orva::writer::VerseSyncDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  d.firstBook = 40;
  d.books.resize(3);
  for (std::uint16_t c = 1; c <= 3; ++c) {
    for (std::uint16_t v = 0; v <= 4; ++v) d.books[0].verses.push_back({c, v, 100u * c + v});
  }
  d.books[2].verses.push_back({1, 1, 7});
  auto write = [&](const std::string& name, const orva::writer::VerseSyncDescription& file) {
    orva::writer::WriteBookFile(folder, name, orva::writer::EncodeVerseSyncIndex(file));
  };
  write("books", d);
  orva::writer::VerseSyncDescription wide = d;
  wide.bookRecordSize = 10;
  wide.verseEntrySize = 12;
  wide.headerLength = 24;
  write("wide", wide);
  orva::writer::VerseSyncDescription damaged = d;
  damaged.books[0].verseCount = 900;
  damaged.books[2].tableOffset = 0xFFFFFFF0u;
  write("damaged", damaged);
}

// verse_reference: references, valid and not.
void VerseReferenceSeeds(const std::string& folder) {
  const char* const kSeeds[] = {"1,2,3", " 2, 3, 4", "3,4,", "1,2", ",1,2", "1,,2", "1,2,3,4", "+2,-3,x"};
  int n = 0;
  for (const char* seed : kSeeds) {
    const std::string text = seed;
    orva::writer::WriteBookFile(folder, "seed" + std::to_string(n++),
                                std::vector<std::uint8_t>(text.begin(), text.end()));
  }
}

// source_text and source_text_build: scripture sources, good and faulty, after
// the byte of options.
void SourceTextSeeds(const std::string& folder) {
  const char* const kSeeds[] = {
      ("\x03Genesis 1:1\tIn the beginning God created the heaven and the earth.\n"
       "Genesis 1:2\tAnd the LORD's earth, Beer-sheba.\nJohn 3:16\tFor God so loved the world.\n"),
      "\x00# comment\n\nSong of Solomon 2:1\tI am the rose of Sharon.\r\n",
      "\x04Genesis 1:1\t\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 e\xCC\x81\n",
      "\x01Genesis 1:2\tok\nGenesis 1:1\tout of order\n",
      "\x02John 3:16", "\x00Jn 3.16", "\x00I John 2", "\x00Phil"};
  int n = 0;
  for (const char* seed : kSeeds) {
    const std::string text = seed[0] ? seed : std::string(1, '\0') + (seed + 1);
    orva::writer::WriteBookFile(folder, "seed" + std::to_string(n++),
                                std::vector<std::uint8_t>(text.begin(), text.end()));
  }
}

// source_osis and source_osis_build: OSIS documents, good and faulty, after the
// byte of options.
void SourceOsisSeeds(const std::string& folder) {
  const std::string kSeeds[] = {
      std::string("\x03") + orva::test::kOsisSample,
      "\x00<osis><osisText><div type=\"book\" osisID=\"Gen\"><verse osisID=\"Gen.1.1 Gen.1.2\">a <note>b</note>c"
      "</verse></div></osisText></osis>",
      "\x01<osis><osisText><div type=\"book\" osisID=\"Foo\"/></osisText></osis>",
      "\x02<osis><verse osisID=\"Gen.1.1\" sID=\"v\"/><w lemma=\"strong:G0",
  };
  int n = 0;
  for (const std::string& text : kSeeds) {
    orva::writer::WriteBookFile(folder, "seed" + std::to_string(n++),
                                std::vector<std::uint8_t>(text.begin(), text.end()));
  }
}

// concord: a concordance of two languages (and one without words) in each layout
// of its lists, with longer records, and damaged copies of it.
void ConcordSeeds(const std::string& folder) {
  using orva::writer::ConcordWord;
  auto word = [](std::u16string text, std::vector<std::uint32_t> keys, std::vector<std::vector<std::uint16_t>> at) {
    ConcordWord w;
    w.text = std::move(text);
    w.keys = std::move(keys);
    w.positions = std::move(at);
    return w;
  };
  orva::writer::ConcordDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  d.languages[0].words = {word(u"apple", {3, 70000}, {{1, 300}, {2}}), word(u"Babel", {5}, {{7}}),
                          word(u"cedar", {1, 2, 3, 100000}, {{4}, {1, 2, 255, 256}, {9}, {60000}}),
                          word(u"dove", {2}, {{1}})};
  orva::writer::ConcordLanguage german;
  german.id = 1031;
  german.words = {word(u"Wort", {7}, {{3}}), word(u"\u00C4hre", {8, 9}, {{1}, {2}})};
  d.languages.push_back(german);
  d.languages.push_back(orva::writer::EmptyLanguage(1036));
  auto write = [&](const std::string& name, const orva::writer::ConcordDescription& c) {
    orva::writer::WriteBookFile(folder, name, orva::writer::EncodeConcordIndex(c));
  };
  for (int layout = 0; layout < 3; ++layout) {
    orva::writer::ConcordDescription c = d;
    c.coded = layout == 2;
    c.narrowPlain = layout == 0;
    write("layout" + std::to_string(layout), c);
    c.languageRecSize = 20;
    for (auto& language : c.languages) language.wordRecSize = 22;
    write("records" + std::to_string(layout), c);
    orva::writer::ConcordLayout where;
    std::vector<std::uint8_t> bytes = orva::writer::EncodeConcordIndex(c, &where);
    bytes[where.words[0][2].record + 7] = 0x40;  // a key count beyond the file
    bytes[where.words[0][0].lists[0]] = 0;       // a position count of 0
    orva::writer::WriteBookFile(folder, "damaged" + std::to_string(layout), bytes);
  }
  d.languages[0].wordCount = 0x10000000;
  write("words", d);
}

// verses: an index of a few books, chapters and verses, plain and coded, each with
// the numbers of a verse in front.
void VersesSeeds(const std::string& folder) {
  using orva::writer::BookEntry;
  using orva::writer::ChapterEntry;
  using orva::writer::VerseEntry;
  using List = std::vector<std::uint32_t>;
  orva::writer::VersesDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  BookEntry genesis{1, List{10, 11}, List{20}, List{30, 31, 32}, {}};
  genesis.chapters = {ChapterEntry{1, List{100}, List{101, 102}, {VerseEntry{1, List{1000, 1001}}, VerseEntry{2, {}}}},
                      ChapterEntry{2, List{200}, {}, {}}};
  BookEntry high{0x8000, List{60}, {}, List{62}, {}};
  high.chapters = {ChapterEntry{0x8001, List{70}, List{71}, {VerseEntry{0xFFFF, List{90, 91, 95}}}}};
  d.books = {genesis, BookEntry{2, List{40}, {}, {}, {}}, high};
  const std::uint16_t kVerses[][3] = {{1, 1, 1}, {0x8000, 0x8001, 0xFFFF}};
  for (bool coded : {false, true}) {
    d.coded = coded;
    d.verseRecSize = coded ? 6 : 8;
    for (const auto& verse : kVerses) {
      orva::writer::ByteWriter input;
      input.U16(verse[0]).U16(verse[1]).U16(verse[2]).Bytes(orva::writer::EncodeVersesIndex(d));
      orva::writer::WriteBookFile(folder, std::string(coded ? "coded" : "plain") + std::to_string(verse[0]),
                                  input.Data());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  OpenBookSeeds(folder + "open_book/");
  SectionsSeeds(folder + "sections/");
  TaggedStringSeeds(folder + "tagged_string/");
  LzssDecodeSeeds(folder + "lzss_decode/");
  TextBookSeeds(folder + "text_book/");
  SyncSeeds(folder + "sync/");
  VSyncSeeds(folder + "vsync/");
  VerseReferenceSeeds(folder + "verse_reference/");
  ConcordSeeds(folder + "concord/");
  VersesSeeds(folder + "verses/");
  SourceTextSeeds(folder + "source_text/");
  SourceTextSeeds(folder + "source_text_build/");
  SourceOsisSeeds(folder + "source_osis/");
  SourceOsisSeeds(folder + "source_osis_build/");
  return 0;
}
