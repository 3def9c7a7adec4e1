// A small JSON writer for the --json output of the orva program: values are
// appended in order, commas are placed by the writer.
#pragma once

#include <string>

namespace orva::tool {

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // The name of the next member of an object.
  JsonWriter& Key(const std::string& name) {
    Value(name);
    m_text += ':';
    m_afterKey = true;
    return *this;
  }
  JsonWriter& Value(const std::string& text);  // a string (UTF-8)
  JsonWriter& Value(const char* text) { return Value(std::string(text)); }
  JsonWriter& Value(long long number);
  JsonWriter& Value(int number) { return Value(static_cast<long long>(number)); }
  JsonWriter& Value(unsigned number) { return Value(static_cast<long long>(number)); }
  JsonWriter& Value(bool flag);
  template <class T>
  JsonWriter& Member(const std::string& name, const T& value) {
    return Key(name).Value(value);
  }

  // The text written so far, with a line end.
  std::string Text() const { return m_text + "\n"; }

 private:
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  void Separate();

  std::string m_text;
  bool m_first = true;
  bool m_afterKey = false;
};

}  // namespace orva::tool
