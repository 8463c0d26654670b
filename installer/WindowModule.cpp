#include "installer/WindowModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "installer/CommandLine.h"
#include "platform/RunningProgram.h"

namespace {

int CannotShow(const std::string& Why) {
  std::cerr << "PolyverbSetup: the window cannot be shown: " << Why
            << " (--unattended runs without it; --help says how).\n";
  return kExitFailed;
}

}  // namespace

int RunInWindowModule(int argc, char** argv) {
  const platform::Result<std::string> program = platform::ProgramPath();
  if (!program) return CannotShow(program.status().message());
  const std::string path =
      (std::filesystem::path(*program).parent_path() / kWindowModuleName).string();
  // The module is never unloaded: Qt's threads and exit handlers live in it until the end.
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return CannotShow(::dlerror());
  using Entry = int (*)(int, char**);
  auto entry = reinterpret_cast<Entry>(::dlsym(module, kWindowModuleEntry));
  if (entry == nullptr) return CannotShow(path + " offers no " + kWindowModuleEntry);
  return entry(argc, argv);
}
