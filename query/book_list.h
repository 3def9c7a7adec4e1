// The one numbering of the books of the Bible that every book uses, whatever the
// order of its source: the number of a book in a verse reference (book, chapter,
// verse: the verse sync index and the verses index) is its place in this list.
//
//   1-39   Genesis ... Malachi, 40-66 Matthew ... Revelation, in the usual order;
//   67 Tobit, 68 Judith, 69 Esther (Greek), 70 Wisdom of Solomon, 71 Sirach,
//   72 Baruch, 73 Prayer of Azariah, 74 Susanna, 75 Bel and the Dragon,
//   76 1 Maccabees, 77 2 Maccabees, 78 1 Esdras, 79 Prayer of Manasseh,
//   80 Psalm 151, 81 3 Maccabees, 82 2 Esdras, 83 4 Maccabees, 84 Letter of
//   Jeremiah, 85 Additions to Esther, 86 Daniel (Greek), 87 Additions to Daniel,
//   88 Odes, 89 Psalms of Solomon, 90 Laodiceans.
//
// So 43,3,16 is John 3:16 in every book of a library. A book that is not in the
// list (a verse-per-line source may name any book) is numbered from
// kFirstUnlistedBook on, in the order its source gives such books.
#pragma once

#include <string>

namespace orva::query {

struct ListedBook {
  int number;
  const char* osisID;         // as OSIS documents name it: "Gen", "1Macc"
  const char* name;           // the usual English name: "Genesis", "1 Maccabees"
  const char* abbreviations;  // the usual English abbreviations, normalised, blank-separated
};

constexpr int kListedBooks = 90;
constexpr int kFirstUnlistedBook = 100;

// Book `number` of the list (1 ... kListedBooks), or null.
const ListedBook* ListedBookAt(int number);

// The number of the book that an OSIS document calls `osisID` (exactly, as the
// list writes it), 0 for none.
int BookNumberOfOsisID(const std::string& osisID);

// The number of the book that `name` names in English: its name or one of its
// usual abbreviations, compared normalised (NormaliseBookName); 0 for none.
int BookNumberOfEnglishName(const std::string& name);

// A book name as names are compared: lower case (ASCII letters), "I", "II", "III",
// "First", "1st" ... before a name as the digit, without blanks and dots:
// "II Kings" and "2 Kgs." normalise to "2kings" and "2kgs".
std::string NormaliseBookName(const std::string& name);

}  // namespace orva::query
