// Strong's numbers of a book's words. A book made from a source that tags its
// words with them keeps them in its concordance under a language of their own
// (writer/book_builder.h): language 512 (zalang::kStrongsLanguage), the word of
// G25 "g25", its keys the verses where it tags words, its positions those words'
// numbers in the verse. The verses where a number stands are a search
// (query/search.h, SearchQuery::strongs); here are the numbers of the words
// of some verses, and how a book translates a number.
//
// Numbers are written as people write them, "G25", "H430", and read so with or
// without leading zeros and in either case (zalang::StrongsWord).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

// Whether the book's concordance (open) has Strong's numbers.
bool HasStrongs(cORVABookBase& book);

// A word of a verse and the numbers that tag it.
struct TaggedWord {
  std::uint16_t position = 0;        // the word's number in its verse, from 1
  std::vector<std::string> numbers;  // "G25", "H430": Greek before Hebrew, each by its number
};

// The tagged words of the sections `keys` (any order): per key that has any, its
// tagged words by position. The numbers whose key lists hold any of the keys are
// found in one walk over the numbers, however many keys are asked for: a number
// whose record says where its keys lie (zalang::StrongsKeyBits) and that they lie
// elsewhere is passed over, the key lists of the others are read, and the
// positions of those that hold keys asked for. Needs the concordance and the
// sections open; selects the numbers' language and leaves it current. Empty for
// a book without numbers. Damaged files raise the library's exceptions.
std::map<int, std::vector<TaggedWord>> TaggedWords(cORVABookBase& book, std::vector<int> keys);

// A word of a verse as its text writes it, and the numbers that tag it.
struct NumberedWord {
  std::string word;                  // UTF-8
  std::size_t begin = 0, end = 0;    // where it stands in the text, in bytes
  std::vector<std::string> numbers;  // as TaggedWord's
};

// The words of `text` (a verse's, UTF-8, as VerseTexts or ReadPassages give it)
// with the numbers `tagged` gives them (TaggedWords' list for its key).
std::vector<NumberedWord> NumberWords(const std::string& text, const std::vector<TaggedWord>& tagged);

// How a book translates a number: what it tags, each run of tagged words in a row
// as one rendering ("the world"), folded as the concordance folds words (case
// and accents away), with the number of such runs; the most frequent first, then
// in byte order.
struct Translation {
  std::string words;  // UTF-8, folded, blank between words
  int count = 0;
};

// The translations of `number` ("G25") in `book`, whose text is in `language`:
// reads the verses where the number stands. Needs the concordance, the sections
// and the text open. Raises BookError when `number` is none or the book has no
// numbers; damaged files raise the library's exceptions.
std::vector<Translation> Translations(cORVABookBase& book, const std::string& number, unsigned short language);

}  // namespace orva::query
