#include "concordance/coded_list.h"

#include "platform/winapi.h"

namespace orva {

GolombParameter GolombParameterFor(DWORD range, DWORD count) {
  // A range of 2^31 or more is negative here, as the format defines it. Below
  // that, MulDiv's rounding (halves up) by the constant 100 is done in place,
  // without a division: a parameter is computed for every list read.
  const int h = range < 0x80000000u ? static_cast<int>((69ull * range + 50) / 100)
                                    : MulDiv(69, static_cast<int>(range), 100);
  GolombParameter p{};
  p.b = static_cast<DWORD>(h) / count;
  if (p.b == 0) p.b = 1;
  const unsigned long long twiceMinusOne = 2ull * p.b - 1;
  p.k = 63 - __builtin_clzll(twiceMinusOne);  // the bit length of 2b-1, minus 1
  p.t = static_cast<DWORD>((1ull << p.k) - p.b);
  return p;
}

}  // namespace orva
