#include "platform/CpuPlacement.h"

#include <sched.h>

namespace platform {

int CurrentCpu() {
  return ::sched_getcpu();
}

void StayOffCpu(int cpu) {
  if (cpu < 0 || cpu >= CPU_SETSIZE) return;
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
  if (!CPU_ISSET(cpu, &allowed) || CPU_COUNT(&allowed) < 2) return;
  CPU_CLR(cpu, &allowed);
  // Nothing to report if refused: the thread then runs where the kernel put it.
  ::sched_setaffinity(0, sizeof allowed, &allowed);
}

}  // namespace platform
