#include "zalang/language_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"

namespace zalang {
namespace {

constexpr unsigned short kReplacement = 0xFFFD;

}  // namespace

cCodePage::cCodePage(const unsigned short (*entries)[data::kEntryWidth]) {
  for (int b = 0; b < 256; ++b) {
    const unsigned short* entry = entries[b];
    m_table[static_cast<size_t>(b)] = entry;
    m_readings[static_cast<size_t>(b)] = b == 0 ? 0 : entry[0] != 0 ? entry[0] : kReplacement;
    for (int i = 0; i < data::kEntryWidth && entry[i] != 0; ++i)
      m_listings.push_back({entry[i], static_cast<unsigned char>(b)});
  }
  std::sort(m_listings.begin(), m_listings.end());
  for (size_t i = m_listings.size(); i-- > 0;) {
    if (m_listings[i].ch < m_firstListing.size()) m_firstListing[m_listings[i].ch] = static_cast<std::uint16_t>(i + 1);
  }
}

std::pair<const cCodePage::sListing*, const cCodePage::sListing*> cCodePage::ListingsOf(unsigned short ch) const {
  const sListing* begin = m_listings.data();
  const sListing* end = begin + m_listings.size();
  const sListing* first;
  if (ch < m_firstListing.size()) {
    if (m_firstListing[ch] == 0) return {end, end};
    first = begin + m_firstListing[ch] - 1;
  } else {
    first = std::lower_bound(begin, end, sListing{ch, 0});
  }
  const sListing* last = first;
  while (last != end && last->ch == ch) ++last;
  return {first, last};
}

int cCodePage::BytesOf(unsigned short ch, int first, int last, unsigned char* bytes) const {
  int count = 0;
  const auto range = ListingsOf(ch);
  for (const sListing* l = range.first; l != range.second; ++l) {
    if (l->byte >= first && l->byte <= last) bytes[count++] = l->byte;
  }
  return count;
}

int cCodePage::PreferredByte(unsigned short ch) const {
  const auto range = ListingsOf(ch);
  for (const sListing* l = range.first; l != range.second; ++l) {
    if (m_readings[l->byte] == ch) return l->byte;
  }
  return range.first != range.second ? range.first->byte : -1;
}

const cLanguageRegistry& cLanguageRegistry::Get() {
  static const cLanguageRegistry registry;
  return registry;
}

cLanguageRegistry::cLanguageRegistry() {
  AfxAllocating([&] {
    m_languages.resize(static_cast<size_t>(data::kLanguageCount));
    for (int i = 0; i < data::kLanguageCount; ++i) {
      const data::sLanguageSource& source = data::kLanguages[i];
      const cCodePage* codePage = nullptr;
      for (const auto& known : m_codePages) {
        if (known->Table()[0] == source.table[0]) codePage = known.get();
      }
      if (!codePage) {
        m_codePages.push_back(std::make_unique<cCodePage>(source.table));
        codePage = m_codePages.back().get();
      }
      cLanguageDatum& datum = m_languages[static_cast<size_t>(i)];
      datum.m_id = source.id;
      const size_t nameLength = std::min(std::strlen(source.name), static_cast<size_t>(cLanguageDatum::kMaxName));
      for (size_t c = 0; c < nameLength; ++c) datum.m_name[c] = static_cast<unsigned char>(source.name[c]);
      datum.m_pCodePage = codePage;
      datum.m_first = source.first;
      datum.m_last = source.last;
      m_longestName = std::max(m_longestName, static_cast<int>(nameLength));
    }
    const cLanguageDatum* english = Find(1033);
    m_defaultCodePage = english ? english->m_pCodePage : m_codePages.front().get();
  });
}

const cLanguageDatum* cLanguageRegistry::Find(unsigned short language) const {
  for (const cLanguageDatum& datum : m_languages) {
    if (datum.m_id == language) return &datum;
  }
  return nullptr;
}

unsigned short cLanguageRegistry::FindByName(const unsigned short* name) const {
  if (!name) return 0;
  for (const cLanguageDatum& datum : m_languages) {
    int i = 0;
    while (datum.m_name[i] != 0 && datum.m_name[i] == name[i]) ++i;
    if (datum.m_name[i] == 0 && name[i] == 0) return datum.m_id;
  }
  return 0;
}

const cCodePage& cLanguageRegistry::CodePageOf(unsigned short language) const {
  const cLanguageDatum* datum = Find(language);
  return datum ? *datum->m_pCodePage : *m_defaultCodePage;
}

const cCodePage* cLanguageRegistry::CodePageOfTable(const unsigned short* const* table) const {
  for (const auto& codePage : m_codePages) {
    if (codePage->Table() == table) return codePage.get();
  }
  return nullptr;
}

}  // namespace zalang
