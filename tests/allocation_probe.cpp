#include "tests/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_largest{0};

}  // namespace

namespace orva::test {

void ResetLargestAllocation() { g_largest = 0; }
std::size_t LargestAllocation() { return g_largest; }

}  // namespace orva::test

// The other forms of new and delete (arrays, sized, nothrow) come back to these two.
void* operator new(std::size_t size) {
  std::size_t seen = g_largest.load(std::memory_order_relaxed);
  while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
  }
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
