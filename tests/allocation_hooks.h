// Hooks on the global operator new, which the test program replaces
// (allocation_hooks.cpp): tests see the largest single request made, and can make
// one chosen allocation fail.
#pragma once

#include <cstddef>

namespace orva::test {

// The largest request, and all bytes requested, since the last reset: tests show
// that a size read from a damaged file is refused before anything of that size is
// allocated, and that a hostile file does not make a reader allocate without end.
void ResetLargestAllocation();
std::size_t LargestAllocation();
std::size_t AllocatedBytes();

// Once armed with n, the n-th allocation from then on fails (std::bad_alloc, or
// null from the nothrow forms); every other allocation succeeds.
void ArmAllocationFailure(long n);
// Disarms; true when the armed allocation was reached (and failed).
bool DisarmAllocationFailure();

}  // namespace orva::test
