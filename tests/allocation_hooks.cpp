#include "tests/allocation_hooks.h"

#include <cstdlib>
#include <new>

namespace {

// The tests run on one thread; the library starts none.
std::size_t g_largest = 0;
std::size_t g_total = 0;
long g_countdown = 0;  // 0: disarmed
bool g_reached = false;

bool ShouldFail() {
  if (g_countdown == 0 || --g_countdown != 0) return false;
  g_reached = true;
  return true;
}

void* Allocate(std::size_t size) {
  if (size > g_largest) g_largest = size;
  g_total += size;
  if (ShouldFail()) return nullptr;
  return std::malloc(size != 0 ? size : 1);
}

void* AllocateOrThrow(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}

}  // namespace

namespace orva::test {

void ResetLargestAllocation() { g_largest = g_total = 0; }
std::size_t LargestAllocation() { return g_largest; }
std::size_t AllocatedBytes() { return g_total; }

void ArmAllocationFailure(long n) {
  g_countdown = n;
  g_reached = false;
}

bool DisarmAllocationFailure() {
  g_countdown = 0;
  return g_reached;
}

}  // namespace orva::test

// Every form of new and delete without alignment comes here, so that memory from
// one form is never freed by another's runtime (a sanitizer's, for instance).
void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
