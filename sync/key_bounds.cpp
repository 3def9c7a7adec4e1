#include "sync/key_bounds.h"

#include <utility>

#include "langtext/tagged_string.h"
#include "platform/exceptions.h"

namespace orva {

namespace {

unsigned char ByteAt(const std::string& s, size_t at) { return static_cast<unsigned char>(s[at]); }

void ReplacePlaceholders(const CStringArray& alternatives, std::string& low, std::string& high) {
  int entry = 0;
  for (size_t p = 0; p < low.size(); ++p) {
    if (ByteAt(low, p) != ORVA_AMBIGUOUS_PLACEHOLDER) continue;
    unsigned char lowest = ORVA_AMBIGUOUS_PLACEHOLDER;
    unsigned char highest = 0;
    if (entry < alternatives.GetSize()) {
      const CString& forms = alternatives[entry];
      const auto* bytes = reinterpret_cast<const unsigned char*>(static_cast<const char*>(forms));
      for (int j = 0; j < forms.GetLength(); ++j) {
        if (bytes[j] < lowest) lowest = bytes[j];
        if (bytes[j] > highest) highest = bytes[j];
      }
    }
    ++entry;
    low[p] = static_cast<char>(lowest);
    high[p] = static_cast<char>(highest);
  }
}

void OrderAdjacentMarks(std::string& low, std::string& high) {
  const cLanguageString chars = TaggedStringToLang(low.c_str());
  const std::string built = AfxAllocating([&] { return low; });
  const int length = static_cast<int>(chars.GetLength());
  // Visible characters are found from the byte after the previous one found, so
  // the pass reads the key once.
  size_t base = 0;
  int counted = 0;
  for (int i = 0; i + 1 < length; ++i) {
    if (!IsMark(chars[i]) || !IsMark(chars[i + 1])) continue;
    const int at = VisibleIndexToByteIndex(i - counted, built.c_str() + base);
    if (at < 0) return;
    const size_t p = base + static_cast<size_t>(at);
    base = p + 1;
    counted = i + 1;
    if (p + 1 >= low.size()) return;
    if (ByteAt(low, p) > ByteAt(low, p + 1)) std::swap(low[p], low[p + 1]);
    if (ByteAt(high, p) < ByteAt(high, p + 1)) std::swap(high[p], high[p + 1]);
  }
}

}  // namespace

void SyncKeyBounds(const CString& tagged, const CStringArray& alternatives, std::string& low, std::string& high) {
  AfxAllocating([&] {
    low.assign(tagged, static_cast<size_t>(tagged.GetLength()));
    high = low;
  });
  if (alternatives.GetSize() == 0) return;
  ReplacePlaceholders(alternatives, low, high);
  OrderAdjacentMarks(low, high);
}

}  // namespace orva
