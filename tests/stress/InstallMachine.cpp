#include "tests/stress/InstallMachine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/WinRegistry.h"
#include "platform/WinePrefix.h"
#include "tests/support/DemoMachine.h"

namespace stress {

namespace fs = std::filesystem;

InstallMachine::InstallMachine() : prefix_(temp_ / "prefix"), distribution_(temp_ / "dist") {
  const auto written = testsupport::MakeDistribution(distribution_, {5});
  EXPECT_TRUE(written) << written.status().message();
  const platform::Status made = testsupport::MakeDelphiPrefix(prefix_, {{.version = 5}});
  EXPECT_TRUE(made) << made.message();
  fs::copy_file(SETUP_PROGRAM, distribution_ + "/PolyverbSetup");
}

std::string InstallMachine::Host(const std::string& windowsPath) const {
  const auto host = platform::WinePrefix(prefix_).ToHostPath(windowsPath);
  EXPECT_TRUE(host) << host.status().message();
  return host ? *host : std::string();
}

std::vector<std::string> InstallMachine::CommandLine(bool uninstall) const {
  std::vector<std::string> line = {distribution_ + "/PolyverbSetup", "--unattended"};
  if (uninstall) line.push_back("--uninstall");
  line.insert(line.end(), {"--folder", kFolder, "--no-windows", "--bin", "5"});
  if (!uninstall) line.insert(line.end(), {"--register", "5"});
  return line;
}

testsupport::ProcessOptions InstallMachine::Options(testsupport::ProcessOptions options) const {
  options.environment.emplace_back("WINEPREFIX", prefix_);
  return options;
}

testsupport::ProcessResult InstallMachine::Install(
    const testsupport::ProcessOptions& options) const {
  return testsupport::ChildProcess(CommandLine(), Options(options)).Wait();
}

testsupport::ProcessResult InstallMachine::Uninstall() const {
  return testsupport::ChildProcess(CommandLine(true), Options()).Wait();
}

Texts InstallMachine::PackageList() const {
  platform::Registry registry(prefix_);
  const auto key =
      registry.OpenKey(platform::RootKey::CurrentUser, testsupport::KnownPackagesKey(5), false);
  const auto values = key ? registry.Values(*key) : key.status();
  EXPECT_TRUE(values) << values.status().message();
  Texts list;
  for (const platform::RegValue& value : values ? *values : std::vector<platform::RegValue>{})
    list[value.name] = value.AsString().value_or("(not text)");
  return list;
}

Texts InstallMachine::Contents() const {
  Texts contents;
  for (const auto& entry : fs::recursive_directory_iterator(prefix_)) {
    const std::string path = entry.path().string().substr(prefix_.size());
    if (path == "/user.reg") continue;  // the registration and the remembered settings
    contents[path] = entry.is_regular_file() && !entry.is_symlink()
                         ? testsupport::ReadFile(entry.path().string())
                         : "(not a file)";
  }
  return contents;
}

}  // namespace stress
