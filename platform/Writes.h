#pragma once

// Where the changes of a machine's files and registry go.

namespace platform {

enum class Writes {
  // Onto the disk: the real run.
  ToDisk,
  // Into an overlay the machine keeps to itself: reads see the prefix on disk with the
  // overlay's changes over it, every change checks what the real one would and fails the same
  // way, and nothing reaches the disk. A dry run runs on such a machine.
  KeptInOverlay,
};

}  // namespace platform
