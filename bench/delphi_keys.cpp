// The setup program's start-up detection of Delphi, as a process of its own: the three
// program values below HKEY_LOCAL_MACHINE read as the program reads them (the machine's hive
// read ahead for those keys, then TRegistry, 32-bit view, one key after the other), printed one a
// line as "Key\ValueName=program" (or "Key: not installed"). scripts/bench.sh times it beside "wine
// reg query" of the same values and checks that both read the same. The Wine prefix is the
// program's.

#include <cstdio>
#include <string>

#include "installer/DelphiVersions.h"
#include "installer/MachineReadAhead.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Registry.h"

int main() {
  StartReadingTheMachine();
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  int exitCode = 0;
  for (const TDelphiVersion& version : kDelphiVersions) {
    registry.CloseKey();
    if (!registry.OpenKey(version.Key, false)) {
      std::printf("%s: not installed\n", version.Key);
      continue;
    }
    try {
      const std::string program = registry.ReadString(version.ValueName);
      std::printf("%s\\%s=%s\n", version.Key, version.ValueName, program.c_str());
    } catch (const Exception& error) {
      std::printf("%s\\%s: %s\n", version.Key, version.ValueName, error.Message.c_str());
      exitCode = 1;
    }
  }
  return exitCode;
}
