#include "platform/winapi.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  const long long half = (c < 0 ? -static_cast<long long>(c) : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const long long magnitude = (product < 0 ? -product : product) + half;
  const long long quotient = magnitude / (c < 0 ? -static_cast<long long>(c) : c);
  const long long result = negative ? -quotient : quotient;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(result);
}

int AfxFormatBuffer(char* buffer, size_t size, const char* format, ...) {
  if (buffer == nullptr || size == 0) return 0;
  va_list args;
  va_start(args, format);
  const int wanted = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(wanted) < size ? wanted : static_cast<int>(size - 1);
}

DWORD GetTempPathA(DWORD bufferLength, char* buffer) {
  const char* dir = std::getenv("TMPDIR");
  if (dir == nullptr || *dir == '\0') dir = "/tmp";
  const size_t length = std::strlen(dir);
  const bool slash = dir[length - 1] == '/';
  const size_t total = length + (slash ? 0 : 1);
  if (total >= std::numeric_limits<DWORD>::max()) return 0;
  if (buffer == nullptr || total + 1 > bufferLength) return static_cast<DWORD>(total + 1);
  std::memcpy(buffer, dir, length);
  if (!slash) buffer[length] = '/';
  buffer[total] = '\0';
  return static_cast<DWORD>(total);
}

int _mbscmp(const unsigned char* a, const unsigned char* b) {
  const int r = std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
  return (r > 0) - (r < 0);
}

int _mbsicmp(const unsigned char* a, const unsigned char* b) {
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : int{c}; };
  for (;; ++a, ++b) {
    const int d = fold(*a) - fold(*b);
    if (d != 0 || *a == 0) return (d > 0) - (d < 0);
  }
}

int RuntimeAtoi(const char* text) {
  if (text == nullptr) return 0;
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' || *text == '\v') ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  long long value = 0;
  const long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    value = value * 10 + (*text - '0');
    if (value > limit) value = limit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}
