#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Where a thread that works beside the caller runs.

namespace platform {

// The CPU the calling thread runs on now; -1 when the system does not tell.
int CurrentCpu();

// Keeps the calling thread off `cpu` when it may run on another one. A hint only: where it
// cannot be given (one CPU, an unknown one, a refusal), the thread runs where it is put.
void StayOffCpu(int cpu);

}  // namespace platform
