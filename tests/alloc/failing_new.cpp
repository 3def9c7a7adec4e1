#include "tests/alloc/failing_new.h"

#include <cstdlib>
#include <new>

namespace {

long g_countdown = 0;  // 0: disarmed
bool g_reached = false;

bool ShouldFail() {
  if (g_countdown == 0 || --g_countdown != 0) return false;
  g_reached = true;
  return true;
}

void* Allocate(std::size_t size) {
  if (ShouldFail()) return nullptr;
  return std::malloc(size ? size : 1);
}

}  // namespace

namespace orva::test {

void ArmAllocationFailure(long n) {
  g_countdown = n;
  g_reached = false;
}

bool DisarmAllocationFailure() {
  g_countdown = 0;
  return g_reached;
}

}  // namespace orva::test

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
