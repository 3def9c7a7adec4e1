// The few operating-system and runtime calls the library makes, with the behaviour
// of the platform the format comes from.
#pragma once

#include <cstddef>

#include "platform/types.h"

// a * b / c, computed in 64 bits and rounded half away from zero; -1 when c is 0
// or the result does not fit an int.
int MulDiv(int a, int b, int c);

// printf-style formatting into `buffer` of `size` bytes: a longer text is cut and
// always NUL-terminated, never overrun. Returns the length written.
int AfxFormatBuffer(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The directory for temporary files, ending in '/': $TMPDIR when set, else /tmp/.
// Returns its length; when `bufferLength` is too small, returns the length
// needed (terminator included) and writes nothing; 0 on failure.
DWORD GetTempPathA(DWORD bufferLength, char* buffer);

// Byte-order comparison of NUL-terminated strings: negative, 0 or positive.
int _mbscmp(const unsigned char* a, const unsigned char* b);
// As _mbscmp with the ASCII letters A-Z folded to a-z; this order sorts the sync
// indexes.
int _mbsicmp(const unsigned char* a, const unsigned char* b);

// The runtime's atoi: leading blanks, an optional sign, then decimal digits; text
// without digits gives 0, and a value beyond the range of int saturates.
int RuntimeAtoi(const char* text);
