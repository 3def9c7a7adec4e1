#include "zalang/language_table.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "zalang/char_data.h"
#include "zalang/language_registry.h"

namespace {

using zalang::cCharData;
using zalang::cCodePage;
using zalang::cLanguageRegistry;

// The entries of a table that MapUnicodeToASCII may look at. Tables of the library
// are looked up through their reverse index; any other table is scanned.
class TableWindow {
 public:
  TableWindow(const unsigned short* const* table, int first, int count)
      : m_table(table), m_codePage(cLanguageRegistry::Get().CodePageOfTable(table)) {
    const long long last = static_cast<long long>(first) + count - 1;
    m_first = std::max(first, 0);
    m_last = static_cast<int>(std::min<long long>(last, 255));
  }

  // Sets `out` to the bytes that list `ch`; false (and `out` untouched) when none does.
  bool Write(unsigned short ch, CString& out) const {
    unsigned char bytes[256];
    const int count = BytesOf(ch, bytes);
    if (count == 0) return false;
    AfxAllocating([&] { out = CString(reinterpret_cast<const char*>(bytes), count); });
    return true;
  }

 private:
  int BytesOf(unsigned short ch, unsigned char* bytes) const {
    if (ch == 0 || m_first > m_last) return 0;
    if (m_codePage) return m_codePage->BytesOf(ch, m_first, m_last, bytes);
    int count = 0;
    for (int b = m_first; b <= m_last; ++b) {
      for (const unsigned short* p = m_table[b]; p && *p; ++p) {
        if (*p == ch) {
          bytes[count++] = static_cast<unsigned char>(b);
          break;
        }
      }
    }
    return count;
  }

  const unsigned short* const* m_table;
  const cCodePage* m_codePage;
  int m_first;
  int m_last;
};

bool WriteFirstListed(zalang::sCharSpan candidates, const TableWindow& window, CString& out) {
  for (const unsigned short* p = candidates.first; p != candidates.last; ++p) {
    if (window.Write(*p, out)) return true;
  }
  return false;
}

}  // namespace

const unsigned short* const* cLanguageDatum::GetTable() const { return m_pCodePage->Table(); }

OrvaToILI& OrvaToILI::Instance() {
  static OrvaToILI instance;
  return instance;
}

OrvaToILI::OrvaToILI()
    : m_dwLanguageCount(static_cast<DWORD>(cLanguageRegistry::Get().Count())),
      m_dwDefaultLanguage(1033) {}

const cLanguageDatum* OrvaToILI::OrvaLangIdToLanguageDatum(unsigned short language) const {
  return cLanguageRegistry::Get().Find(language);
}

unsigned short OrvaToILI::OrvaLanguageStringToOrvaLangId(const unsigned short* name) const {
  return cLanguageRegistry::Get().FindByName(name);
}

const cLanguageDatum* OrvaToILI::GetLanguageDatumAt(int index) const {
  const cLanguageRegistry& registry = cLanguageRegistry::Get();
  return index >= 0 && index < registry.Count() ? &registry.At(index) : nullptr;
}

int OrvaToILI::GetLongestNameLength() const { return cLanguageRegistry::Get().LongestName(); }

void MapUnicodeToASCII(const unsigned short* text, int& consumed, CString& out,
                       const unsigned short* const* table, int first, int count) {
  consumed = 1;
  out.Empty();
  if (!text || !table || text[0] == 0) return;
  const TableWindow window(table, first, count);
  const cCharData& chars = cCharData::Get();
  const unsigned short ch = text[0];

  constexpr int kMaxMarks = zalang::data::kMaxDecomposedMarks;
  int following = 0;
  while (following < kMaxMarks && chars.IsMark(text[1 + following])) ++following;
  const zalang::sDecomposed own = chars.Decompose(ch);

  // The character with the most following marks that the table has precomposed.
  unsigned short marks[2 * kMaxMarks];
  std::copy(own.marks, own.marks + own.markCount, marks);
  for (int used = following; used >= 1; --used) {
    if (own.markCount + used > kMaxMarks) continue;
    std::copy(text + 1, text + 1 + used, marks + own.markCount);
    if (WriteFirstListed(chars.FindPrecomposed(own.base, marks, own.markCount + used), window, out)) {
      consumed = 1 + used;
      return;
    }
  }
  if (window.Write(ch, out)) return;
  // A canonically equivalent character: another precomposed form, or the base alone.
  if (WriteFirstListed(chars.FindPrecomposed(own.base, own.marks, own.markCount), window, out)) return;
  if (own.markCount == 0 && own.base != ch) window.Write(own.base, out);
}

BOOL IsMark(unsigned short ch) { return cCharData::Get().IsMark(ch) ? TRUE : FALSE; }
