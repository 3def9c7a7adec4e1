#include "writer/concord_writer.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "writer/golomb_writer.h"
#include "writer/list_pool.h"
#include "zalang/language_string.h"

namespace orva::writer {

namespace {

constexpr std::uint16_t kByteLanguage = 1033;

std::vector<std::uint8_t> Sized(std::vector<std::uint8_t> bytes, size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

// The word as the library reads it back: 8-bit text through the language
// library's table for language 1033, the characters themselves otherwise.
cLanguageString AsRead(const std::u16string& text, std::uint16_t language, std::string* bytes = nullptr) {
  std::vector<unsigned short> chars(text.begin(), text.end());
  chars.push_back(0);
  cLanguageString word(chars.data(), language);
  if (language != kByteLanguage) return word;
  const CString narrow = word;
  if (bytes) bytes->assign(static_cast<const char*>(narrow), static_cast<size_t>(narrow.GetLength()));
  cLanguageString read;
  read = static_cast<const char*>(narrow);
  return read;
}

std::uint32_t KeyRange(const ConcordDescription& d) {
  if (d.keyRange) return *d.keyRange;
  std::uint32_t largest = 0;
  for (const ConcordLanguage& language : d.languages) {
    for (const ConcordWord& word : language.words) {
      if (!word.keys.empty()) largest = std::max(largest, word.keys.back());
    }
  }
  return largest + 1;
}

std::uint16_t PositionRange(const ConcordLanguage& language) {
  if (language.positionRange) return *language.positionRange;
  std::uint32_t largest = 0;
  for (const ConcordWord& word : language.words) {
    for (const auto& list : word.positions) {
      if (!list.empty()) largest = std::max<std::uint32_t>(largest, list.back());
    }
  }
  return static_cast<std::uint16_t>(std::min<std::uint32_t>(largest + 1, 0xFFFF));
}

// The number of leading values of `values` at most `limit`.
template <class T>
size_t LeadingAtMost(const std::vector<T>& values, std::uint32_t limit) {
  size_t n = 0;
  while (n < values.size() && values[n] <= limit) ++n;
  return n;
}

// The words of `language` in the order they are written (SortedWords), not
// copied: the encoder reads them where they are.
std::vector<const ConcordWord*> SortedOrder(const ConcordLanguage& language) {
  std::vector<std::pair<cLanguageString, const ConcordWord*>> keyed;
  for (const ConcordWord& word : language.words) keyed.emplace_back(AsRead(word.text, language.id), &word);
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first.Compare(b.first, 0, 1) < 0; });
  std::vector<const ConcordWord*> order;
  order.reserve(keyed.size());
  for (const auto& entry : keyed) order.push_back(entry.second);
  return order;
}

class ConcordEncoder {
 public:
  ConcordEncoder(const ConcordDescription& d, ConcordLayout* layout) : m_d(d), m_layout(layout) {}

  std::vector<std::uint8_t> Encode() {
    WriteVersionRecord(m_out, m_d.version);
    ByteWriter header;
    header.U16(m_d.headerLength).U16(static_cast<std::uint16_t>(m_d.languages.size())).U16(m_d.languageRecSize);
    header.U8(m_d.coded ? 1 : 0).U8(0);
    m_out.Record(header, m_d.headerLength);
    m_keyRange = KeyRange(m_d);
    if (m_d.coded) m_out.U32(m_keyRange);
    const size_t table = m_out.Size();
    if (m_layout) m_layout->languageTable = static_cast<std::uint32_t>(table);
    m_out.Bytes(std::vector<std::uint8_t>(m_d.languages.size() * m_d.languageRecSize, 0));
    for (size_t i = 0; i < m_d.languages.size(); ++i) {
      Patch(table + i * m_d.languageRecSize, WriteLanguage(m_d.languages[i]));
    }
    std::vector<std::uint8_t> data = m_out.Take();
    for (const auto& [at, bytes] : m_patches) std::copy(bytes.begin(), bytes.end(), data.begin() + at);
    return data;
  }

 private:
  // Records are written once everything they point at has its place.
  void Patch(size_t at, std::vector<std::uint8_t> bytes) { m_patches.emplace_back(at, std::move(bytes)); }

  // Writes the language's word table and words; returns its language record.
  std::vector<std::uint8_t> WriteLanguage(const ConcordLanguage& language);
  // `shared`: where the word's lists are, when it shares them; else null.
  ConcordWordLayout WriteWord(const ConcordWord& word, std::uint16_t language, std::uint16_t positionRange,
                              const std::vector<std::uint32_t>* shared, std::vector<std::uint8_t>& record);
  std::uint32_t WriteDirectory(const std::vector<std::uint32_t>& lists);
  std::uint32_t WritePositionList(const std::vector<std::uint16_t>& positions, std::uint16_t range);

  const ConcordDescription& m_d;
  ConcordLayout* m_layout;
  ByteWriter m_out;
  std::uint32_t m_keyRange = 0;
  std::vector<std::pair<size_t, std::vector<std::uint8_t>>> m_patches;
  std::map<std::vector<std::uint8_t>, std::uint32_t> m_directories;  // with shareLists: those written
};

std::vector<std::uint8_t> ConcordEncoder::WriteLanguage(const ConcordLanguage& language) {
  const std::vector<const ConcordWord*> words = SortedOrder(language);
  const std::uint16_t positionRange = PositionRange(language);
  const size_t table = m_out.Size();
  m_out.Bytes(std::vector<std::uint8_t>(words.size() * language.wordRecSize, 0));
  SharedLists shared;
  if (m_d.coded && m_d.shareLists) {
    // A list per key: a word's own lists, or a copy cut or padded to its keys.
    std::vector<WordLists> fitted;
    fitted.reserve(words.size());
    std::vector<const WordLists*> all;
    for (const ConcordWord* word : words) {
      if (word->positions.size() == word->keys.size()) {
        all.push_back(&word->positions);
        continue;
      }
      fitted.push_back(word->positions);
      fitted.back().resize(word->keys.size());
      all.push_back(&fitted.back());
    }
    shared = ShareLists(all, positionRange);
    const auto base = static_cast<std::uint32_t>(m_out.Size());
    m_out.Bytes(shared.bytes);
    for (std::vector<std::uint32_t>& offsets : shared.offsets) {
      for (std::uint32_t& offset : offsets) offset += base;
    }
  }
  std::vector<ConcordWordLayout> layouts;
  for (size_t i = 0; i < words.size(); ++i) {
    std::vector<std::uint8_t> record;
    const bool sharing = i < shared.offsets.size() && !shared.offsets[i].empty();
    layouts.push_back(WriteWord(*words[i], language.id, positionRange, sharing ? &shared.offsets[i] : nullptr, record));
    layouts.back().record = static_cast<std::uint32_t>(table + i * language.wordRecSize);
    Patch(layouts.back().record, Sized(record, language.wordRecSize));
  }
  if (m_layout) m_layout->words.push_back(layouts);

  ByteWriter record;
  record.U16(language.id).U32(language.wordCount.value_or(static_cast<std::uint32_t>(words.size())));
  record.U32(language.wordTableOffset.value_or(static_cast<std::uint32_t>(table)));
  record.U16(language.wordRecSize).U16(positionRange).U16(0);
  return Sized(record.Take(), m_d.languageRecSize);
}

ConcordWordLayout ConcordEncoder::WriteWord(const ConcordWord& word, std::uint16_t language,
                                            std::uint16_t positionRange, const std::vector<std::uint32_t>* shared,
                                            std::vector<std::uint8_t>& record) {
  ConcordWordLayout layout;
  layout.entry = static_cast<std::uint32_t>(m_out.Size());
  if (language == kByteLanguage) {
    std::string bytes;
    AsRead(word.text, language, &bytes);
    m_out.U16(static_cast<std::uint16_t>(bytes.size())).Text(bytes);
  } else {
    m_out.U16(static_cast<std::uint16_t>(word.text.size()));
    for (char16_t c : word.text) m_out.U16(c);
  }
  layout.keyList = static_cast<std::uint32_t>(m_out.Size());
  const std::vector<std::uint32_t>& keys = word.keys;
  size_t narrow = 0;
  if (m_d.coded) {
    if (!keys.empty()) m_out.Bytes(EncodeCodedList(keys, m_keyRange));
  } else {
    narrow = m_d.narrowPlain ? LeadingAtMost(keys, 0xFFFF) : 0;
    for (size_t i = 0; i < keys.size(); ++i) {
      if (i < narrow) m_out.U16(static_cast<std::uint16_t>(keys[i]));
      else m_out.U32(keys[i]);
    }
  }

  static const std::vector<std::uint16_t> kNoPositions;
  if (shared) {
    layout.lists = *shared;
  } else {
    for (size_t i = 0; i < keys.size(); ++i) {
      layout.lists.push_back(WritePositionList(i < word.positions.size() ? word.positions[i] : kNoPositions,
                                               positionRange));
    }
  }
  const std::vector<std::uint32_t>& lists = layout.lists;
  if (!m_d.coded) {
    layout.offsets = static_cast<std::uint32_t>(m_out.Size());
    for (std::uint32_t offset : lists) m_out.U32(offset);
  } else {
    layout.offsets = WriteDirectory(lists);
  }

  ByteWriter fields;
  fields.U32(word.data);
  if (m_d.coded) {
    fields.U32(static_cast<std::uint32_t>(keys.size())).U32(layout.entry).U32(layout.offsets).U16(word.codedData);
  } else {
    fields.U32(static_cast<std::uint32_t>(keys.size() - narrow)).U32(layout.entry);
    fields.U16(static_cast<std::uint16_t>(narrow)).U32(layout.offsets);
  }
  record = fields.Take();
  return layout;
}

// The coded position directory of lists at `lists`: where it went.
std::uint32_t ConcordEncoder::WriteDirectory(const std::vector<std::uint32_t>& lists) {
  ByteWriter directory;
  if (!lists.empty()) {
    const std::uint32_t first = lists.front();
    if (lists.size() > 1) directory.U32(lists.back() - first);
    directory.U32(first);
    std::vector<std::uint32_t> between;
    if (lists.size() > 2) between.assign(lists.begin() + 1, lists.end() - 1);
    directory.Bytes(
        EncodeCodedList(between, lists.back() - first, static_cast<std::uint32_t>(lists.size()), &first));
  }
  const auto at = static_cast<std::uint32_t>(m_out.Size());
  if (!m_d.shareLists || directory.Size() == 0) {
    m_out.Bytes(directory.Data());
    return at;
  }
  const auto [written, added] = m_directories.emplace(directory.Data(), at);
  if (added) m_out.Bytes(directory.Data());
  return written->second;
}

std::uint32_t ConcordEncoder::WritePositionList(const std::vector<std::uint16_t>& positions, std::uint16_t range) {
  const auto offset = static_cast<std::uint32_t>(m_out.Size());
  if (positions.size() > 0xFFFF) throw std::invalid_argument("a position list holds at most 65535 positions");
  if (m_d.coded) {
    m_out.U16(static_cast<std::uint16_t>(positions.size()));
    if (!positions.empty()) m_out.Bytes(EncodeCodedList({positions.begin(), positions.end()}, range));
    return offset;
  }
  const size_t bytes = m_d.narrowPlain ? std::min<size_t>(LeadingAtMost(positions, 0xFF), 0xFF) : 0;
  m_out.U8(static_cast<std::uint8_t>(bytes)).U16(static_cast<std::uint16_t>(positions.size() - bytes));
  for (size_t i = 0; i < positions.size(); ++i) {
    if (i < bytes) m_out.U8(static_cast<std::uint8_t>(positions[i]));
    else m_out.U16(positions[i]);
  }
  return offset;
}

}  // namespace

std::vector<ConcordWord> SortedWords(const ConcordLanguage& language) {
  std::vector<ConcordWord> sorted;
  for (const ConcordWord* word : SortedOrder(language)) sorted.push_back(*word);
  return sorted;
}

std::vector<std::uint8_t> EncodeConcordIndex(const ConcordDescription& concord, ConcordLayout* layout) {
  if (layout) *layout = ConcordLayout{};
  return ConcordEncoder(concord, layout).Encode();
}

}  // namespace orva::writer
