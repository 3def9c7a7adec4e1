// Language strings as 8-bit text: the forms in which sync keys are written.
//
// Tagged string: zero-terminated 8-bit text in which a language tag, the byte '<',
// a language name and the byte ':', switches the language of the bytes after it.
// Text before the first tag is in the default language (1033). A tag is valid only
// when its name (the bytes after '<' up to the first ':', or to the end) is not
// empty and the language library knows it (OrvaToILI); any other '<' is text. Each
// text byte is one character of the current language.
//
// Placeholder: the byte 0xAD stands for one character with several 8-bit forms; the
// k-th placeholder (from 0, left to right) belongs to entry k of a list of
// alternatives, which holds every 8-bit form of that character, one byte each.
//
// Packaged string: the tagged string, then for each alternatives entry in order the
// byte 0xAC and the entry. Neither part holds 0xAC otherwise (the language tables
// list no character under 0xAC or 0xAD, so converted text never holds either byte).
//
// Visible characters: the characters of a tagged string outside valid tags; a
// placeholder and an invalid '<' count one each, a valid tag counts none.
//
// Nothing here throws on malformed text; allocation failure raises
// CMemoryException*. Null 8-bit strings are taken as empty.
#pragma once

#include "platform/arrays.h"
#include "platform/cstring.h"
#include "zalang/language_string.h"
#include "zalang/language_table.h"

enum : unsigned char {
  ORVA_LANGUAGE_TAG_START = '<',
  ORVA_LANGUAGE_TAG_END = ':',
  ORVA_AMBIGUOUS_PLACEHOLDER = 0xAD,
  ORVA_ALTERNATIVES_SEPARATOR = 0xAC,
};

// Writes the tagged form of `text` into `tagged` and its alternatives into
// `alternatives` (both replaced). A tag is written where the language changes to a
// language the library knows; characters of a language it does not know are
// written with the table of the language before them. Each character is written
// with MapUnicodeToASCII: a character with one 8-bit form as that byte, one with
// several as a placeholder plus a new alternatives entry, one with none not at all.
void LangToTaggedStrings(const cLanguageString& text, CString& tagged, CStringArray& alternatives);

// The packaged form of `text`: PackageAmbiguity of its tagged form and alternatives.
// This is the key form the sync look-ups take.
CString LangToPackagedString(const cLanguageString& text);

// `tagged`, then 0xAC and each entry of `alternatives` in order.
CString PackageAmbiguity(const CString& tagged, const CStringArray& alternatives);

// The language string a tagged string stands for: each run of text bytes converted
// in its language (cLanguageString::SingleByteToWideChar), tags removed.
// Placeholders and 0xAC are converted like any other byte. Null or empty input
// gives the empty string.
cLanguageString TaggedStringToLang(const char* tagged);

// 1 when the tagged string `word` matches the tagged string `pattern`, whose k-th
// placeholder is first replaced by the first byte of alternatives entry k (a
// placeholder without an entry, or with an empty one, stays as it is); else 0.
// `length` chooses how much is compared: 0 never matches; -1 compares the whole
// strings; n > 0 the first n visible characters of each; below -1 compares two
// empty strings (a match). The two are converted with TaggedStringToLang and
// compared with Compare(options, 0) of the pattern's string against the word's:
// options 0 ignores case, mark order and precomposition, options 1 compares code
// units and languages.
int MatchAmbiguous(const char* word, const char* pattern, const CStringArray& alternatives, int length,
                   int options);

// MatchAmbiguous with the pattern and its alternatives given as one packaged string.
int MatchPackagedAmbiguous(const char* word, const char* packaged, int length, int options);

// The number of visible characters of a tagged or packaged string (of a packaged
// one only the tagged part, up to the first 0xAC, counts).
int VisibleLength(const char* text);
