// Integer types of the 32-bit platform the book format comes from. They keep their
// widths on every host: a 32-bit file field is never a `long`.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = int;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Book files are little-endian and their records are copied straight into packed
// structures, so the host must be little-endian too.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "ORVADA needs a little-endian host");
