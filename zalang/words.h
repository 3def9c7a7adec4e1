// Words as a concordance counts them and as people search for them. The writer
// numbers a book's words with these functions and the query library splits and
// folds a search the same way, so that a search finds what the book counted.
//
// Words. A word is a run of letters, digits and combining marks that begins with a
// letter or digit. Everything else separates words: blanks, apostrophes (U+0027,
// U+2019) and hyphens (U+002D, U+2010, U+2011), ASCII punctuation and symbols, the
// Latin-1 punctuation and symbols (U+00A1-U+00BF except the letters U+00AA,
// U+00B5, U+00BA; U+00D7, U+00F7), the general punctuation and symbol blocks
// U+2000-U+2BFF, CJK punctuation U+3000-U+303F, and the Greek and Hebrew
// punctuation U+037E, U+0387, U+05BE, U+05C0, U+05C3, U+05C6. So "LORD's" is the
// two words "LORD" and "s", and "loving-kindness" the words "loving" and
// "kindness": a search for lord finds the possessive, one for kindness the
// compound, and the phrase "loving kindness" finds "loving-kindness". Words are
// numbered from 1 in the order they stand.
//
// Compounds. Words joined by one apostrophe or hyphen and nothing else ("LORD's",
// "Beer-sheba") are what a reader takes for one word; a search treats such a word
// of its query as its words in a row.
//
// Folding: a word's concordance form is the form the language library's first
// collation level sees: each character replaced by the lower case of its base
// (precomposed letters lose their marks, final sigma becomes sigma), combining
// marks dropped; in a compound the apostrophes are written U+0027 and the hyphens
// U+002D. Words that differ only in case or accents fold to the same form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zalang {

// Where a word of a text stands: [begin, end) in UTF-16 units.
struct WordSpan {
  size_t begin = 0;
  size_t end = 0;
  // Whether the word ends a compound with the word before it: the one character
  // between them is an apostrophe or a hyphen.
  bool joined = false;
};

// The words of `text`, in order: word n of the text is element n - 1.
std::vector<WordSpan> SplitWords(const std::u16string& text);

// Whether `c` can stand inside a word: a letter, digit or combining mark, none of
// the separators above.
bool IsWordCharacter(char16_t c);

// The folded form of a word or compound (see above), made in place or as a copy.
void FoldWordInPlace(std::u16string& word);
std::u16string FoldWord(const std::u16string& word);

// Strong's numbers. A book keeps them in its concordance under a language of
// their own, kStrongsLanguage ("Strongs" in the language library, Windows-1252),
// so that they never mix with the words of the text. Their words there are the
// numbers in one form: 'g' for Greek or 'h' for Hebrew, then the number in
// decimal without leading zeros ("g25", "h430").
constexpr unsigned short kStrongsLanguage = 512;

// The concordance word of a Strong's number written as "G25", "G0025", "g25" or
// "H430": a letter G or H in either case, then digits, at most 5 of them after
// any leading zeros and not all zeros. Empty when `number` is not written so.
std::string StrongsWord(const std::string& number);

// How people write the number of a concordance word "g25": "G25"; `word` as it
// is when it is no such word.
std::string StrongsNumber(const std::string& word);

// Where a number's keys lie, kept in the first field of its word record (which
// the library passes on unread) so that a reader after the numbers of a few
// verses decodes the key lists of those numbers alone: the union of the bits of
// its keys, where in a book of `sections` sections key k has the bit
// k * 32 / sections, and a key past the sections every bit. A field of 0 tells
// nothing (every word has a key).
inline std::uint32_t StrongsKeyBits(std::uint32_t key, std::uint32_t sections) {
  if (key >= sections) return 0xFFFFFFFFu;
  return 1u << (static_cast<std::uint64_t>(key) * 32 / sections);
}

}  // namespace zalang
