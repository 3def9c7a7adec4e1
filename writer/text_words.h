// Text as books hold it, and the words of a text as a concordance counts them.
//
// Books keep their text 8-bit, in the code page of the book's language (the
// language library's table: Windows-1252 for English), as every other 8-bit text
// of the format is (concordance words, sync keys). Sources and terminals speak
// UTF-8; these functions convert between the two through UTF-16, the language
// library's characters.
//
// Words. A word is a run of letters, digits and combining marks; an apostrophe
// (U+0027, U+2019) or a hyphen (U+002D, U+2010, U+2011) between two such characters
// belongs to the word ("LORD's", "Beer-sheba"). Everything else separates words:
// blanks, ASCII punctuation and symbols, the Latin-1 punctuation and symbols
// (U+00A1-U+00BF except the letters U+00AA, U+00B5, U+00BA; U+00D7, U+00F7), the
// general punctuation and symbol blocks U+2000-U+2BFF, CJK punctuation
// U+3000-U+303F, and the Greek and Hebrew punctuation U+037E, U+0387, U+05BE,
// U+05C0, U+05C3, U+05C6. Words are numbered from 1 in the order they stand.
//
// Folding: a word's concordance form is the form the language library's first
// collation level sees: each character replaced by the lower case of its base
// (precomposed letters lose their marks, final sigma becomes sigma), combining
// marks dropped, the apostrophes written U+0027 and the hyphens U+002D. Words that
// differ only in case or accents fold to the same form.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace orva::writer {

// A character that cannot be written: not valid UTF-8, above U+FFFF, or missing
// from the book's code page. `Index()` is its position in the text given (bytes
// for UTF-8 input, UTF-16 units otherwise).
class TextError : public std::runtime_error {
 public:
  TextError(const std::string& message, size_t index) : std::runtime_error(message), m_index(index) {}
  size_t Index() const { return m_index; }

 private:
  size_t m_index;
};

// UTF-8 to UTF-16; raises TextError for invalid UTF-8 and for characters above
// U+FFFF (the language library's characters are 16-bit).
std::u16string Utf8ToUtf16(const std::string& text);
// UTF-16 to UTF-8 (a lone surrogate becomes U+FFFD).
std::string Utf16ToUtf8(const std::u16string& text);

// The 8-bit form of `text` in the code page of `language` (the default language's
// for one the library does not know): each character becomes the byte whose
// reading it is, else the lowest byte that lists it; a letter followed by marks
// becomes the precomposed letter when the code page has it. Raises TextError for a
// character the code page cannot write.
std::string EncodeForLanguage(const std::u16string& text, unsigned short language);
// The characters that 8-bit text in the code page of `language` stands for.
std::u16string DecodeFromLanguage(const std::string& bytes, unsigned short language);

// Where each word of `text` stands: [begin, end) in UTF-16 units, in order.
struct WordSpan {
  size_t begin = 0;
  size_t end = 0;
};
std::vector<WordSpan> SplitWords(const std::u16string& text);

// The folded form of one word (see above), made in place or as a copy.
void FoldWordInPlace(std::u16string& word);
std::u16string FoldWord(const std::u16string& word);

// The folded words of `text`, in order: word n of the text is element n - 1.
std::vector<std::u16string> FoldedWords(const std::u16string& text);

}  // namespace orva::writer
