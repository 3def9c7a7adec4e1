// The largest single request made to the global operator new since the last
// ResetLargestAllocation: tests use it to show that a size read from a damaged
// file is refused before anything of that size is allocated. The test program
// replaces the global operator new (allocation_probe.cpp) to keep the count.
#pragma once

#include <cstddef>

namespace orva::test {

void ResetLargestAllocation();
std::size_t LargestAllocation();

}  // namespace orva::test
