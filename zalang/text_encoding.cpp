#include "zalang/text_encoding.h"

#include "platform/exceptions.h"
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

std::string EncodeForLanguage(const std::u16string& text, unsigned short language) {
  // The code pages are built on first use; plain ASCII text does not need them.
  const zalang::cCodePage* codePage = nullptr;
  const auto page = [&]() -> const zalang::cCodePage& {
    if (!codePage) codePage = &zalang::cLanguageRegistry::Get().CodePageOf(language);
    return *codePage;
  };
  std::string out;
  AfxAllocating([&] { out.reserve(text.size()); });
  std::u16string rest;  // the zero-terminated tail that MapUnicodeToASCII reads
  for (size_t at = 0; at < text.size();) {
    const char16_t c = text[at];
    const bool marksFollow = at + 1 < text.size() && IsMarkAbove(text[at + 1]);
    int byte = -1;
    size_t used = 1;
    if (c != 0 && c < 0x80 && !marksFollow) {
      byte = c;
    } else if (!marksFollow) {
      byte = page().PreferredByte(c);
    } else {
      AfxAllocating([&] { rest.assign(text, at, std::u16string::npos); });
      int consumed = 1;
      CString bytes;
      MapUnicodeToASCII(reinterpret_cast<const unsigned short*>(rest.c_str()), consumed, bytes, page().Table(), 0,
                        256);
      if (consumed == 1) {
        byte = page().PreferredByte(c);
      } else if (bytes.GetLength() > 0) {
        byte = static_cast<unsigned char>(static_cast<const char*>(bytes)[0]);
        used = static_cast<size_t>(consumed);
      }
    }
    if (byte <= 0) throw TextError("the character " + Hex(c) + " has no form in the book's code page", at);
    AfxAllocating([&] { out += static_cast<char>(byte); });
    at += used;
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

}  // namespace zalang
