// cORVABookBase: the object through which a host reads one book.
//
// A host creates a book object, sets the book's identifiers and the directory of
// each of its files, and calls Open with flag bits, one per part of the book.
// Book objects that name the same book (publisher id, book id and edition) share
// one store of open files, so each file is open once however many book objects
// read it. Close gives bits back; the destructor closes whatever is still open.
//
// Paths are directory prefixes: the file name is appended with no separator, so a
// path member ends in its separator ("/books/kjv/"). An empty path means the part
// is not available: its bit is never opened.
//
// Results: Open returns 0 or an error code (GetErrorString gives its message).
// Query members raise CFileException* (cause 1, OS error -1, no file name) when a
// part they need is not open, and the file layer raises CFileException* with cause
// 14 for a short read of a damaged file. Exceptions are heap objects: the catcher
// calls Delete(). Not thread-safe: one thread at a time for all book objects.
#pragma once

#include "orvada/concord_records.h"
#include "orvada/sections_data.h"
#include "orvada/sections_records.h"
#include "orvada/version_record.h"
#include "platform/arrays.h"
#include "platform/cstring.h"
#include "platform/object.h"
#include "platform/types.h"
#include "zalang/language_string.h"

class cBookStore;
class cConcordFile;
class cSectionsFile;
class cSyncFile;
class cFileBase;
class cVersesFile;
class cORVAEvents;  // the host's own type; the library only keeps the pointer

// The flag bits of the parts of a book.
enum : DWORD {
  ORVA_TEXT = 0x001,       // book.dat
  ORVA_VIEWABLE = 0x002,   // viewable.idx
  ORVA_SECTIONS = 0x004,   // sections.idx
  ORVA_CONCORD = 0x008,    // concord.idx
  ORVA_VERSES = 0x010,     // verses.idx
  ORVA_WSYNC = 0x020,      // wsync.idx, sync type "word"
  ORVA_VSYNC = 0x040,      // vsync.idx, sync type "verse"
  ORVA_SSYNC = 0x080,      // ssync.idx, sync type "strongs"
  ORVA_DSYNC = 0x100,      // dsync.idx, sync type "date"
  ORVA_MEDIA = 0x200,      // the media directory (a use counter, no file)
  ORVA_ALL_OPEN = 0x80000000,  // to Close: every bit that is open
};

// The error codes of Open; GetErrorString gives their messages.
enum : int {
  ORVA_OK = 0,
  ORVA_ERR_GENERIC = 1,
  ORVA_ERR_FILE_NOT_FOUND = 2,
  ORVA_ERR_END_OF_FILE = 14,
  ORVA_ERR_ID_MISMATCH = 15,
  ORVA_ERR_VERSION = 16,
  ORVA_ERR_ALREADY_OPEN = 17,
  ORVA_ERR_HEADER = 18,
  ORVA_ERR_CANCELLED = 19,
};

class cORVABookBase : public CObject {
 public:
  cORVABookBase();
  // A copy holds the source's identifiers, paths and word cursor and starts closed.
  cORVABookBase(const cORVABookBase& other);
  // Takes over identifiers, paths and word cursor and is closed afterwards; files
  // this object had open are forgotten, not closed (their uses stay in the store).
  cORVABookBase& operator=(const cORVABookBase& other);
  ~cORVABookBase() override;

  // Hooks a host may override.
  // A file's publisher or book id differs from this book's; the base version shows
  // a notice through AfxMessageBox.
  virtual void PubIDBookIDMismatch(const char* path, WORD expectedPubID, WORD expectedBookID,
                                   WORD filePubID, WORD fileBookID);
  // A file needs a newer format than this library's; the base version shows a notice.
  virtual void LeastCompatibleORVAVersionError(const char* path, BYTE programMajor, BYTE programMinor,
                                               BYTE fileMajor, BYTE fileMinor);
  // Called by Open before anything is opened; a nonzero result stops Open, which
  // returns it. The base version returns 0.
  virtual int PreOpenFiles(DWORD request);
  // Called by Open after the files are opened, with the same request.
  virtual void PostOpenFiles(DWORD request);
  // Not called by the library; the base version returns 0.
  virtual int FindFilePaths(DWORD& a, DWORD& b, DWORD& c);

  // Properties. The identifiers choose the store when the object has none; a path is
  // read when its file is first opened in the store.
  CString GetBookName() const { return m_strBookName; }
  void SetBookName(const char* v) { m_strBookName = v; }
  CString GetDefVolumeID() const { return m_strDefVolumeID; }
  void SetDefVolumeID(const char* v) { m_strDefVolumeID = v; }
  CString GetRegVolumeID() const { return m_strRegVolumeID; }
  void SetRegVolumeID(const char* v) { m_strRegVolumeID = v; }
  CString GetDefMediaType() const { return m_strDefMediaType; }
  void SetDefMediaType(const char* v) { m_strDefMediaType = v; }
  CString GetRegMediaType() const { return m_strRegMediaType; }
  void SetRegMediaType(const char* v) { m_strRegMediaType = v; }
  CString GetDefPath() const { return m_strDefPath; }
  void SetDefPath(const char* v) { m_strDefPath = v; }
  CString GetTextPath() const { return m_strTextPath; }
  void SetTextPath(const char* v) { m_strTextPath = v; }
  CString GetViewablePath() const { return m_strViewablePath; }
  void SetViewablePath(const char* v) { m_strViewablePath = v; }
  CString GetSectionsPath() const { return m_strSectionsPath; }
  void SetSectionsPath(const char* v) { m_strSectionsPath = v; }
  CString GetVersesPath() const { return m_strVersesPath; }
  void SetVersesPath(const char* v) { m_strVersesPath = v; }
  CString GetConcordPath() const { return m_strConcordPath; }
  void SetConcordPath(const char* v) { m_strConcordPath = v; }
  CString GetWSyncPath() const { return m_strWSyncPath; }
  void SetWSyncPath(const char* v) { m_strWSyncPath = v; }
  CString GetVSyncPath() const { return m_strVSyncPath; }
  void SetVSyncPath(const char* v) { m_strVSyncPath = v; }
  CString GetSSyncPath() const { return m_strSSyncPath; }
  void SetSSyncPath(const char* v) { m_strSSyncPath = v; }
  CString GetDSyncPath() const { return m_strDSyncPath; }
  void SetDSyncPath(const char* v) { m_strDSyncPath = v; }
  CString GetMediaPath() const { return m_strMediaPath; }
  void SetMediaPath(const char* v) { m_strMediaPath = v; }
  CString GetEdition() const { return m_strEdition; }
  void SetEdition(const char* v) { m_strEdition = v; }
  CString GetBookID() const { return m_strBookID; }
  void SetBookID(const char* v) { m_strBookID = v; }
  CString GetPublisherID() const { return m_strPublisherID; }
  void SetPublisherID(const char* v) { m_strPublisherID = v; }
  CString GetSetID() const { return m_strSetID; }
  void SetSetID(const char* v) { m_strSetID = v; }
  // "word", "verse", "strongs" or "date" (any case): the book's one sync index.
  CString GetSyncType() const { return m_strSyncType; }
  void SetSyncType(const char* v) { m_strSyncType = v; }
  // The host program's version text. When set, it decides which file versions open.
  CString GetClientProgramVersion() { return m_strClientProgramVersion; }
  void SetClientProgramVersion(CString v) { m_strClientProgramVersion = v; }
  int GetBookNumber() const { return m_nBookNumber; }
  void SetBookNumber(int v) { m_nBookNumber = v; }
  int GetDataSetNumber() const { return m_nDataSetNumber; }
  void SetDataSetNumber(int v) { m_nDataSetNumber = v; }
  cORVAEvents* GetEventsObjectPtr() const { return m_pEvents; }
  void SetEventsObjectPtr(cORVAEvents* v) { m_pEvents = v; }
  CString GetServerIP() const { return m_strServerIP; }
  void SetServerIP(const CString& v) { m_strServerIP = v; }
  UINT GetPort() const { return m_nPort; }
  void SetPort(UINT v) { m_nPort = v; }

  // Open state. Every request first loses the sync bits other than the book's own
  // sync type flag; bits above 0x200 are ignored. Set the sync type before opening
  // and keep it: a sync bit opened under one type is masked out of Close under
  // another, and its file then stays open.
  // Opens the requested parts whose path is set: 0, or an error code with nothing
  // of the request left open. 17 when a requested bit is open already. Opening the
  // concordance selects its language 1033.
  //
  // Raises CFileException* (cause 14) when a file is shorter than its version
  // record or its header, and CMemoryException* when memory runs out. What such an
  // exception leaves behind:
  // - The object's flags are as before the call, so Close gives back only what
  //   earlier calls opened.
  // - A store that this call created is destroyed, with every file it opened.
  // - In a store the object held already, or shares with other book objects, the
  //   files this call opened before the failing one keep the use it took. Nothing
  //   gives those uses back (they are in no object's flags): the files, and the
  //   store, stay open until the process ends.
  // - One exception comes later: selecting language 1033 after the concordance
  //   opened (a damaged language table). The files are then open and in the flags,
  //   and Close gives them back.
  int Open(DWORD request);
  // Gives the requested bits back; ORVA_ALL_OPEN gives back every open bit.
  void Close(DWORD request);
  // 1 when every requested bit is open; IsOpen(0) is 1.
  BOOL IsOpen(DWORD request) const;
  BOOL IsClosed() const { return m_dwOpenFlags == 0 ? TRUE : FALSE; }
  // 0 when IsOpen(request); otherwise raises the not-open exception.
  int SearchEvent(DWORD request);
  const DWORD& OpenFlags() const { return m_dwOpenFlags; }
  const DWORD& RemoteFlags() const { return m_dwRemoteFlags; }
  const DWORD& LocalFlags() const { return m_dwLocalFlags; }
  // Forgets the open bits without closing anything: the object reports itself
  // closed while its files stay open in the store; only Close with the explicit
  // bits gives them back.
  void MarkAllRemoteFilesClosed();
  // 0x020 "word", 0x040 "verse", 0x080 "strongs", 0x100 "date", else 0.
  DWORD GetSyncTypeFlag() const;

  // The library reads no file remotely: IsBookRemote is 0 and CopyRemoteFile fails (1).
  BOOL IsBookRemote() { return FALSE; }
  int CopyRemoteFile(const char* targetPath, const char* sourceName, int flag);

  // Copies the version record of the first open index among sections, viewable,
  // concordance, verses and the sync files; returns 0, leaving `record` untouched
  // when none is open.
  int GetIdxVersionRecord(sVersionRecord* record);

  // ---- Text: viewable areas, blocks, the book header and its control words
  // (book.dat and viewable.idx).
  //
  // Block 0 of viewable.idx is the preamble; viewable area i is the preamble
  // followed by the text of block i. Block and area numbers run from 0 to the
  // number of descriptors - 1; other numbers give the failure values below. The
  // caller sizes each buffer: an area buffer holds GetViewableAreaSize bytes, a
  // block buffer GetViewableBlockSize bytes, a chunk buffer the chunk size.
  //
  // Each member raises the not-open exception (CFileException*, cause 1) when a
  // part it needs is not open, and passes on the file exceptions of a damaged
  // file: cause 14 when a descriptor or a block lies beyond the end of its file;
  // cause 1 when a compressed block decodes short, when the compression type is
  // not 0 or 1, or when a block's text would exceed nine times its compressed size
  // (no stream decodes to more). An area or block of 2 GiB or more cannot be read:
  // its size is reported as 0 and GetViewableArea and GetViewableBlock return 1
  // for it, before anything is read. The preamble is read by the first
  // of these members that needs it and kept for every book object of the store.

  // The size of area `area` in bytes: the preamble's size + its block's text size;
  // 0 when its block is empty or cannot be read, and when the area would reach
  // 2 GiB. The size is the descriptor's: on a damaged file, reading the area may
  // still raise. Needs viewable.idx open, and book.dat too until the preamble is
  // loaded (until then a closed book.dat raises the generic file exception).
  int GetViewableAreaSize(int area);
  // Writes area `area` to `buffer`: 0 on success, 1 when the preamble or the
  // area's descriptor cannot be read. An area whose block is empty has size 0 and
  // writes nothing. Needs book.dat and viewable.idx.
  int GetViewableArea(int area, char* buffer);
  // Starts reading area `area` in chunks of at most `chunkSize` bytes (below 2 GiB)
  // and writes the first chunk; returns its length, 0 at failure. For a
  // compressed book the block is decoded once here and the later chunks are
  // copied from memory; a new GetFirstViewableAreaChunk abandons the reading in
  // progress. Needs book.dat and viewable.idx.
  int GetFirstViewableAreaChunk(int area, unsigned int chunkSize, char* buffer);
  // Writes the next chunk of the area begun by GetFirstViewableAreaChunk; returns
  // its length, 0 when the area is exhausted or at failure. The chunks together
  // equal GetViewableArea of the area (for an area that is not empty). Needs
  // book.dat and viewable.idx.
  int GetNextViewableAreaChunk(char* buffer);
  // The text size of block `block`, 0 when the number is not valid (or the block
  // would reach 2 GiB). Needs viewable.idx.
  int GetViewableBlockSize(int block);
  // Writes the text of block `block` alone, without the preamble: 0 on success, 1
  // when the preamble or the block's descriptor cannot be read. Needs book.dat and
  // viewable.idx.
  int GetViewableBlock(int block, char* buffer);
  // Copies the first min(L, 18) bytes of book.dat's version record (L its length
  // field) into `record`; the rest of `record` is left as it was. Needs book.dat.
  void GetBookHeaderData(sVersionRecord& record);
  // The data of a control word, written "{\NAME:data}" in book.dat's header text:
  // the bytes after the first "{\" `word` ":" (case counts; the search stops at a
  // zero byte in the text) up to the next "}" or the end of the header text,
  // unchanged. Empty when the word is missing (or its data is empty). Reads the
  // header text on every call. Needs book.dat.
  CString GetHeaderControlWordData(const char* word);

  // ---- Sections: section records, the sections index and its navigation
  // (sections.idx).
  //
  // Keys: 0 ... S-1 are the sections of the tree (key 0 is the first top-level
  // section; children follow their parent), S ... S+G-1 the glossary entries, -1
  // none. Every member below except StoreSectionsArray and LoadSectionsArray raises
  // the not-open exception (CFileException*, cause 1) when the sections part is not
  // open. A damaged file raises CFileException* with cause 14 (something lies past
  // the end of the file) or 1 (links that loop or lead outside the table, a
  // negative name length, a parent on a level not below its child's); no member
  // hangs on links that loop. A member that returns many names returns at most 8
  // MiB (2^23 bytes) of them: no book comes near that (the names of a whole
  // Bible's sections hold about 100 KB), while a damaged file that points many
  // entries at one long name could ask for gigabytes. It raises cause 1 instead.

  // Copies the 20 header bytes; 1 when `header` is null, else 0.
  int GetSectionHeader(sSectionsHeader* header);
  // Nonzero when 0 <= key < S.
  BOOL IsValidSectionKey(int key);
  // Nonzero when key is -2 (the first glossary entry) or S <= key < S+G.
  BOOL IsValidGlossaryKey(int key);
  // Nonzero when 0 <= key < S+G (-2 is not valid here).
  BOOL IsValidKey(int key);
  int GetLastSectionKey();  // S - 1
  int GetLastKey();         // S + G - 1
  // 0 and `section` filled when key is a section key; 1, with `section` untouched,
  // otherwise.
  int GetSection(int key, cSectionsData& section);
  // 0 and `entry` filled when IsValidGlossaryKey(key), -2 reading entry S; 1, with
  // `entry` untouched, otherwise, and for -2 when the book has no glossary.
  int GetGlossary(int key, cSectionsData& entry);
  // A section key is read as by GetSection, any other key as by GetGlossary.
  int GetEntry(int key, cSectionsData& entry);
  // True when IsValidKey(key) and GetSection succeeds.
  bool GetSectionAndValidateKey(int key, cSectionsData& section);
  // Appends section `key` and each next sibling after it to `sections`; stops at a
  // key that is not a section key. Returns the array's size afterwards (elements
  // already there count). Raises cause 1 when the names appended would pass 8 MiB.
  // On an exception the array is as it was.
  int GetSectionsArray(int key, CArray<cSectionsData, cSectionsData&>& sections);
  // Calls `callback(section, context)` for section `key` and, while the callback
  // returns nonzero, for each next sibling. Returns 0 when `key` is not a section;
  // the number of calls when a callback returned 0; one more than the number of
  // calls when the sibling chain ran out.
  int EnumSections(int key, int (*callback)(cSectionsData&, void*), void* context);
  // Names of a run of siblings. The sibling chain from section `key` is numbered
  // from 0 (`key` itself); the names at positions a, a+1, ... are stored into
  // `names` from index 0 on (SetAtGrow), at most b - a of them: positions a to b-1
  // when 0 <= a <= b. A negative a counts as position 0 while still allowing b - a
  // names; b <= a stores nothing. Entries of `names` beyond those stored stay, so
  // pass an empty array for exactly the run. Returns the array's size. Raises cause
  // 1 when the names stored would pass 8 MiB (those stored before stay).
  int GetSectionNamesForRange(int key, int a, int b, CStringArray& names);
  // The number of sections in key's sibling chain, key included; raises cause 1
  // when key is not a section key.
  int GetSiblingSectionCount(int key);
  // The key of the section that `path` names, or -1: names separated by
  // backslashes, outermost first, compared without regard to the case of A-Z;
  // empty names (doubled, leading or trailing backslashes) are skipped, and a path
  // without any name gives -1.
  int GetSectionKey(const char* path);
  // "\Name1\Name2\Name3": the names from the outermost level down to entry
  // `key`; raises cause 1 when key is not in 0 ... S+G-1. The walk up goes from
  // each entry to its parent, which stands on a lower level (else cause 1), so a
  // path holds at most 256 names (at most 8 MiB).
  CString GetPathFromKey(int key);
  // The same names with `separator` between them and none in front: the bare
  // name for a top-level section. Raises cause 1 when key is not in 0 ... S+G-1.
  // Recently formatted sections are remembered (the cache is shared by the book
  // objects of a store), so the next path of the same book and chapter costs one
  // record read; a cached path is always the path that walking builds.
  CString GetFormattedPathFromKey(int key, const char* separator);
  // The first (section key - level count) and last key of the book of `entry`
  // (the last of the entries after it that carry its book key), stored through
  // the pointers that are not null. Raises cause 1 when the entry's section key is
  // not in 0 ... S+G-1.
  void GetKeyRange(const cSectionsData& entry, int* first, int* last);
  // Replaces the array's contents with the non-Bible section list.
  void GetNonBibleSections(CWordArray& sections);
  // The word count (0 ... 65535) of section `key`, or -1 when key is not a
  // section key or the book has no word-count table.
  int SectionWordCount(int key);

  // Section arrays flattened to one buffer: the count n (u32), then per record its
  // flattened length (u32) and the flattened record (see cSectionsData). They need
  // no part of the book open. StoreSectionsArray returns the buffer's length and
  // hands the buffer (from ::operator new; free it with ::operator delete) to the
  // caller; an empty array gives the four bytes 00 00 00 00. LoadSectionsArray
  // makes `sections` hold exactly the n records of the buffer, which is trusted to
  // hold them all: surplus elements are destroyed, missing ones added, the others
  // overwritten, and 0 empties the array and frees its storage.
  int StoreSectionsArray(char** buffer, CArray<cSectionsData, cSectionsData&>& sections);
  void LoadSectionsArray(char* buffer, CArray<cSectionsData, cSectionsData&>& sections);

  // ---- Concordance: languages, words, the word cursor, keys and positions
  // (concord.idx).
  //
  // Word keys 0 ... W-1 index the word list of the concordance's current language
  // (sorted in the language library's collation); -1 means none. The current
  // language, and the cache of one word's key list, belong to the store: every book
  // object of the store shares them. The word cursor (a word key and the language
  // it walks in) belongs to this object: GetNextWord and GetPrevWord continue from
  // the last word found, read or walked to.
  //
  // The members from FindNearestMatchingWord on raise the not-open exception
  // (CFileException*, cause 1) when this object has not opened the concordance.
  // GetCurrentLanguage, WordCount, ListLanguages, GetWord and GetWordlistAtKey need
  // only the store's concordance to be open (by any book object of the store) and
  // raise the not-open exception otherwise. A damaged file raises CFileException*
  // with cause 14 (something lies past the end of the file) or 1 (records shorter
  // than their structures, a negative word length, a coded list with a count of 0).

  // Resets the word cursor, opens the concordance first when this object has not
  // (that open selects 1033), then selects `lang`: 0 when it is now current, 1 when
  // the concordance cannot be opened or lacks the language (the last language of
  // the file's table is then current). When `previous` is not null and the
  // concordance is open, the language that was current before is stored there.
  int SelectCurrentLanguage(unsigned short lang, unsigned short* previous);
  // The concordance's current language.
  unsigned short GetCurrentLanguage();
  // The word count of `lang`, 0 when the concordance lacks it. The current
  // language stays.
  DWORD WordCount(unsigned short lang);
  // Appends the id of every language of the concordance to `languages`; 0, or 1
  // when it has none.
  int ListLanguages(CArray<unsigned short, unsigned short&>& languages);
  // A word's position in the word list is its word key: both return the argument.
  int PositionToWordkey(int position) { return position; }
  int WordkeyToPosition(int wordKey) { return wordKey; }
  // Word `wordKey` of the current language into `word`: the key, or -1 with `word`
  // untouched.
  int GetWord(int wordKey, cLanguageString& word);
  // Appends `count` words from `first` on, an empty string for each key past the
  // list. Returns 0. The words appended hold at most 8 Mi (2^23) characters: a
  // whole word list of the largest concordance holds a few hundred thousand, while
  // a damaged file that points many word records at one long word could ask for
  // gigabytes. Past that it raises cause 1; the words appended before stay.
  int GetWordlistAtKey(int first, int count, CArray<cLanguageString, cLanguageString&>& words);

  // Searches the word list of the language of `search` (which becomes current and
  // the cursor language): the key of the first word that does not sort before
  // `search`, that word in `found`; -1 when every word sorts before it (`found`
  // emptied), or when `search` has no language, the concordance lacks it or it has
  // no words (`found` untouched). The cursor is the result.
  int FindNearestMatchingWord(cLanguageString& search, cLanguageString& found);
  // The word that FindNearestMatchingWord finds for `search`, when it equals
  // `search` at the first two levels of the collation (letter case, the order of
  // adjacent marks and precomposed against decomposed letters aside): its key;
  // else -1. Only that nearest word is compared, so a stored word that equals
  // `search` so but sorts before it is missed: a capital sorts before its lower
  // case, so "Gott" finds a stored "gott" but "gott" misses a stored "Gott"; and a
  // decomposed Greek search misses its stored precomposed word (precomposed Greek
  // letters sort before their base letters). The cursor is the result, the cursor
  // language that of `search`.
  int FindExactMatchingWord(cLanguageString& search);
  // The first and the last word of `lang` (which becomes current and the cursor
  // language): its key, or -1 for a language without words. `lang` becomes the
  // cursor language first, in every case: when the concordance lacks `lang`, the
  // result is -1, the cursor keeps its word key and its language is `lang` (so a
  // following GetNextWord returns -1), and the concordance's current language is the
  // last of its table.
  int GetFirstWord(unsigned short lang, cLanguageString& word);
  int GetLastWord(unsigned short lang, cLanguageString& word);
  // The word after, or before, the cursor in the cursor language: its key, or -1
  // past either end of the list, which ends the walk (the cursor is then -1).
  int GetNextWord(cLanguageString& word);
  int GetPrevWord(cLanguageString& word);
  // The keys of the word that FindExactMatchingWord finds for `word` (see there:
  // not every word that equals it apart from letter case), replacing `keys`: its
  // word key, or -1 with `keys` untouched. The cursor is the result.
  int GetKeysForWord(cLanguageString& word, CUIntArray& keys);
  // The keys of word `wordKey`, replacing `keys`: `wordKey`, or -1 with `keys`
  // untouched. The cursor is the result, in the current language.
  int GetKeysForWord(int wordKey, CUIntArray& keys);
  // The first min(WR, 18) bytes of the word's record, as GetKeysForWord finds the
  // word; the rest of `record` is untouched.
  int GetWordListRecord(cLanguageString& word, sWordListRec& record);
  int GetWordListRecord(int wordKey, sWordListRec& record);
  // The positions of word `wordKey` at `key` (a key of its key list, compared
  // unsigned), replacing `positions`: `wordKey`, or -1 with `positions` emptied.
  // The cursor is the result, in the current language.
  int GetWordPositionList(int wordKey, int key, CWordArray& positions);

  // ---- Occurrences: lists by book, chapter and verse (verses.idx).
  //
  // Each member raises the not-open exception (CFileException*, cause 1) when this
  // object has not opened the verses index, then replaces `occurrences` with the
  // list of the reference and returns its length; 0, with `occurrences` untouched,
  // when the index lacks the book, chapter or verse or holds no such list. Book,
  // chapter and verse numbers compare as unsigned 16-bit numbers. A damaged file
  // raises CFileException* with cause 14 or 1 (see the concordance above).
  int GetBookOccurrences(unsigned short book, CUIntArray& occurrences);
  int GetBookOccurrencesAllChapters(unsigned short book, CUIntArray& occurrences);
  int GetBookOccurrencesAllVerses(unsigned short book, CUIntArray& occurrences);
  int GetChapterOccurrences(unsigned short book, unsigned short chapter, CUIntArray& occurrences);
  int GetChapterOccurrencesAllVerses(unsigned short book, unsigned short chapter, CUIntArray& occurrences);
  int GetVerseOccurrences(unsigned short book, unsigned short chapter, unsigned short verse,
                          CUIntArray& occurrences);

  // ---- Sync: word, Strong's-number, date and verse sync keys (the sync indexes).
  //
  // Each book has one sync index, chosen by its sync type (GetSyncTypeFlag):
  // "word" wsync.idx, "strongs" ssync.idx, "date" dsync.idx, "verse" vsync.idx.
  // A key look-up first checks the sync type: under another type it returns its
  // value for no result (-1, or 0 for the word count) without touching any file.
  // Then it checks that the file is open, else raises the not-open exception
  // (CFileException*, cause 1). Keys are packaged strings (LangToPackagedString;
  // null is the empty key). A damaged file raises CFileException* with cause 14
  // (something lies past the end of the file) or 1 (a header record shorter than
  // 10 bytes, an entry or record size below the format's, a negative word length),
  // from the look-ups and from Open, which reads the header. A stored key of
  // 0xFFFFFFFF reads as -1, like a failed look-up.

  // The sync key of the word sync file's entry that matches `key`, or -1.
  int GetWSyncKey(const char* key);
  // Partial look-up in the word sync file: the sync key of the first entry, from
  // the key's lowest form on, that matches the key or sorts above all its forms;
  // its word goes to `word`. -1 when no entry lies at or above the lowest form
  // (`word` empty) or the walk reaches the last entry without either (`word` holds
  // the last word); with no entries at all `word` is left as it was.
  int GetWSyncKeyPartialMatch(const char* key, CString& word);
  // The number of words of the word sync file.
  DWORD GetWSyncWordCount();
  // The same two look-ups in the Strong's-number sync file.
  int GetSSyncKey(const char* key);
  int GetSSyncKeyPartialMatch(const char* key, CString& word);
  // The exact look-up in the date sync file.
  int GetDSyncKey(const char* key);

  // The next members test no sync type; they check that the file of the sync type
  // is open (nothing to check without a sync type).
  // Word `index` (0 ... count-1) of the word, Strong's or date sync file: 1 with
  // the word in `word`; 0, with `word` unchanged, for an index outside the table
  // (any negative one included), under the verse or no sync type, and when reading
  // raises a file exception (which is deleted here). The not-open exception and
  // memory exceptions are raised, not caught.
  int GetSyncWordAt(int index, CString& word);
  // The length in bytes of the word, Strong's or date sync file; 0 under the verse
  // or no sync type.
  int GetSyncFileSize();
  // Copies the whole word, Strong's or date sync file into `buffer`, which holds
  // GetSyncFileSize() bytes; copies nothing under the verse or no sync type.
  // Returns 0.
  int GetSyncFileData(char* buffer);
  // Reads the word stored at file position `offset` of the word sync file into
  // `word` (unchanged for offset 0, and when reading raises). Returns 0. Needs the
  // word sync file open by this object, whatever the sync type is now, else raises
  // the not-open exception.
  int GetSyncWordForPointer(DWORD offset, CString& word);

  // The section key of the verse that `reference` names ("book,chapter,verse",
  // decimal numbers, blanks before a number skipped; an empty verse field is verse
  // 0 and anything after a third comma is ignored), or -1: under another sync type
  // than "verse", for a malformed reference (no comma, an empty book or chapter
  // field), a book outside the book table or without verses, and a verse the book
  // does not hold. Only exact matches count.
  int GetVSyncKey(const char* reference);
  // The same look-up under its second name.
  int GetSectionKeyByVerse(const char* reference);

  // Media: 1 and the full path of `name` in `path` when the book has a media path;
  // 0, with `path` unchanged, otherwise or on any failure.
  BOOL IsMediaAvailable(const char* name, CString& path);

  // Error codes: the message of a code, and the code of a file exception cause.
  CString GetErrorString(int code);
  int ConvertCauseToErrorCode(int cause);

  // String arrays flattened to one buffer: count (i32), data length m (u32), then
  // the strings in the framework's archive encoding. StoreCStringArray returns the
  // buffer's length and hands the buffer (from ::operator new; free it with
  // ::operator delete) to the caller. LoadCStringArray rebuilds the array from a
  // buffer that holds all 8 + m bytes; a count of 0 leaves the array as it was.
  // Data that ends early raises CFileException(endOfFile) with the strings read so
  // far and empty strings after them. A negative count raises cause generic, and a
  // count larger than m (it cannot fit) cause endOfFile, both with the array
  // unchanged.
  int StoreCStringArray(char** buffer, const CStringArray& strings);
  void LoadCStringArray(char* buffer, CStringArray& strings);

 protected:
  // Removes from `request` each sync bit that is not the book's sync type flag.
  void MaskInvalidSyncFileFlags(DWORD& request) const;

 private:
  friend class cBookStore;

  void CopyAssignHelper(const cORVABookBase& other);
  // The not-open exception: CFileException* with cause generic, OS error -1 and no
  // file name. RequireOpen raises it unless IsOpen(request).
  [[noreturn]] static void ThrowNotOpen();
  void RequireOpen(DWORD request) const {
    if (!IsOpen(request)) ThrowNotOpen();
  }
  // The requested bits whose path member is set, and those whose path is empty.
  DWORD GetLocalFlags(DWORD request);
  DWORD GetRemoteFlags(DWORD request);
  // 1 when the path member of `bit` is set (for several bits, the highest decides).
  BOOL IsLocal(DWORD bit);
  // The path member of one flag bit, null for any other value.
  const CString* PathOfBit(DWORD bit) const;
  void ResetCursors();

  CString m_strBookName;
  CString m_strDefVolumeID;
  CString m_strRegVolumeID;
  CString m_strDefMediaType;
  CString m_strRegMediaType;
  CString m_strDefPath;
  CString m_strTextPath;
  CString m_strViewablePath;
  CString m_strSectionsPath;
  CString m_strVersesPath;
  CString m_strConcordPath;
  CString m_strWSyncPath;
  CString m_strVSyncPath;
  CString m_strSSyncPath;
  CString m_strDSyncPath;
  CString m_strMediaPath;
  CString m_strEdition;
  CString m_strBookID;
  CString m_strPublisherID;
  CString m_strSetID;
  CString m_strSyncType;
  CString m_strClientProgramVersion;
  int m_nDataSetNumber = 0;
  int m_nBookNumber = 0;
  cBookStore* m_pStore = nullptr;
  DWORD m_dwOpenFlags = 0;
  DWORD m_dwRemoteFlags = 0;
  DWORD m_dwLocalFlags = 0;
  int m_nChunkPosition = 0;
  int m_nChunkAreaSize = 0;
  int m_nChunkSize = 0;
  int m_nChunkAreaNumber = 0;
  int m_nWordCursor = -1;
  WORD m_wCursorLanguage = 1033;
  CString m_strServerIP;
  UINT m_nPort = 0;
  cORVAEvents* m_pEvents = nullptr;
  // Set while Open selects the concordance language, so that SelectCurrentLanguage
  // does not open the concordance again when Open left it closed.
  bool m_bSelectingLanguage = false;

  // Sections: the store's sections file, or the not-open exception.
  cSectionsFile& SectionsFile();

  // Sync: the store's file object of a sync flag (0x040 gives the verse sync file,
  // which is not a cSyncFile), null for any other flag and without a store.
  cFileBase* GetSyncFile(DWORD flag) const;
  // Sync: the word, Strong's or date sync file of `flag` after the open check.
  cSyncFile& OpenedSyncFile(DWORD flag);
  // Concordance and occurrences: the store's file objects, or the not-open
  // exception. ConcordFile and VersesFile need this object's bit open;
  // SharedConcordFile only the store's concordance.
  cConcordFile& ConcordFile();
  cConcordFile& SharedConcordFile();
  cVersesFile& VersesFile();
};

// The format version this library implements: 0x0200 (major 2, minor 0).
WORD GetCurrentORVAVersionInfo();
WORD GetLeastCompatibleORVAVersionInfo();

// The framework's element functions for collections of book objects: construct, or
// destroy, `count` objects in place at `first`; nothing for count <= 0.
void ConstructElements(cORVABookBase* first, int count);
void DestructElements(cORVABookBase* first, int count);
