// Fuzzes the setup program's command line: the input is split at NUL bytes into arguments.
// Properties checked on every input: parsing never fails loudly, a refusal is one sentence,
// and what it accepts keeps the rules the run relies on.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "installer/CommandLine.h"
#include "platform/StringFunctions.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckVersions(const std::optional<std::vector<int>>& versions) {
  if (!versions) return;
  for (size_t i = 0; i < versions->size(); ++i) {
    const int version = (*versions)[i];
    Check(version >= 3 && version <= 5);
    Check(std::count(versions->begin(), versions->end(), version) == 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  const platform::Result<TCommandLine> line = ParseCommandLine(args);
  if (!line) {
    const std::string& sentence = line.status().message();
    Check(!sentence.empty() && sentence.find('\n') == std::string::npos);
    return 0;
  }
  if (line->Help) return 0;
  // Without --unattended, only a line that sets nothing (`--`) is accepted: the window opens.
  if (!line->Unattended) {
    Check(!line->Uninstall && !line->Language && !line->Folder && !line->NoFolder &&
          !line->NoWindows && !line->Bin && !line->Register);
    return 0;
  }
  Check(!line->Language || *line->Language == "English" || *line->Language == "Deutsch");
  Check(!line->Folder || !platform::Trim(*line->Folder).empty());
  Check(!(line->Folder && line->NoFolder));
  Check(!(line->Uninstall && line->Register && !line->Register->empty()));
  CheckVersions(line->Bin);
  CheckVersions(line->Register);
  return 0;
}
