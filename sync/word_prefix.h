// cWordPrefix: the first characters of a stored tagged word, converted straight
// from the file, for comparisons that a prefix decides.
//
// A word's visible characters are not bounded by its bytes: its valid language
// tags convert to nothing, and a damaged file can hold runs of thousands of tags
// and point many words into them, each at another place. So every run of
// back-to-back tags that a conversion crosses is remembered (where it starts and
// ends, and the language of its last tag): a run is read once per object, and
// every later word that meets it, anywhere in it, crosses it in one step. Words of
// any number and overlap then cost the characters taken from them plus, once, the
// runs of tags they meet: one object per look-up keeps a look-up's time within
// the file's size.
//
// Reads through the file object (moving its position); raises what its reads
// raise (CFileException*), and CMemoryException* when memory runs out.
#pragma once

#include <map>
#include <string>

#include "orvada/file_base.h"
#include "zalang/language_string.h"

class cWordPrefix {
 public:
  explicit cWordPrefix(cFileBase& file);

  // Replaces `out` with the characters that TaggedStringToLang gives for the
  // `length` bytes at file position `start` (which the caller has checked to lie
  // in the file), ending at a zero byte as that conversion does, but at most
  // `limit` of them. The characters carry their languages.
  void Convert(long long start, int length, int limit, cLanguageString& out);

 private:
  // A run of back-to-back tags: the position after its last tag, and that tag's
  // language (0 for a run of no tags).
  struct Run {
    long long end;
    unsigned short language;
  };

  // The byte at `position`; 0 at or past the end of the file.
  unsigned char At(long long position) {
    const auto offset = static_cast<unsigned long long>(position - m_windowStart);
    return offset < m_windowSize ? m_window[offset] : Refill(position);
  }
  // Moves the window to hold `position` and the kLanguageTagWindow bytes on either
  // side of it (as far as the file goes); returns the byte at `position`, 0 at or
  // past the end of the file.
  unsigned char Refill(long long position);
  // The `count` bytes (at most kLanguageTagWindow) from `position` on, which lie in
  // the file, in the window.
  const unsigned char* Bytes(long long position, int count);
  // The tag at `position` in a text that ends at `end`: the position after it (on
  // the end, or on a zero byte, when its name runs to there) and its language, or
  // -1 when no valid tag starts there.
  long long ParseTag(long long position, long long end, unsigned short& language);
  // The run of tags from `position` on, as if no word ended before the file does.
  Run RunFrom(long long position);
  // The step over the tags at `position` (a '<') of a word that ends at `end`: the
  // position after them and the language they leave, or -1 when no tag starts
  // there.
  long long SkipTags(long long position, long long end, unsigned short& language);

  cFileBase& m_file;
  const long long m_fileLength;
  std::map<long long, Run> m_runs;  // the runs met, by the position of their first tag
  std::string m_pending;            // text bytes not yet converted
  cLanguageString m_piece;
  // A window of the file: bytes [m_windowStart, m_windowStart + m_windowSize).
  unsigned char m_window[256];
  long long m_windowStart = 0;
  size_t m_windowSize = 0;
};
