// cSyncWalk: what a partial look-up decides at each word of its walk, decided on
// as few of the word's bytes as the decision needs.
//
// The walk stops at a word that matches the key or sorts above every form of it.
// Comparing each word whole would let a damaged file that points many entries at
// one long word cost the entries times the word's length. Here the sort order is
// decided by the word's first bytes (one more than the highest form holds), and
// the match by its first characters (one more than the pattern decomposes into:
// a word with more characters than that cannot match, see
// cLanguageString::DecomposedLength), converted by a cWordPrefix; and each word
// position is judged once per look-up. A look-up then costs the entries it walks
// times the key's length plus, at most, the file's length.
#pragma once

#include <string>
#include <unordered_map>

#include "orvada/file_base.h"
#include "sync/word_prefix.h"
#include "zalang/language_string.h"

class cSyncWalk {
 public:
  enum Verdict { kInside, kMatch, kAbove };

  // `pattern`: the key's tagged form, its placeholders substituted, converted
  // with TaggedStringToLang; `high`: the highest form of the key (up to a zero
  // byte). Both must outlive the object.
  cSyncWalk(cFileBase& file, const cLanguageString& pattern, const std::string& high);

  // The verdict on the word at file position `offset` (i16 length, bytes): kMatch
  // when MatchAmbiguous of the word and the pattern (whole strings, options 0)
  // would be 1; else kAbove when the word sorts above `high` (_mbsicmp); else
  // kInside. Raises as reading the whole word would: generic for a negative
  // length, end-of-file for a word that runs past the end of the file.
  Verdict Judge(DWORD offset);

 private:
  cFileBase& m_file;
  const cLanguageString& m_pattern;
  const char* m_high;
  size_t m_highLength;
  int m_matchLimit;  // characters that decide a match
  cWordPrefix m_prefix;
  std::unordered_map<DWORD, Verdict> m_verdicts;  // of the words inside, by position
  std::string m_bytes;
  cLanguageString m_word;
};
