// Our design package entered in Delphi's package list under another spelling of its path: the
// detection counts it, an install leaves one entry (its own) and says which it took away, an
// uninstall leaves none; an entry of any other file stays.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "installer/DelphiVersions.h"
#include "installer/Detection.h"
#include "platform/FileNames.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/TempDir.h"
#include "toolkit/model/Registry.h"

namespace installer_test {
namespace {

constexpr int kVersion = 5;

struct Spelling {
  const char* what;
  std::string entry;
  bool ours;  // names our design package
};

class PackageSpellingsTest : public RunTest {
 protected:
  TPackageEntries Detect() {
    TRegistry registry;
    return FindPackageEntries(registry, kDelphiVersions[kVersion - 3], DesignPackagePath(kVersion));
  }
  // A run of the program on the machine, install or uninstall, with Delphi 5 alone; the steps
  // that took an entry off a list, as "kind target: source + file".
  std::vector<std::string> Run(bool install) {
    Restart();
    std::vector<std::string> removals;
    form->OnStep = [&](const TRunStep& step) {
      if (step.Kind == "unregister-package" || step.Kind == "enable-package") {
        EXPECT_TRUE(step.Ok && step.Changed) << step.Reason;
        removals.push_back(step.Kind + " " + platform::ExtractFileName(step.Target) + ": " +
                           step.Source + " + " + step.File);
      }
    };
    if (!install) Click(form->BtnUninstall);
    Continue();
    return removals;
  }
  static std::string Removal(const char* kind, const char* list, const std::string& entry) {
    return std::string(kind) + " " + list + ": " + platform::ExtractFileDir(entry) + " + " +
           platform::ExtractFileName(entry);
  }
};

TEST_F(PackageSpellingsTest, EveryEntryThatNamesOurPackageIsOursAndNoOther) {
  const std::string ours = DesignPackagePath(kVersion);
  const std::string delphis = "$(DELPHI)\\Bin\\dclstd50.bpl";  // Delphi's own, always there
  const std::vector<Spelling> spellings = {
      {"as Delphi writes its own", "$(DELPHI)\\Bin\\ZavPolyverb50Design.bpl", true},
      {"the macro and the names in another case", "$(delphi)\\BIN\\zavpolyverb50design.BPL", true},
      {"Wine's short name of a folder",
       "C:\\PROG~FBU\\Borland\\Delphi5\\Bin\\ZavPolyverb50Design.bpl", true},
      {"short names in lower case, the package's own too",
       "c:\\prog~fbu\\borland\\delphi5\\bin\\zavp~rop.bpl", true},
      {"other separators and a dot",
       "C:/Program Files/Borland/Delphi5/./Bin/ZavPolyverb50Design.bpl", true},
      {"through drive Z, the host's root", "", true},  // filled in with the prefix's folder
      {"our own spelling", ours, true},
      {"Windows' numbered short name, which names nothing on a prefix",
       "C:\\PROGRA~1\\Borland\\Delphi5\\Bin\\ZavPolyverb50Design.bpl", false},
      {"another version's package", "$(DELPHI)\\Bin\\ZavPolyverb40Design.bpl", false},
      {"the same name in another folder", "$(DELPHI)\\ZavPolyverb50Design.bpl", false},
      {"another file's short name", "$(DELPHI)\\Bin\\ZAVP~AAA.BPL", false},
      {"a longer name", "$(DELPHI)\\Bin\\ZavPolyverb50Design.bpl.bak", false},
  };
  for (Spelling spelling : spellings) {
    SCOPED_TRACE(spelling.what);
    MakeMachine({kVersion}, Installed({kVersion}));
    ASSERT_FALSE(HasFatalFailure());
    if (spelling.entry.empty()) {
      spelling.entry = "Z:" + machine->prefixFolder() + "/drive_c/" + ours.substr(3);
      std::replace(spelling.entry.begin(), spelling.entry.end(), '/', '\\');
    }
    AddToPackageList(kVersion, spelling.entry);
    AddToDisabledList(kVersion, spelling.entry);

    // Counted whether the package is in the Bin folder or not yet.
    EXPECT_EQ(Detect().Registered, spelling.ours);
    EXPECT_EQ(Detect().Disabled, spelling.ours);
    testsupport::WriteFile(Host(ours), "an earlier copy");
    EXPECT_EQ(Detect().Registered, spelling.ours);

    std::vector<std::string> expected;
    if (spelling.ours && spelling.entry != ours)
      expected.push_back(Removal("unregister-package", "Known Packages", spelling.entry));
    if (spelling.ours)
      expected.push_back(Removal("enable-package", "Disabled Packages", spelling.entry));
    EXPECT_EQ(Run(true), expected);
    std::map<std::string, std::string> known = {{delphis, "Borland Standard Components"},
                                                {ours, "Zav Polyverb"}};
    if (!spelling.ours) known[spelling.entry] = "Zav Polyverb";
    EXPECT_EQ(PackageList(kVersion), known);
    EXPECT_EQ(DisabledList(kVersion).count(spelling.entry), spelling.ours ? 0u : 1u);

    // The uninstall deletes the package before it takes the entries away.
    AddToPackageList(kVersion, spelling.entry);
    expected = {Removal("unregister-package", "Known Packages", ours)};
    if (spelling.ours && spelling.entry != ours) {
      expected.push_back(Removal("unregister-package", "Known Packages", spelling.entry));
    }
    std::vector<std::string> uninstallRemovals = Run(false);
    std::sort(uninstallRemovals.begin(), uninstallRemovals.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(uninstallRemovals, expected);
    known.erase(ours);
    EXPECT_EQ(PackageList(kVersion), known);
  }
}

// On a host that tells case apart, a name in another case may be another file: Wine opens the
// name as written where it is there.
TEST_F(PackageSpellingsTest, AnotherFileOfOurNameInAnotherCaseIsNotOurs) {
  MakeMachine({kVersion}, Installed({kVersion}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string ours = DesignPackagePath(kVersion);
  testsupport::WriteFile(Host(ours), "ours");
  testsupport::WriteFile(Host(BinFolder(kVersion)) + "/zavpolyverb50design.bpl", "another");
  EXPECT_FALSE(EntryNamesPackage("$(DELPHI)\\Bin\\zavpolyverb50design.bpl", ours));
  EXPECT_TRUE(EntryNamesPackage("$(DELPHI)\\Bin\\ZavPolyverb50Design.bpl", ours));
}

}  // namespace
}  // namespace installer_test
