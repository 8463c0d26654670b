#include "installer/MachineReadAhead.h"

#include <string>
#include <vector>

#include "installer/DelphiVersions.h"
#include "platform/Machine.h"

void StartReadingTheMachine() {
  // The start-up looks up where each Delphi version is installed, and nothing else of the
  // machine's hive: only what those lookups meet is read.
  std::vector<std::string> keys;
  for (const TDelphiVersion& version : kDelphiVersions)
    keys.emplace_back(version.Key);
  platform::Machine::Current().registry().ReadAhead(keys);
}
