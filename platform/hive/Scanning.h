#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The first pass over a hive file: finds the header and the key lines and builds the
// key tree, as Wine's loader would, or only checks that the key lines come in Wine's order
// (KeyLineOrder.h). Values and options are left for later: a key's block is read when the key
// is first needed.

#include "platform/hive/Document.h"

namespace platform {

// Scans doc.text into doc (which holds just the root key).
void ScanHiveText(HiveDocument& doc, Hive::KeyReading reading);

}  // namespace platform
