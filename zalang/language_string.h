// cLanguageString: a string of 16-bit characters in which every character carries
// its own 16-bit language id (0 = none, 1033 = the default, English).
//
// Layout: the object holds two pointers, in this order: to its characters and to
// its per-character language ids. Both arrays end in a zero. Immediately before the
// characters lies the string's data block, cLanguageStringData, whose second 32-bit
// field is the number of characters. The object owns one allocation that holds the
// data block, the characters and the ids; an empty string without a buffer points
// at a shared, read-only empty block.
//
// Value semantics: copies are deep. Allocation failure raises CMemoryException*;
// nothing else throws. Pointers returned by GetString, GetLanguageIDs and GetData
// stay valid until the string is next changed or destroyed.
#pragma once

#include "platform/cstring.h"
#include "platform/types.h"

// The block that lies immediately before the characters of a cLanguageString.
struct cLanguageStringData {
  LONG nAllocLength;  // characters the block has room for, the terminator not counted
  LONG nDataLength;   // characters in the string
  // Followed by nAllocLength + 1 characters, then nAllocLength + 1 language ids.
};
static_assert(sizeof(cLanguageStringData) == 8, "two 32-bit fields");

class cLanguageString {
 public:
  // The default language: text without a language of its own is English.
  static constexpr unsigned short kDefaultLanguage = 1033;

  cLanguageString() noexcept;
  cLanguageString(const cLanguageString& other);
  cLanguageString(cLanguageString&& other) noexcept;
  // The characters of `text` up to its terminating zero (none for a null pointer),
  // each in `language`.
  explicit cLanguageString(const unsigned short* text, unsigned short language = kDefaultLanguage);
  // The bytes of `text` up to its terminating zero converted as SingleByteToWideChar
  // does.
  explicit cLanguageString(const char* text, unsigned short language = kDefaultLanguage);
  ~cLanguageString();

  cLanguageString& operator=(const cLanguageString& other);
  cLanguageString& operator=(cLanguageString&& other) noexcept;
  // The string becomes the 8-bit text (up to its terminating zero) in the default
  // language, converted through that language's table. Null gives the empty string.
  cLanguageString& operator=(const char* text);
  cLanguageString& operator=(const unsigned char* text) {
    return *this = reinterpret_cast<const char*>(text);
  }

  // The string becomes `length` characters of `text` (length -1: up to the
  // terminating zero), each in `language`. A null text or a length below -1 gives
  // the empty string.
  void AssignCopy(unsigned short language, const unsigned short* text, int length);
  // The string becomes the first `count` bytes of `bytes` (fewer when a zero byte
  // comes first), each converted to one character: its reading, the first character
  // that the language's table lists under the byte. A byte the table lists nothing
  // under becomes U+FFFD. Every character gets `language`; a language the library
  // does not know is converted with the default language's table.
  void SingleByteToWideChar(const char* bytes, unsigned short language, unsigned int count);

  // Appends the characters of `other` with their language ids.
  cLanguageString& operator+=(const cLanguageString& other);
  // Character `index`; 0 for an index outside the string.
  unsigned short operator[](int index) const;
  // Copies the characters and a terminating zero into `buffer`, which must hold
  // GetLength() + 1 characters; returns the number of characters copied.
  int GetString(unsigned short* buffer) const;
  // The 8-bit form: each character becomes the byte of its own language's table
  // whose reading it is, else the lowest byte that lists it, else '?'.
  operator CString() const;
  // The language of the first character; 0 for the empty string.
  unsigned short GetLanguage() const;
  // The string becomes empty; a nonzero `freeBuffer` also gives the buffer back,
  // 0 keeps it for the next assignment.
  void Empty(int freeBuffer = 1);

  // Negative, 0 or positive as this string sorts before, with or after `other`.
  //  options & 1 (ordinal): code units as unsigned numbers, then the shorter string
  //    first, then the language ids in order.
  //  otherwise linguistic, on the strings with their precomposed letters of Latin-1,
  //  Latin Extended-A and Additional, Greek and Greek Extended decomposed into base
  //  plus marks and each run of marks after a base put in code-point order:
  //    level 1: base characters folded to lower case (final sigma as sigma), marks
  //             ignored, shorter first;
  //    level 2: the marks of each base in turn, no marks before any;
  //    level 3: case of each base in turn, upper before lower.
  //  collate nonzero (1): levels 1, 2 and 3, then ordinal: a total order, in which
  //    the word lists of a concordance are sorted and searched ((0, 1)). A string
  //    in capitals sorts just before the same word in lower case.
  //  collate 0: levels 1 and 2 only: strings that differ only in case, in the order
  //    of adjacent marks, in precomposed against decomposed letters, or in their
  //    language ids compare 0. (0, 0) confirms that a word found by a (0, 1) search
  //    is the word searched for; (options, 0) is what ambiguity matching uses.
  // Marks before the first base form a run of their own; U+0000 is ignored by the
  // linguistic levels. The order is defined by the library's own tables: it
  // depends on no locale, machine or library version.
  int Compare(const cLanguageString& other, int options, int collate) const;
  // The number of characters once each precomposed letter is decomposed into its
  // base and marks. Every character but U+0000 counts at the linguistic levels 1
  // and 2 (a base at level 1, a mark at level 2), so a string without U+0000 that
  // compares 0 with this one linguistically with collate 0 holds no more
  // characters than this: whether a long string equals this one so is decided by
  // its first DecomposedLength() + 1 characters (if it has that many, it does not).
  int DecomposedLength() const;

  // Exported inline members.
  UINT GetLength() const { return static_cast<UINT>(GetData()->nDataLength); }
  BOOL IsEmpty() const { return GetLength() == 0 ? TRUE : FALSE; }
  cLanguageStringData* GetData() const {
    return reinterpret_cast<cLanguageStringData*>(reinterpret_cast<char*>(m_pchData) -
                                                  sizeof(cLanguageStringData));
  }
  const unsigned short* GetString() const { return m_pchData; }
  const unsigned short* GetLanguageIDs() const { return m_pLangIDs; }
  // 0 for a null pointer, else the number of characters before the terminating zero.
  static int SafeStrlen(const unsigned short* text) {
    int length = 0;
    if (text)
      while (text[length]) ++length;
    return length;
  }
  // Ordinal comparisons (Compare(other, 1, 1)): 1 or 0.
  BOOL operator==(const cLanguageString& other) const { return Compare(other, 1, 1) == 0; }
  BOOL operator!=(const cLanguageString& other) const { return Compare(other, 1, 1) != 0; }
  BOOL operator<(const cLanguageString& other) const { return Compare(other, 1, 1) < 0; }
  BOOL operator>(const cLanguageString& other) const { return Compare(other, 1, 1) > 0; }
  BOOL operator<=(const cLanguageString& other) const { return Compare(other, 1, 1) <= 0; }
  BOOL operator>=(const cLanguageString& other) const { return Compare(other, 1, 1) >= 0; }

 private:
  // Makes room for `length` characters; the content is undefined afterwards unless
  // `keep` is set. Sets the length.
  void Resize(int length, bool keep);
  void Release() noexcept;
  void PointAtEmpty() noexcept;

  unsigned short* m_pchData;
  unsigned short* m_pLangIDs;
};

// The framework's element functions for collections of language strings: construct,
// or destroy, `count` strings in place at `first`; nothing for count <= 0.
void ConstructElements(cLanguageString* first, int count);
void DestructElements(cLanguageString* first, int count);
