// cConcordFile: the file object of "concord.idx" in the shared book store.
//
// For every language of the book the file holds a word list sorted in the language
// library's collation (cLanguageString::Compare with (0, 1)), and for every word
// the ascending list of its keys and, per key, the ascending list of its 16-bit
// positions there. Lists are plain or coded lists, chosen for the whole file by the
// header's coding flag (see orvada/concord_records.h for the records).
//
// The file holds one current language; word keys (0 ... W-1, -1 for none) index
// that language's word list. It caches the key list of one word and the offsets of
// that word's position lists; a change of language, the key list of another word
// and every open attempt empty both caches. The current language and the caches
// are shared by every book object of the store. Coded offsets are decoded only as
// far as positions are asked for (a little further, for the keys asked next), so
// that the first positions of a frequent word do not decode all its offsets; a
// damaged directory raises when the positions past the damage are asked for.
//
// Failures: look-ups that find nothing return -1. Damage raises CFileException*:
// cause endOfFile (14) for anything that lies past the end of the file (a record,
// a word, a list, or a count larger than the bytes left could hold: such counts
// are refused before any array is sized); cause generic (1) for a language record
// shorter than 14 bytes, a word record shorter than 18 bytes (plain) or 16 bytes
// (coded), a negative word length, a coded list with a count of 0 (a word without
// keys, a position list without positions), a plain position list of more than
// 65535 positions, and a word list whose words would pass 8 Mi characters. An
// exception inside a key-list read leaves both caches empty.
#pragma once

#include <array>
#include <vector>

#include "concordance/coded_list.h"
#include "orvada/concord_records.h"
#include "orvada/file_base.h"
#include "platform/arrays.h"
#include "zalang/language_string.h"

class cBookStore;
class cORVABookBase;

class cConcordFile : public cFileBase {
 public:
  // Opens the book's concordance path followed by "concord.idx"; the first
  // successful open records `store` as the owner and reads the header. Every open
  // attempt empties the caches. Returns 0 or an error code; a header that runs past
  // the file raises the end-of-file exception and leaves the file closed.
  int Open(cBookStore& store, cORVABookBase& book);

  const sConcordHeader& Header() const { return m_Header; }
  DWORD KeyRange() const { return m_dwKeyRange; }
  bool IsCoded() const { return m_Header.byCoded != 0; }

  // ---- Languages.
  // The id of the current language, 0 before any has been selected.
  WORD CurrentLanguage() const { return m_CurrentLanguage.wLanguageID; }
  // Makes `lang` current: 0 when it is now current, 1 when the file lacks it (the
  // table's last language is then current). Stores the previous id through
  // `previous` when it is not null. A change of language empties the caches.
  int SelectLanguage(WORD lang, WORD* previous);
  // The word count of `lang`, 0 when the file lacks it; the current language is
  // selected again afterwards.
  DWORD WordCount(WORD lang);
  // Appends the id of every language of the table to `languages`: 0, or 1 (nothing
  // appended) when the file has no languages.
  int ListLanguages(CArray<unsigned short, unsigned short&>& languages);

  // ---- Words of the current language.
  // True when 0 <= key < W, W taken as a signed 32-bit number.
  bool IsValidWordKey(int key) const { return key >= 0 && key < static_cast<int>(m_CurrentLanguage.dwWordCount); }
  // Reads word `key` into `word` and returns `key`; -1, with `word` untouched, for
  // an invalid key.
  int ReadWord(int key, cLanguageString& word);
  // Appends `count` words from `first` on to `words`, an empty string for each key
  // that is not valid. Returns 0. Raises generic when the words appended would
  // hold more than kMaxResultText (8 Mi) characters; those appended before stay.
  int ReadWordList(int first, int count, CArray<cLanguageString, cLanguageString&>& words);
  // Selects the language of `search` and returns the smallest word key whose word
  // does not sort before `search`, with that word in `found`. -1 when `search` has
  // no language or the file lacks it (`found` untouched), when the language has no
  // words (`found` untouched), and when every word sorts before `search` (`found`
  // emptied).
  int FindNearest(const cLanguageString& search, cLanguageString& found);
  // FindNearest's key when its word equals `search` at the first two levels of the
  // collation (Compare with (0, 0)), else -1. Selects the language of `search`.
  // Only the nearest word is compared: a word that equals `search` so but sorts
  // before it (the capitalised form of a lower-case search) is not found.
  int FindExact(const cLanguageString& search);

  // ---- Keys and positions of a word of the current language.
  // Replaces `keys` with the key list of word `wordKey` (from the cache when it
  // holds that word) and returns `wordKey`; -1, with `keys` untouched, for an
  // invalid key. When reading raises, `keys` holds what was read so far.
  int ReadKeys(int wordKey, CUIntArray& keys);
  // Copies the first min(WR, 18) bytes of the record of `wordKey` into `record`
  // (the rest of it untouched) and returns `wordKey`; -1 for an invalid key.
  int ReadRecord(int wordKey, sWordListRec& record);
  // Replaces `positions` with the positions of word `wordKey` at `key` (compared
  // unsigned) and returns `wordKey`; -1, with `positions` emptied, for an invalid
  // word key or a key that is not in the word's key list. Coded positions keep
  // their low 16 bits.
  int ReadPositions(int wordKey, DWORD key, CWordArray& positions);

  // The word whose key list the cache holds, -1 for none.
  int CachedWordKey() const { return m_nCachedWord; }

 private:
  // Open and languages (concord_file.cpp).
  void ReadHeader();
  // Reads min(LR, 16) bytes of language record `index` into `record`.
  void ReadLanguageRecord(int index, sLanguageRec& record);
  void EmptyCaches();

  // Words (concord_words.cpp).
  // The record of a valid word key: its first min(WR, 18) bytes over zeros.
  sWordListRec ReadWordRecord(int key);
  // Checks WR against the coding and positions the file at the record of `key`
  // with min(WR, 18) bytes there; returns that number of bytes.
  UINT SeekWordRecord(int key);
  // Reads the length of the word entry at `entryOffset`; the file is left at the
  // word's text. Raises generic for a negative length.
  int ReadEntryLength(DWORD entryOffset);
  // The number of bytes of a text of `length` characters in the current language.
  long long TextBytes(int length) const;

  // Keys and positions (concord_lists.cpp).
  // Reads the key list of word `wordKey` into `keys` and the key cache.
  void LoadKeys(int wordKey, CUIntArray& keys);
  void ReadPlainKeys(const sWordListRec& record, long long at, CUIntArray& keys);
  void ReadCodedKeys(const sWordListRec& record, long long at, CUIntArray& keys);
  // Sizes the position-offset cache for the cached word and reads its first (and,
  // coded, its last) offset; OffsetAt decodes the coded ones between as far as it
  // is asked, so that a frequent word's few first positions do not decode all.
  void LoadPositionOffsets(int wordKey);
  DWORD OffsetAt(int index);
  void ReadPositionList(DWORD offset, CWordArray& positions);

  sConcordHeader m_Header{};
  DWORD m_dwLanguageTable = 0;
  sLanguageRec m_CurrentLanguage{};
  DWORD m_dwKeyRange = 0;
  int m_nCachedWord = -1;
  CUIntArray m_KeyCache;
  // Where the last key asked for positions stood in the key cache: hosts ask for
  // the keys of a word in order, so the next one is tried first.
  int m_nLastKeyIndex = -1;
  // The parameters of position lists of up to 15 values in the current language
  // (b == 0: not computed yet), for the range they were computed with: one list is
  // read per hit, and computing its parameter costs a division.
  std::array<orva::GolombParameter, 16> m_PositionParameters{};
  long m_lParametersRange = -1;
  CUIntArray m_PositionOffsets;
  // Coded offsets: entries [0, m_nOffsetsKnown) and the last are decoded; the
  // next ones follow at m_OffsetsPlace with m_OffsetParameter.
  int m_nOffsetsKnown = 0;
  cBitReader::Place m_OffsetsPlace;
  orva::GolombParameter m_OffsetParameter{};
  // Scratch space reused by every call, so that a look-up does not allocate.
  std::vector<char> m_Bytes;
  std::vector<unsigned short> m_Wide;
  cLanguageString m_Nearest;
};
