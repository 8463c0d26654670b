// The Ansible role as a team plays it: three hosts (local connections), each with its own prefix
// and distribution folder holding the installed program, and a table of plays made one after
// another on them. What each play changed comes from the play's recap; what is on disk is checked
// on each prefix, what a failure says in the play's output.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
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

// What one play leaves on one host.
struct HostEnd {
  int changed = 0;
  int failed = 0;
  // Whether the design package is in Delphi 5's Bin folder afterwards; unset: not checked.
  std::optional<bool> installed{};
};

// One play of the table, played after the ones above it on the same hosts.
struct PlayCase {
  const char* what;
  std::vector<std::string> options{};  // ansible-playbook's, besides the inventory and playbook
  std::array<HostEnd, kHosts> hosts;
  int wineServerOn = 0;            // the host whose registry a running Wine server owns meanwhile
  int withoutDist = 0;             // the host whose inventory names no distribution folder
  bool changesNoFile = false;      // no byte on any host changes (the log included)
  const char* said = nullptr;      // the play's output says this
  const char* saidOnce = nullptr;  // ... and this exactly once
  const char* unsaid = nullptr;    // ... and never this
  const char* folder = "C:\\Zav";  // the first host's installation folder
};

// The first host installs into a folder of its own and keeps a log; the third chooses its
// versions, as the example inventory's build host does.
const char* const kHostVariables[kHosts] = {
    "      polyverb_install_folder: true\n",
    "",
    ("      polyverb_bin: [5]\n"
     "      polyverb_register: [5]\n"),
};

const std::vector<std::string> kUninstall = {"-e", "polyverb_uninstall=true"};

std::vector<std::string> Uninstall(std::vector<std::string> more) {
  more.insert(more.begin(), kUninstall.begin(), kUninstall.end());
  return more;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

const PlayCase kPlays[] = {
    {.what = "installs every host", .hosts = {{{1, 0, true}, {1, 0, true}, {1, 0, true}}}},
    {.what = "a value that is not of its variable's type fails the host before it runs",
     .options = {"-e", "polyverb_uninstall=perhaps"},
     .hosts = {{{0, 1, true}, {0, 1, true}, {0, 1, true}}},
     .changesNoFile = true,
     .said = "polyverb_uninstall"},
    {.what = "installs nothing twice", .hosts = {{{0, 0}, {0, 0}, {0, 0}}}},
    {.what = "check mode plans the uninstall, shows its steps as the diff and writes no log",
     .options = Uninstall({"--check", "--diff"}),
     .hosts = {{{1, 0, true}, {1, 0, true}, {1, 0, true}}},
     .changesNoFile = true,
     .said = "ZavPolyverb50Design.bpl' deleted."},
    // A failed task's changes do not count in the recap.
    {.what = "a running Wine server fails its host alone, with its reason once, beside a folder "
             "that is not there",
     .options = Uninstall({}),
     .hosts = {{{0, 1, false}, {1, 0, false}, {1, 0, false}}},
     .wineServerOn = 1,
     .said = "Elsewhere does not exist",
     .saidOnce = "running Wine server",
     .folder = "C:\\Elsewhere"},
    {.what = "the uninstall finishes the host that failed",
     .options = Uninstall({}),
     .hosts = {{{1, 0, false}, {0, 0, false}, {0, 0, false}}}},
    {.what = "an uninstall that finds nothing left, its folder gone too, is no failure",
     .options = Uninstall({}),
     .hosts = {{{0, 0}, {0, 0}, {0, 0}}}},
    {.what = "check mode finds nothing left to uninstall",
     .options = Uninstall({"--check"}),
     .hosts = {{{0, 0}, {0, 0}, {0, 0}}},
     .changesNoFile = true},
    {.what = "versions given as text on the command line, none as an empty list",
     .options = {"-e", "polyverb_bin=4,5", "-e", R"({"polyverb_register": []})"},
     .hosts = {{{1, 0, true}, {1, 0, true}, {1, 0, true}}}},
    {.what = "none given as text leaves every Bin folder alone",
     .options = Uninstall({"-e", "polyverb_bin=none", "-e", "polyverb_windows=true"}),
     .hosts = {{{1, 0, true}, {0, 0, true}, {0, 0, true}}}},
    // The copies into the Bin folders meet the same bytes: no change, so not in the diff.
    {.what = "a host without a distribution folder fails with that reason",
     .options = {"--diff"},
     .hosts = {{{1, 0}, {1, 0}, {0, 1}}},
     .withoutDist = 3,
     .said = "missing required arguments: polyverb_dist",
     .unsaid = "Delphi5\\Bin'."},
    {.what = "an empty distribution folder fails with that reason",
     .options = {"-e", "polyverb_dist="},
     .hosts = {{{0, 1}, {0, 1}, {0, 1}}},
     .changesNoFile = true,
     .said = "polyverb_dist is empty"},
    {.what = "a command line the program refuses fails every host with the program's reason",
     .options = {"-e", "polyverb_language=Klingon"},
     .hosts = {{{0, 1}, {0, 1}, {0, 1}}},
     .changesNoFile = true,
     .said = "exited with 2: PolyverbSetup: --language takes English or Deutsch"},
};

class AnsibleRoleTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kPlaybook)) GTEST_SKIP() << kPlaybook << " is not installed";
    for (int host = 1; host <= kHosts; ++host) {
      const fs::path base = Dir() / Host(host);
      const auto written = testsupport::MakeDistribution(base / "dist", {4, 5});
      ASSERT_TRUE(written) << written.status().message();
      fs::copy_file(SETUP_PROGRAM, base / "dist" / "PolyverbSetup");
      const platform::Status made =
          testsupport::MakeDelphiPrefix(base / "prefix", {{.version = 4}, {.version = 5}});
      ASSERT_TRUE(made) << made.message();
    }
    // The role's play, then one that lists what the role left on each host besides the
    // variables it documents: a fact or a registered result would stay there for the rest
    // of the playbook, overriding a later role's variable of the same name.
    testsupport::WriteFile(
        (Files() / "play.yml").string(),
        std::string("- import_playbook: ") + PLAYBOOK +
            "\n"
            "- name: Left behind\n"
            "  hosts: polyverb\n"
            "  gather_facts: false\n"
            "  tasks:\n"
            "    - name: The variables of the host the role does not document\n"
            "      ansible.builtin.debug:\n"
            "        msg: \"left behind: {{ hostvars[inventory_hostname].keys()\n"
            "              | select('match', '^polyverb_') | reject('in', documented)\n"
            "              | join(' ') }}.\"\n"
            "      vars:\n"
            "        documented: \"{{ (lookup('file', '" ROLES_DIR
            "/polyverb_setup/meta/argument_specs.yml')\n"
            "          | from_yaml).argument_specs.main.options.keys() | list }}\"\n");
  }

  fs::path Dir() const { return dir_.path(); }
  // What the test itself writes, where no check of the hosts' files looks.
  fs::path Files() const { return Dir() / "ansible"; }
  static std::string Host(int host) { return "host" + std::to_string(host); }
  fs::path Prefix(int host) const { return Dir() / Host(host) / "prefix"; }
  bool PackageInstalled(int host) const {
    return fs::exists(Prefix(host) / "drive_c/Program Files/Borland/Delphi5/Bin" / kPackage);
  }

  void WriteInventory(const PlayCase& row) const {
    std::ostringstream inventory;
    inventory << "polyverb:\n  hosts:\n";
    for (int host = 1; host <= kHosts; ++host) {
      const fs::path base = Dir() / Host(host);
      inventory << "    " << Host(host) << ":\n"
                << "      polyverb_prefix: " << (base / "prefix").string() << "\n"
                << "      polyverb_log: " << (base / "setup.log").string() << "\n"
                << kHostVariables[host - 1];
      if (host == 1) inventory << "      polyverb_folder: '" << row.folder << "'\n";
      if (host != row.withoutDist)
        inventory << "      polyverb_dist: " << (base / "dist").string() << "\n";
    }
    inventory << "  vars:\n"
                 "    ansible_connection: local\n"
                 "    ansible_python_interpreter: /usr/bin/python3\n"
                 "    polyverb_install_folder: false\n"
                 "    polyverb_windows: false\n";
    testsupport::WriteFile((Files() / "inventory.yml").string(), inventory.str());
  }

  Play Run(const PlayCase& row) {
    WriteInventory(row);
    std::vector<std::string> argv = {kPlaybook, "-i", (Files() / "inventory.yml").string(),
                                     (Files() / "play.yml").string()};
    argv.insert(argv.end(), row.options.begin(), row.options.end());
    std::unique_ptr<testsupport::FakeWineServer> server;
    if (row.wineServerOn != 0)
      server = std::make_unique<testsupport::FakeWineServer>(Prefix(row.wineServerOn));
    Play play;
    play.process =
        testsupport::RunProcess(argv, {{"ANSIBLE_ROLES_PATH", ROLES_DIR},
                                       {"ANSIBLE_HOME", Files().string()},
                                       {"ANSIBLE_LOCAL_TEMP", (Files() / "tmp").string()},
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

  std::map<std::string, std::string> HostFiles() const {
    std::map<std::string, std::string> state = testsupport::FolderState(Dir());
    std::erase_if(state, [](const auto& file) { return file.first.starts_with("ansible"); });
    return state;
  }

  testsupport::TempDir dir_;
};

// The whole life of the package on three hosts, play after play.
TEST_F(AnsibleRoleTest, PlaysOfTheTableOneAfterAnother) {
  for (const PlayCase& row : kPlays) {
    SCOPED_TRACE(row.what);
    const std::map<std::string, std::string> before = HostFiles();
    const Play play = Run(row);
    const std::string& out = play.process.out;
    for (int host = 1; host <= kHosts; ++host) {
      const HostEnd& expected = row.hosts[host - 1];
      ASSERT_TRUE(play.hosts.contains(Host(host))) << out;
      EXPECT_EQ(play.hosts.at(Host(host)).changed, expected.changed) << Host(host) << "\n" << out;
      EXPECT_EQ(play.hosts.at(Host(host)).failed, expected.failed) << Host(host) << "\n" << out;
      if (expected.installed) {
        EXPECT_EQ(PackageInstalled(host), *expected.installed) << Host(host);
      }
    }
    if (row.changesNoFile) {
      EXPECT_TRUE(HostFiles() == before) << "the play changed files";
    }
    if (row.said != nullptr) {
      EXPECT_NE(out.find(row.said), std::string::npos) << out;
    }
    if (row.saidOnce != nullptr) {
      EXPECT_EQ(Count(out, row.saidOnce), 1u) << out;
    }
    if (row.unsaid != nullptr) {
      EXPECT_EQ(out.find(row.unsaid), std::string::npos) << out;
    }
    EXPECT_FALSE(std::regex_search(out, std::regex("left behind: [^.]"))) << out;
  }
}

}  // namespace
