// A replacement of the global operator new for this test program: once armed with
// n, the n-th allocation from then on fails (std::bad_alloc, or null from the
// nothrow forms) and every other allocation succeeds.
#pragma once

namespace orva::test {

void ArmAllocationFailure(long n);
// Disarms; true when the armed allocation was reached (and failed).
bool DisarmAllocationFailure();

}  // namespace orva::test
