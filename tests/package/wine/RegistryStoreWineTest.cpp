// What the settings store saves below a registry key, the real Wine reads: sections as keys,
// entries as REG_SZ values, texts exactly as written.

#include <gtest/gtest.h>

#include <memory>

#include "package/ExIniFile.h"
#include "platform/Machine.h"
#include "tests/support/TempDir.h"
#include "tests/support/WineTools.h"

namespace {

using testsupport::RunWithPrefix;

TEST(RegistryStoreWineTest, WineReadsWhatTheStoreSaved) {
  if (!testsupport::WineInstalled()) GTEST_SKIP() << "wine is not installed: interop skipped";
  const std::string& source = testsupport::TemplatePrefix();
  ASSERT_FALSE(source.empty()) << "wineboot could not make a prefix";
  testsupport::TempDir dir;
  const std::string prefix = dir / "prefix";
  ASSERT_TRUE(testsupport::CopyPrefix(source, prefix));

  // reg query prints through the OEM code page: ASCII texts only.
  const std::string history = "C:\\Program Files\\Zav;D:\\Old \"quoted\" folder;";
  {
    const platform::Machine::Scope machine =
        platform::Machine::Use(std::make_unique<platform::Machine>(platform::WinePrefix(prefix)));
    std::unique_ptr<TExIniFile> store(
        TExIniFile::CreateInRegistry(rkCurrentUser, "Software\\Zav\\Designers", true));
    store->WriteStringEx("Global", "Polyverb.Language", "Deutsch", "string");
    store->WriteString("Polyverb Install", "FolderSelect.History", history);
    store->WriteString("Polyverb Install", "Empty", "");
    store->UpdateFile();
  }

  const auto global =
      RunWithPrefix(prefix, {"wine", "reg", "query", "HKCU\\Software\\Zav\\Designers\\Global"});
  ASSERT_EQ(global.exitCode, 0) << global.output;
  EXPECT_NE(global.output.find("    Polyverb.Language    REG_SZ    Deutsch\r\n"), std::string::npos)
      << global.output;

  const auto install = RunWithPrefix(
      prefix, {"wine", "reg", "query", "HKCU\\Software\\Zav\\Designers\\Polyverb Install"});
  ASSERT_EQ(install.exitCode, 0) << install.output;
  EXPECT_NE(install.output.find("    FolderSelect.History    REG_SZ    " + history + "\r\n"),
            std::string::npos)
      << install.output;
  EXPECT_NE(install.output.find("    Empty    REG_SZ    \r\n"), std::string::npos)
      << install.output;
  testsupport::StopServer(prefix);
}

}  // namespace
