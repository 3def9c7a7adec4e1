#include "tools/json.h"

#include <cstdio>

namespace orva::tool {

void JsonWriter::Separate() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (!m_first) m_text += ',';
  m_first = false;
}

JsonWriter& JsonWriter::Open(char bracket) {
  Separate();
  m_text += bracket;
  m_first = true;
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  m_text += bracket;
  m_first = false;
  return *this;
}

JsonWriter& JsonWriter::Value(const std::string& text) {
  Separate();
  m_text += '"';
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      m_text += '\\';
      m_text += c;
    } else if (c == '\n') {
      m_text += "\\n";
    } else if (c == '\t') {
      m_text += "\\t";
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      m_text += escaped;
    } else {
      m_text += c;
    }
  }
  m_text += '"';
  return *this;
}

JsonWriter& JsonWriter::Value(long long number) {
  Separate();
  m_text += std::to_string(number);
  return *this;
}

JsonWriter& JsonWriter::Value(bool flag) {
  Separate();
  m_text += flag ? "true" : "false";
  return *this;
}

}  // namespace orva::tool
