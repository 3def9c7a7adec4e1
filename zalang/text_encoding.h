// Text as books hold it: 8-bit, in the code page of the book's language (the
// language's table: Windows-1252 for English), as every other 8-bit text of the
// format is (concordance words, sync keys). Sources and terminals speak UTF-8;
// these functions convert between the two through UTF-16, the language library's
// characters. The writer and the query library both take them from here, so that
// a book is written and searched with one conversion.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace zalang {

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
// reading it is, else the lowest byte that lists it. A letter and the marks after
// it are written canonically equivalent, as the code page can: the precomposed
// character that holds the letter and the most of those marks (in their order),
// then a byte for each mark left; a precomposed letter the code page lacks is
// decomposed so ("e" with macron and acute as "e", macron, acute in English; Greek
// alpha with psili and oxia as alpha, psili, oxia). Raises TextError for a
// character the code page cannot write, also so.
std::string EncodeForLanguage(const std::u16string& text, unsigned short language);
// The same without raising: appends to `out` the 8-bit form of `text` from `from`
// on, up to the first character that the code page cannot write (with the marks
// after it), and returns that character's index, or text.size() when all of it is
// written.
size_t EncodeWhatFits(const std::u16string& text, size_t from, unsigned short language, std::string& out);
// The characters that 8-bit text in the code page of `language` stands for.
std::u16string DecodeFromLanguage(const std::string& bytes, unsigned short language);

// `text` with every precomposed character of the decomposed blocks (Latin-1,
// Latin Extended-A and Additional, Greek, Greek Extended) as its base and marks.
std::u16string DecomposeText(const std::u16string& text);
// `text` as it is usually written: each letter and the marks after it as the
// precomposed character that holds the letter and the most of those marks (in
// their order; of equivalent ones the lowest), then the marks left. Decoded text
// that a writer decomposed (EncodeForLanguage) comes back as it was given when
// it was so composed. Letters outside the decomposed blocks (Hebrew) are kept
// as they are.
std::u16string ComposeText(const std::u16string& text);

}  // namespace zalang
