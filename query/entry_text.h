// The text of the entries of lexicons, topical indexes, reading plans and
// glossaries that the book builder makes (writer/book_builder.h says how they
// are laid out): paragraphs apart at tabs, and references written inline that a
// reader can follow into other books of a library.
//
// A reference is written
//     {\TYPE:KEY}        or        {\TYPE:KEY|SHOWN}
// TYPE is the sync type of the books it leads into, KEY a key of their sync
// index, SHOWN the text that stands in the entry for it (KEY itself when there is
// no "|"). KEY holds no "|", "}" or tab, SHOWN no "}" or tab.
//   verse    a place of the Bible by the one numbering of books
//            (query/book_list.h): "B,C,V" a verse, "B,C" a whole chapter,
//            "B" a whole book, or a range of two places of one form, of verses
//            within one chapter or chapters within one book: "19,34,1-19,34,8",
//            "1,1-1,3". A verse sync index (GetVSyncKey) finds the first verse of
//            a place: B,C,V as it is, B,C,1 for a chapter, B,1,1 for a book.
//   strongs  a Strong's number, "G25" or "H430" (the letter and the number
//            without leading zeros): GetSSyncKey of a lexicon.
//   word     a headword or topic: GetWSyncKey of a glossary or topical index.
//   date     "MM-DD": GetDSyncKey of a reading plan.
// A "{\" that begins no such reference is text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orva::query {

struct InlineReference {
  std::string type;   // "verse", "strongs", "word" or "date"
  std::string key;
  std::string shown;  // KEY when the reference gives none
  size_t begin = 0, end = 0;  // where it stands in the text it was found in: [begin, end)
};

// The reference that begins at `text[at]`; false (and `found` unchanged) when none
// does. Looks at most at the rest of the paragraph (up to a tab).
bool ReferenceAt(const std::string& text, size_t at, InlineReference& found);

// An entry's text as a reader shows it: its paragraphs, each reference replaced by
// its shown text, and the references in order with where each stands in its
// paragraph (byte offsets of the shown text).
struct ShownEntry {
  std::vector<std::string> paragraphs;
  struct Place {
    InlineReference reference;  // begin and end: in paragraphs[paragraph]
    size_t paragraph = 0;
  };
  std::vector<Place> references;
};
ShownEntry ShowEntryText(const std::string& text);
// The same as one text: the shown paragraphs apart at tabs, as they were stored.
std::string ShownText(const std::string& text);

// A place of a verse key: chapter 0 names a whole book, verse 0 a whole chapter.
struct VersePlace {
  int book = 0, chapter = 0, verse = 0;
};
// The places of a verse key ("43,3,16", "19,34,1-19,34,8", "1,1-1,3", "66");
// false when `key` is no verse key (numbers from 1 to 65535; a range of one form,
// within one chapter or book, not descending).
bool ParseVerseKey(const std::string& key, VersePlace& first, VersePlace& last);

// The key that a sync index of `syncType` stores for what a person types:
// strongs "G0025", "g25" -> "G25"; date "12-25", "1-5" -> "12-25", "01-05", and
// "today" the day of `today` ("MM-DD"); a word or verse key as it is. Empty when
// `typed` is no key of that type (a Strong's number or date that is not one).
std::string SyncKeyOf(const std::string& syncType, const std::string& typed, const std::string& today = "");

// Today's date in the local time zone, "MM-DD".
std::string Today();

}  // namespace orva::query
