// The Ansible role as a team plays it: three hosts (local connections), each with its own prefix
// and distribution folder holding the installed program. What each play changed comes from the
// play's recap; what is on disk is checked on each prefix.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "tests/support/DemoMachine.h"
#include "tests/support/FakeWineServer.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kHosts = 3;
// Where Debian's ansible-core puts it.
const char* const kPlaybook = "/usr/bin/ansible-playbook";
const char* const kPackage = "ZavPolyverb50Design.bpl";

// A host's line of the play recap.
struct Recap {
  int changed = -1;
  int failed = -1;
};

struct Play {
  testsupport::ProcessResult process;
  std::map<std::string, Recap> hosts;
};

class AnsibleRoleTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kPlaybook)) GTEST_SKIP() << kPlaybook << " is not installed";
    std::ofstream inventory(Dir() / "inventory.yml");
    inventory << "polyverb:\n  hosts:\n";
    for (int host = 1; host <= kHosts; ++host) {
      const fs::path base = Dir() / Host(host);
      const auto written = testsupport::MakeDistribution(base / "dist", {4, 5});
      ASSERT_TRUE(written) << written.status().message();
      fs::copy_file(SETUP_PROGRAM, base / "dist" / "PolyverbSetup");
      const platform::Status made =
          testsupport::MakeDelphiPrefix(base / "prefix", {{.version = 4}, {.version = 5}});
      ASSERT_TRUE(made) << made.message();
      inventory << "    " << Host(host) << ":\n"
                << "      polyverb_prefix: " << (base / "prefix").string() << "\n"
                << "      polyverb_dist: " << (base / "dist").string() << "\n";
    }
    inventory << "  vars:\n"
                 "    ansible_connection: local\n"
                 "    ansible_python_interpreter: /usr/bin/python3\n"
                 "    polyverb_install_folder: false\n"
                 "    polyverb_windows: false\n";
  }

  fs::path Dir() const { return dir_.path(); }
  static std::string Host(int host) { return "host" + std::to_string(host); }
  fs::path Prefix(int host) const { return Dir() / Host(host) / "prefix"; }
  bool PackageInstalled(int host) const {
    return fs::exists(Prefix(host) / "drive_c/Program Files/Borland/Delphi5/Bin" / kPackage);
  }

  Play Run(const std::vector<std::string>& extra) {
    std::vector<std::string> argv = {kPlaybook, "-i", (Dir() / "inventory.yml").string(), PLAYBOOK};
    argv.insert(argv.end(), extra.begin(), extra.end());
    Play play;
    play.process =
        testsupport::RunProcess(argv, {{"ANSIBLE_ROLES_PATH", ROLES_DIR},
                                       {"ANSIBLE_HOME", (Dir() / "ansible").string()},
                                       {"ANSIBLE_LOCAL_TEMP", (Dir() / "ansible" / "tmp").string()},
                                       {"ANSIBLE_NOCOLOR", "1"},
                                       {"ANSIBLE_FORCE_COLOR", "0"}});
    static const std::regex line(
        R"(^(\S+)\s*: ok=\d+\s+changed=(\d+)\s+unreachable=\d+\s+failed=(\d+))");
    std::istringstream out(play.process.out);
    for (std::string text; std::getline(out, text);) {
      std::smatch match;
      if (std::regex_search(text, match, line)) {
        play.hosts[match[1]] = {std::stoi(match[2]), std::stoi(match[3])};
      }
    }
    return play;
  }

  testsupport::TempDir dir_;
};

// The whole life of the package on three hosts, play after play.
TEST_F(AnsibleRoleTest, InstallsOnceChecksWithoutChangingFailsAHostAloneAndUninstalls) {
  const std::vector<std::string> uninstall = {"-e", "polyverb_uninstall=true"};

  const Play first = Run({});
  for (int host = 1; host <= kHosts; ++host) {
    EXPECT_EQ(first.hosts.at(Host(host)).changed, 1) << first.process.out;
    EXPECT_EQ(first.hosts.at(Host(host)).failed, 0) << first.process.out;
    EXPECT_TRUE(PackageInstalled(host)) << Host(host);
  }

  const Play second = Run({});
  for (int host = 1; host <= kHosts; ++host)
    EXPECT_EQ(second.hosts.at(Host(host)).changed, 0) << second.process.out;

  // Check mode says what an uninstall would change, and changes nothing on disk.
  const std::map<std::string, std::string> before = testsupport::FolderState(Dir());
  const Play check = Run({"--check", uninstall[0], uninstall[1]});
  for (int host = 1; host <= kHosts; ++host) {
    EXPECT_EQ(check.hosts.at(Host(host)).changed, 1) << check.process.out;
    EXPECT_EQ(check.hosts.at(Host(host)).failed, 0) << check.process.out;
  }
  std::map<std::string, std::string> after = testsupport::FolderState(Dir());
  std::erase_if(after, [](const auto& file) { return file.first.starts_with("ansible"); });
  std::map<std::string, std::string> expected = before;
  std::erase_if(expected, [](const auto& file) { return file.first.starts_with("ansible"); });
  EXPECT_TRUE(after == expected) << "a check-mode play changed files";

  {
    // The second host's registry belongs to a running Wine server: that host fails with the
    // run's reason, the others complete.
    testsupport::FakeWineServer server(Prefix(2));
    const Play busy = Run(uninstall);
    EXPECT_EQ(busy.hosts.at(Host(2)).failed, 1) << busy.process.out;
    EXPECT_NE(busy.process.out.find("Wine server"), std::string::npos) << busy.process.out;
    EXPECT_EQ(busy.hosts.at(Host(1)).failed, 0) << busy.process.out;
    EXPECT_EQ(busy.hosts.at(Host(3)).changed, 1) << busy.process.out;
    EXPECT_FALSE(PackageInstalled(1));
  }

  const Play last = Run(uninstall);
  for (int host = 1; host <= kHosts; ++host) {
    EXPECT_EQ(last.hosts.at(Host(host)).failed, 0) << last.process.out;
    EXPECT_FALSE(PackageInstalled(host)) << Host(host);
  }
  EXPECT_EQ(last.hosts.at(Host(2)).changed, 1) << "the host that failed is finished now";
  EXPECT_EQ(last.hosts.at(Host(1)).changed, 0) << last.process.out;
}

}  // namespace
