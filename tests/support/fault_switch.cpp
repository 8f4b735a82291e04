// A test-only switch linked into Uninstall-faults.exe: NX_FAIL_RUN_ALLOCATION=N
// makes the N-th allocation of the first uninstall run fail, so that the
// out-of-memory path of the real program can be driven from outside.
// A run starts with the look-up of the program's own path.
#include <cstdlib>

#include "os/os.h"

namespace {

long g_failAt = 0;   // the allocation to fail, counted from the run's start
long g_count = -1;   // -1 until the run starts

uint32_t StartOfRun(char* buffer, uint32_t size) {
  if (g_count < 0) g_count = 0;
  return os::Backend().GetModuleFileNameA(buffer, size);
}

void* Allocate(size_t size) {
  if (g_count >= 0 && ++g_count == g_failAt) return nullptr;
  return os::Backend().Alloc(size);
}

struct Switch {
  Switch() {
    const char* n = std::getenv("NX_FAIL_RUN_ALLOCATION");
    if (n == nullptr || std::atol(n) <= 0) return;
    g_failAt = std::atol(n);
    os::Current().GetModuleFileNameA = StartOfRun;
    os::Current().Alloc = Allocate;
  }
} g_switch;

}  // namespace
