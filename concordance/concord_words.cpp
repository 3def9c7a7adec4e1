// Words of the concordance: word records, word texts and the search of a word list.
#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "concordance/concord_file.h"
#include "files/file_checks.h"
#include "files/endian.h"
#include "platform/exceptions.h"

namespace {

// The bytes of a word record that each coding needs, at the least.
constexpr WORD kMinPlainWordRecSize = 18;
constexpr WORD kMinCodedWordRecSize = 16;
// The language whose words are stored as 8-bit text.
constexpr WORD kByteLanguage = 1033;

}  // namespace

UINT cConcordFile::SeekWordRecord(int key) {
  const WORD size = m_CurrentLanguage.wWordRecSize;
  if (size < (IsCoded() ? kMinCodedWordRecSize : kMinPlainWordRecSize)) orva::ThrowDamaged();
  const UINT held = std::min<UINT>(size, sizeof(sWordListRec));
  orva::SeekToBytes(*this, m_CurrentLanguage.dwWordTableOffset + static_cast<long long>(key) * size, held);
  return held;
}

sWordListRec cConcordFile::ReadWordRecord(int key) {
  sWordListRec record{};
  Read(&record, SeekWordRecord(key));
  return record;
}

int cConcordFile::ReadEntryLength(DWORD entryOffset) { return orva::CountAt(*this, entryOffset); }

long long cConcordFile::TextBytes(int length) const {
  return CurrentLanguage() == kByteLanguage ? length : 2LL * length;
}

int cConcordFile::ReadWord(int key, cLanguageString& word) {
  if (!IsValidWordKey(key)) return -1;
  // Only the record's head up to the entry offset is needed (the whole record is
  // checked to be there): a search reads one word per step.
  unsigned char head[12];
  SeekWordRecord(key);
  Read(head, sizeof head);
  const DWORD entry = orva::DecodeU32(head + 8);
  const int length = ReadEntryLength(entry);
  orva::RequireBytes(*this, entry + 2LL, static_cast<unsigned long long>(TextBytes(length)));
  const size_t size = static_cast<size_t>(length) + 1;
  if (CurrentLanguage() == kByteLanguage) {
    if (m_Bytes.size() < size) AfxAllocating([&] { m_Bytes.resize(size); });
    Read(m_Bytes.data(), static_cast<UINT>(length));
    m_Bytes[static_cast<size_t>(length)] = 0;
    // What assigning the zero-terminated text does, without searching for its end.
    word.SingleByteToWideChar(m_Bytes.data(), kByteLanguage, static_cast<unsigned int>(length));
  } else {
    if (m_Wide.size() < size) AfxAllocating([&] { m_Wide.resize(size); });
    Read(m_Wide.data(), static_cast<UINT>(2 * length));  // little-endian host
    m_Wide[static_cast<size_t>(length)] = 0;
    word.AssignCopy(CurrentLanguage(), m_Wide.data(), -1);
  }
  return key;
}

int cConcordFile::ReadWordList(int first, int count, CArray<cLanguageString, cLanguageString&>& words) {
  long long text = 0;
  for (int i = 0; i < count; ++i) {
    cLanguageString word;
    // A key past the end of the list gives an empty string: the loop must not wrap.
    if (first <= INT_MAX - i) ReadWord(first + i, word);
    text += word.GetLength();
    if (text > orva::kMaxResultText) orva::ThrowDamaged();
    // Appended as Add appends, without copying the word.
    const int index = words.GetSize();
    words.SetSize(index + 1);
    words[index] = std::move(word);
  }
  return 0;
}

int cConcordFile::FindNearest(const cLanguageString& search, cLanguageString& found) {
  const WORD lang = search.GetLanguage();
  if (lang == 0 || SelectLanguage(lang, nullptr) != 0) return -1;
  const int words = static_cast<int>(m_CurrentLanguage.dwWordCount);
  if (words <= 0) return -1;
  const int last = words - 1;
  int lo = 0, hi = last, mid = 0, order = 0;
  while (lo <= hi) {
    mid = lo + (hi - lo) / 2;
    ReadWord(mid, found);
    order = search.Compare(found, 0, 1);
    if (order == 0) return mid;
    if (order < 0) hi = mid - 1;
    else lo = mid + 1;
  }
  if (order < 0) return mid;
  if (mid < last) return ReadWord(mid + 1, found);
  found.Empty(0);
  return -1;
}

int cConcordFile::FindExact(const cLanguageString& search) {
  const WORD lang = search.GetLanguage();
  if (lang == 0 || SelectLanguage(lang, nullptr) != 0) return -1;
  const int key = FindNearest(search, m_Nearest);
  return key != -1 && search.Compare(m_Nearest, 0, 0) != 0 ? -1 : key;
}
