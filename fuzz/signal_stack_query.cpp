// Harness speed under AddressSanitizer: before every call to a function that does
// not return (every throw among them) the sanitizer asks sigaltstack() whether the
// thread runs on its alternate signal stack, a system call each time. Book
// harnesses raise several exceptions per input, so those calls cost more than the
// readers themselves. This definition takes the place of the C library's in the
// libFuzzer programs only: a change of the alternate stack goes to the system and
// is remembered, and a pure query is answered from memory, with SS_ONSTACK worked
// out from the current stack position exactly as the system would.
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

namespace {

bool g_known = false;
stack_t g_stack;

}  // namespace

extern "C" int sigaltstack(const stack_t* stack, stack_t* old) {
  if (stack == nullptr && old != nullptr && g_known) {
    *old = g_stack;
    if (!(g_stack.ss_flags & SS_DISABLE)) {
      const auto here = reinterpret_cast<std::uintptr_t>(&old);
      const auto base = reinterpret_cast<std::uintptr_t>(g_stack.ss_sp);
      old->ss_flags = (here >= base && here - base < g_stack.ss_size) ? SS_ONSTACK : 0;
    }
    return 0;
  }
  stack_t previous;
  const int result = static_cast<int>(::syscall(SYS_sigaltstack, stack, &previous));
  if (result != 0) return result;
  if (old != nullptr) *old = previous;
  g_known = stack == nullptr;  // after a change, ask the system again next time
  if (g_known) g_stack = previous;
  return 0;
}
