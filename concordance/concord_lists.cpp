// Key lists, position-list offsets and position lists of a word, plain or coded,
// and the cache of one word's key list and offsets.
#include <algorithm>

#include "concordance/coded_list.h"
#include "concordance/concord_file.h"
#include "files/file_checks.h"
#include "files/endian.h"
#include "platform/exceptions.h"

namespace {

constexpr DWORD kMaxPositions = 0xFFFF;

// Resizes a scratch buffer without shrinking it.
void Reserve(std::vector<char>& buffer, size_t size) {
  if (buffer.size() < size) AfxAllocating([&] { buffer.resize(size); });
}

// Reads `count` bytes into `buffer`, which may be null when there are none.
void ReadBytes(cFileBase& file, void* buffer, UINT count) {
  if (count > 0) file.Read(buffer, count);
}

}  // namespace

int cConcordFile::ReadKeys(int wordKey, CUIntArray& keys) {
  if (!IsValidWordKey(wordKey)) return -1;
  if (wordKey == m_nCachedWord) keys.Copy(m_KeyCache);
  else LoadKeys(wordKey, keys);
  return wordKey;
}

void cConcordFile::LoadKeys(int wordKey, CUIntArray& keys) {
  EmptyCaches();
  try {
    const sWordListRec record = ReadWordRecord(wordKey);
    const int length = ReadEntryLength(record.dwEntryOffset);
    const long long at = record.dwEntryOffset + 2LL + TextBytes(length);
    if (IsCoded()) ReadCodedKeys(record, at, keys);
    else ReadPlainKeys(record, at, keys);
  } catch (...) {
    // The key cache may be the array being read into: it must not keep a part.
    if (&keys == &m_KeyCache) m_KeyCache.SetSize(0);
    throw;
  }
  m_KeyCache.Copy(keys);
  m_nCachedWord = wordKey;
}

void cConcordFile::ReadPlainKeys(const sWordListRec& record, long long at, CUIntArray& keys) {
  const DWORD narrow = record.lists.plain.wKey16Count;
  const DWORD wide = record.dwKeyCount;
  orva::SeekToBytes(*this, at, 2ULL * narrow + 4ULL * wide);
  // The file holds all those bytes, so the count fits an int.
  keys.SetSize(static_cast<int>(narrow + wide));
  Reserve(m_Bytes, 2 * narrow);
  ReadBytes(*this, m_Bytes.data(), 2 * narrow);
  UINT* out = keys.GetData();
  const auto* in = reinterpret_cast<const unsigned char*>(m_Bytes.data());
  for (DWORD i = 0; i < narrow; ++i) out[i] = orva::DecodeU16(in + 2 * i);
  ReadBytes(*this, out + narrow, 4 * wide);  // little-endian host
}

void cConcordFile::ReadCodedKeys(const sWordListRec& record, long long at, CUIntArray& keys) {
  orva::ReadCodedList(*this, at, record.dwKeyCount, m_dwKeyRange, keys);
}

int cConcordFile::ReadRecord(int wordKey, sWordListRec& record) {
  if (!IsValidWordKey(wordKey)) return -1;
  Read(&record, SeekWordRecord(wordKey));
  return wordKey;
}

int cConcordFile::ReadPositions(int wordKey, DWORD key, CWordArray& positions) {
  if (wordKey != m_nCachedWord) {
    if (!IsValidWordKey(wordKey)) {
      positions.SetSize(0);
      return -1;
    }
    LoadKeys(wordKey, m_KeyCache);
  }
  const UINT* keys = m_KeyCache.GetData();
  int lo = 0, hi = m_KeyCache.GetSize() - 1, index = -1;
  const int guess = m_nLastKeyIndex + 1;
  if (guess <= hi && keys[guess] == key) {
    index = guess;
    lo = hi + 1;
  }
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    if (keys[mid] == key) {
      index = mid;
      break;
    }
    if (keys[mid] > key) hi = mid - 1;
    else lo = mid + 1;
  }
  if (index < 0) {
    positions.SetSize(0);
    return -1;
  }
  m_nLastKeyIndex = index;
  if (m_PositionOffsets.GetSize() == 0) LoadPositionOffsets(wordKey);
  ReadPositionList(OffsetAt(index), positions);
  return wordKey;
}

void cConcordFile::LoadPositionOffsets(int wordKey) {
  const DWORD count = static_cast<DWORD>(m_KeyCache.GetSize());
  try {
    const sWordListRec record = ReadWordRecord(wordKey);
    if (!IsCoded()) {
      orva::SeekToBytes(*this, record.lists.plain.dwPositionTable, 4ULL * count);
      m_PositionOffsets.SetSize(static_cast<int>(count));
      ReadBytes(*this, m_PositionOffsets.GetData(), 4 * count);  // little-endian host
      m_nOffsetsKnown = static_cast<int>(count);
      return;
    }
    // The directory: the span (only with two keys or more), the first offset, then
    // the offsets between the first and the last as a coded list that continues
    // from the first.
    const long long at = record.lists.coded.dwPositionDirectory;
    const UINT head = count > 1 ? 8 : 4;
    unsigned char fields[8];
    orva::ReadBytesAt(*this, at, fields, head);
    const DWORD span = count > 1 ? orva::DecodeU32(fields) : 0;
    const DWORD first = orva::DecodeU32(fields + head - 4);
    const DWORD between = count > 1 ? count - 2 : 0;
    orva::CheckCodedListFits(*this, at + head, between);
    m_PositionOffsets.SetSize(static_cast<int>(count));
    UINT* offsets = m_PositionOffsets.GetData();
    offsets[0] = first;
    offsets[count - 1] = first + span;
    m_nOffsetsKnown = 1;
    m_OffsetsPlace = cBitReader::Start(*this, at + head);
    m_OffsetParameter = orva::GolombParameterFor(span, count);
  } catch (...) {
    m_PositionOffsets.SetSize(0);
    m_nOffsetsKnown = 0;
    throw;
  }
}

DWORD cConcordFile::OffsetAt(int index) {
  const int last = m_PositionOffsets.GetSize() - 1;
  if (index >= m_nOffsetsKnown && index < last) {
    // Decodes on to a little past `index`, for the keys that are asked for next.
    const int until = std::min(last, index + 64);
    try {
      UINT* offsets = m_PositionOffsets.GetData();
      cBitReader bits(*this, m_OffsetsPlace);
      orva::DecodeValues(bits, m_OffsetParameter, static_cast<DWORD>(until - m_nOffsetsKnown),
                         offsets[m_nOffsetsKnown - 1], offsets + m_nOffsetsKnown);
      m_OffsetsPlace = bits.Here();
      m_nOffsetsKnown = until;
    } catch (...) {
      m_PositionOffsets.SetSize(0);
      m_nOffsetsKnown = 0;
      throw;
    }
  }
  return m_PositionOffsets[index];
}

void cConcordFile::ReadPositionList(DWORD offset, CWordArray& positions) {
  if (!IsCoded()) {
    unsigned char counts[3];
    orva::ReadBytesAt(*this, offset, counts, sizeof counts);
    const DWORD bytes = counts[0];
    const DWORD words = orva::DecodeU16(counts + 1);
    if (bytes + words > kMaxPositions) orva::ThrowDamaged();
    orva::RequireBytes(*this, offset + 3LL, bytes + 2ULL * words);
    positions.SetSize(static_cast<int>(bytes + words));
    Reserve(m_Bytes, bytes);
    ReadBytes(*this, m_Bytes.data(), bytes);
    WORD* out = positions.GetData();
    for (DWORD i = 0; i < bytes; ++i) out[i] = static_cast<unsigned char>(m_Bytes[i]);
    ReadBytes(*this, out + bytes, 2 * words);  // little-endian host
    return;
  }
  unsigned char countField[2];
  orva::ReadBytesAt(*this, offset, countField, sizeof countField);
  const DWORD count = orva::DecodeU16(countField);
  const WORD range = m_CurrentLanguage.wPositionRange;
  if (count == 0 || count >= m_PositionParameters.size()) {
    orva::ReadCodedList(*this, offset + 2LL, count, range, positions);
    return;
  }
  if (m_lParametersRange != range) {
    m_PositionParameters = {};
    m_lParametersRange = range;
  }
  orva::GolombParameter& parameter = m_PositionParameters[count];
  if (parameter.b == 0) parameter = orva::GolombParameterFor(range, count);
  orva::ReadCodedList(*this, offset + 2LL, count, parameter, positions);
}
