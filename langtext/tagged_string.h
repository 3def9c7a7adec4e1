// The internal operations on tagged and packaged strings (see orvada/lang_text.h for
// the forms), used by the exported functions and by the sync indexes. Null strings
// are taken as empty; nothing throws except CMemoryException* on allocation failure.
#pragma once

#include <string>

#include "orvada/lang_text.h"

// The most bytes ParseLanguageTag reads from a '<' on: the '<', a name of at most
// 31 bytes (no known name is longer), and the byte after the name's 31st. A valid
// tag (its ':' included) spans no more than that either.
constexpr int kLanguageTagWindow = 33;

// Called with text[position] == '<': when a valid tag starts there, sets `language`
// to its id, moves `position` onto the tag's last byte (its ':', or the terminating
// zero when the name runs to the end) and returns 1. Otherwise returns 0 and
// changes neither. A null `text` returns 0. Names are widened byte by byte (no
// locale) and never read further than the longest known name, so a walk that tries
// every '<' stays linear.
int ParseLanguageTag(const char* text, int& position, unsigned short& language);

// The shortest prefix of `text` that holds its first `count` visible characters,
// with every tag met on the way kept whole (tags after the last of those characters
// are left out). Empty for a count of 0 or less.
CString LeftVisible(int count, const char* text);

// The byte position of visible character `index` (from 0), counting as
// VisibleLength does but reading past 0xAC. When `text` holds no more than `index`
// visible characters, the position of its last byte; -1 for an empty text or a
// negative index.
int VisibleIndexToByteIndex(int index, const char* text);

// The inverse of PackageAmbiguity: `tagged` becomes the bytes before the first 0xAC
// (all of `packaged` when there is none, with `alternatives` left alone); every
// piece after it, split at each further 0xAC, is appended to `alternatives` (an
// empty last entry for a trailing 0xAC). Callers pass an empty list.
void UnpackageAmbiguity(const CString& packaged, CString& tagged, CStringArray& alternatives);

// The two halves of MatchAmbiguous with length -1, for callers that match one
// pattern against many words: the pattern with each placeholder replaced by the
// first byte of its alternatives entry (a placeholder without one, or with an
// empty one, stays), and the match of a word against that pattern once converted
// with TaggedStringToLang.
std::string SubstitutePlaceholders(const char* pattern, const CStringArray& alternatives);
int MatchConvertedPattern(const char* word, const cLanguageString& pattern, int options);
