#include "zalang/text_encoding.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "zalang/char_data.h"
#include "zalang/language_registry.h"

namespace zalang {

namespace {

std::string Hex(unsigned code) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "U+";
  for (int shift = code > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4) text += digits[(code >> shift) & 0xF];
  return text;
}

// Every combining mark lies at U+0300 or above: plain text never builds the
// language library's character tables.
bool IsMarkAbove(char16_t c) { return c >= 0x300 && IsMark(c); }

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  AfxAllocating([&] { out.reserve(text.size()); });
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  for (size_t at = 0; at < text.size();) {
    const unsigned char lead = byte(at);
    size_t length;
    unsigned min, code;
    if (lead < 0x80) length = 1, min = 0, code = lead;
    else if ((lead & 0xE0) == 0xC0) length = 2, min = 0x80, code = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0) length = 3, min = 0x800, code = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0) length = 4, min = 0x10000, code = lead & 0x07;
    else throw TextError("the text is not valid UTF-8", at);
    if (text.size() - at < length) throw TextError("the text is not valid UTF-8", at);
    for (size_t i = 1; i < length; ++i) {
      if ((byte(at + i) & 0xC0) != 0x80) throw TextError("the text is not valid UTF-8", at);
      code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
      throw TextError("the text is not valid UTF-8", at);
    }
    if (code > 0xFFFF) throw TextError("the character " + Hex(code) + " lies beyond U+FFFF", at);
    AfxAllocating([&] { out.push_back(static_cast<char16_t>(code)); });
    at += length;
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  AfxAllocating([&] {
    out.reserve(text.size());
    for (char16_t c16 : text) {
      unsigned c = c16;
      if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
  });
  return out;
}

namespace {

constexpr int kMaxMarks = data::kMaxDecomposedMarks;

// The end of the cluster that begins at `at`: its character and the marks after it.
size_t ClusterEnd(const std::u16string& text, size_t at) {
  size_t end = at + 1;
  while (end < text.size() && IsMarkAbove(text[end])) ++end;
  return end;
}

// The character at `at` decomposed, followed by the cluster's marks: its base
// and the marks in order.
struct Cluster {
  unsigned short base;
  std::u16string marks;
};

Cluster Decomposed(const std::u16string& text, size_t at, size_t end) {
  const sDecomposed own = cCharData::Get().Decompose(text[at]);
  Cluster cluster{own.base, {}};
  AfxAllocating([&] {
    cluster.marks.assign(own.marks, own.marks + own.markCount);
    cluster.marks.append(text, at + 1, end - at - 1);
  });
  return cluster;
}

// Writes the cluster at [at, end) as `page` can; false when it cannot.
bool WriteCluster(const std::u16string& text, size_t at, size_t end, const cCodePage& page, std::string& out) {
  const cCharData& chars = cCharData::Get();
  const Cluster cluster = Decomposed(text, at, end);
  const auto* marks = reinterpret_cast<const unsigned short*>(cluster.marks.data());
  const int markCount = static_cast<int>(cluster.marks.size());
  int byte = -1;
  int used = 0;
  for (int k = std::min(markCount, kMaxMarks); k >= 1 && byte < 0; --k) {
    const sCharSpan candidates = chars.FindPrecomposed(cluster.base, marks, k);
    for (const unsigned short* p = candidates.first; p != candidates.last && byte < 0; ++p) {
      byte = page.PreferredByte(*p);
      used = k;
    }
  }
  if (byte < 0) {
    byte = page.PreferredByte(cluster.base);
    used = 0;
  }
  if (byte <= 0) return false;
  std::string bytes(1, static_cast<char>(byte));
  for (int i = used; i < markCount; ++i) {
    const int mark = page.PreferredByte(marks[i]);
    if (mark <= 0) return false;
    bytes += static_cast<char>(mark);
  }
  AfxAllocating([&] { out += bytes; });
  return true;
}

}  // namespace

size_t EncodeWhatFits(const std::u16string& text, size_t from, unsigned short language, std::string& out) {
  // The code pages are built on first use; plain ASCII text does not need them.
  const zalang::cCodePage* codePage = nullptr;
  const auto page = [&]() -> const zalang::cCodePage& {
    if (!codePage) codePage = &zalang::cLanguageRegistry::Get().CodePageOf(language);
    return *codePage;
  };
  AfxAllocating([&] { out.reserve(out.size() + text.size() - std::min(from, text.size())); });
  for (size_t at = from; at < text.size();) {
    const char16_t c = text[at];
    const bool marksFollow = at + 1 < text.size() && IsMarkAbove(text[at + 1]);
    if (c == 0) return at;
    if (!marksFollow) {
      const int byte = c < 0x80 ? c : page().PreferredByte(c);
      if (byte > 0) {
        AfxAllocating([&] { out += static_cast<char>(byte); });
        ++at;
        continue;
      }
    }
    const size_t end = ClusterEnd(text, at);
    if (!WriteCluster(text, at, end, page(), out)) return at;
    at = end;
  }
  return text.size();
}

std::string EncodeForLanguage(const std::u16string& text, unsigned short language) {
  std::string out;
  const size_t stop = EncodeWhatFits(text, 0, language, out);
  if (stop < text.size()) {
    throw TextError("the character " + Hex(text[stop]) + " has no form in the book's code page", stop);
  }
  return out;
}

std::u16string DecodeFromLanguage(const std::string& bytes, unsigned short language) {
  std::u16string out;
  AfxAllocating([&] { out.resize(bytes.size()); });
  const zalang::cCodePage* codePage = nullptr;  // built on first use, as above
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte > 0 && byte < 0x80) {
      out[i] = byte;  // ASCII reads as itself in every table
      continue;
    }
    if (!codePage) codePage = &zalang::cLanguageRegistry::Get().CodePageOf(language);
    out[i] = codePage->Reading(byte);
  }
  return out;
}

std::u16string DecomposeText(const std::u16string& text) {
  const cCharData* chars = nullptr;  // built on first use, as the code pages
  std::u16string out;
  AfxAllocating([&] {
    out.reserve(text.size());
    for (char16_t c : text) {
      if (c < 0xC0) {
        out += c;
        continue;
      }
      if (!chars) chars = &cCharData::Get();
      const sDecomposed d = chars->Decompose(c);
      out += static_cast<char16_t>(d.base);
      out.append(d.marks, d.marks + d.markCount);
    }
  });
  return out;
}

std::u16string ComposeText(const std::u16string& text) {
  std::u16string out;
  AfxAllocating([&] { out.reserve(text.size()); });
  for (size_t at = 0; at < text.size();) {
    const size_t end = ClusterEnd(text, at);
    if (end == at + 1) {
      AfxAllocating([&] { out += text[at]; });
      ++at;
      continue;
    }
    const Cluster cluster = Decomposed(text, at, end);
    const auto* marks = reinterpret_cast<const unsigned short*>(cluster.marks.data());
    const int markCount = static_cast<int>(cluster.marks.size());
    size_t used = 0;
    char16_t first = text[at];
    for (int k = std::min(markCount, kMaxMarks); k >= 1; --k) {
      const sCharSpan candidates = cCharData::Get().FindPrecomposed(cluster.base, marks, k);
      if (candidates.first != candidates.last) {
        first = *candidates.first;
        used = static_cast<size_t>(k);
        break;
      }
    }
    AfxAllocating([&] {
      if (used == 0) {
        out.append(text, at, end - at);  // nothing composes: as it was
      } else {
        out += first;
        out.append(cluster.marks, used, std::u16string::npos);
      }
    });
    at = end;
  }
  return out;
}

}  // namespace zalang
