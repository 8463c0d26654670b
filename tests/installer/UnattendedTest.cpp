// The program without its window: its command line, and PolyverbSetup --unattended started
// as a process from a distribution folder, as a script would start it.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "installer/CommandLine.h"
#include "installer/CommandLineOptions.h"
#include "tests/installer/RunTestSupport.h"
#include "tests/support/FakeWineServer.h"

namespace installer_test {
namespace {

TEST(CommandLineTest, ReadsWhatAUserTypes) {
  using Args = std::vector<std::string>;
  const auto parse = [](const Args& args) { return ParseCommandLine(args); };

  auto full = parse({"--unattended", "--uninstall", "--language", "deutsch", "--folder=C:\\Zav",
                     "--no-windows", "--bin", "5, 3", "--register=NONE"});
  ASSERT_TRUE(full) << full.status().message();
  EXPECT_TRUE(full->Unattended && full->Uninstall && full->NoWindows && !full->NoFolder);
  EXPECT_EQ(full->Language, "Deutsch");
  EXPECT_EQ(full->Folder, "C:\\Zav");
  EXPECT_EQ(full->Bin, (std::vector<int>{5, 3}));
  EXPECT_EQ(full->Register, std::vector<int>{});

  auto plain = parse({"--unattended"});
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->Bin || plain->Register || plain->Language || plain->Folder);
  EXPECT_TRUE(parse({"--help"})->Help);
  EXPECT_TRUE(parse({"--folder", "C:\\x", "--help"})->Help) << "help whatever else is there";
  EXPECT_TRUE(parse({"-h"})->Help);
  auto scripted = parse({"--unattended", "--json", "--no-remember", "--log", "run.log"});
  ASSERT_TRUE(scripted) << scripted.status().message();
  EXPECT_TRUE(scripted->Json && scripted->NoRemember);
  EXPECT_EQ(scripted->Log, "run.log");
  EXPECT_EQ(parse({"--log", "run.log"})->Log, "run.log") << "the window keeps a log too";
  EXPECT_EQ(parse({"--unattended", "--folder=--x", "--"})->Folder, "--x")
      << "attached, it is a value";
  auto planned = parse({"--unattended", "--dry-run", "--json", "--log", "plan.log"});
  ASSERT_TRUE(planned) << planned.status().message();
  EXPECT_TRUE(planned->DryRun && planned->Json && !planned->Detect);
  EXPECT_TRUE(parse({"--detect", "--json"})->Detect) << "a detection needs no --unattended";

  // Each bad command line is one sentence that names the problem.
  const std::vector<std::pair<Args, std::string>> bad = {
      {{"--uninstall"}, "only with --unattended"},
      {{"--unattended", "--frobnicate"}, "Unknown argument \"--frobnicate\""},
      {{"--unattended", "install"}, "Unknown argument \"install\""},
      {{"--unattended", "--unattended"}, "--unattended is given twice"},
      {{"--unattended", "--bin", "4", "--bin=5"}, "--bin is given twice"},
      {{"--unattended", "--bin"}, "--bin needs a value"},
      {{"--unattended", "--bin", "6"}, "not \"6\""},
      {{"--unattended", "--bin", "4,"}, "not \"4,\""},
      {{"--unattended", "--bin", "4\n5"}, "not \"4\\x0A5\"."},
      {{"--unattended", "--bin", "4,4"}, "names Delphi 4 twice"},
      {{"--unattended", "--register", "3;4"}, "not \"3;4\""},
      {{"--unattended", "--language", "Klingon"}, "English or Deutsch"},
      {{"--unattended", "--folder", " "}, "--folder needs a folder"},
      {{"--unattended", "--folder", "C:\\Caf\xe9"}, "--folder needs a folder name in UTF-8"},
      {{"--unattended", "--no-folder=yes"}, "--no-folder takes no value"},
      {{"--unattended", "--folder", "C:\\x", "--no-folder"}, "exclude each other"},
      {{"--unattended", "--uninstall", "--register", "4"}, "cannot be used with --uninstall"},
      // An empty variable in `--folder $DIR --uninstall`: the next option is no folder.
      {{"--unattended", "--folder", "--uninstall"}, "--folder needs a value"},
      {{"--unattended", "--language", "--"}, "--language needs a value"},
      {{"--unattended", "--", "--uninstall"}, "Unknown argument \"--uninstall\" after --"},
      {{"--unattended", "-x"}, "Unknown argument \"-x\""},
      {{"--json"}, "Options other than --help, --log and --detect work only with --unattended"},
      {{"--log", "a.log", "--no-remember"}, "work only with --unattended"},
      {{"--unattended", "--log"}, "--log needs a value"},
      {{"--unattended", "--log="}, "--log needs a file"},
      {{"--unattended", "--json=yes"}, "--json takes no value"},
      {{"--dry-run"}, "work only with --unattended"},
      {{"--detect", "--folder", "C:\\x"}, "--folder cannot be used with --detect"},
      {{"--unattended", "--detect", "--uninstall"}, "--uninstall cannot be used with --detect"},
      {{"--detect", "--dry-run"}, "--dry-run cannot be used with --detect"},
      {{"--log", "a.log", "--detect"}, "--log cannot be used with --detect"},
  };
  for (const auto& [args, message] : bad) {
    const auto line = parse(args);
    ASSERT_FALSE(line) << testing::PrintToString(args);
    EXPECT_NE(line.status().message().find(message), std::string::npos) << line.status().message();
  }
}

// What every row of the option table promises, checked over all rows: a new option is held
// to the same rules without a case of its own.
TEST(CommandLineTest, EachOptionIsTakenInTheModesItsRowNames) {
  using Args = std::vector<std::string>;
  // A value each placeholder of --help stands for.
  const std::map<std::string_view, std::string> example = {
      {"LANGUAGE", "English"}, {"PATH", "C:\\Zav"}, {"LIST", "4"}, {"FILE", "run.log"}};
  const std::string windowRefusal =
      "Options other than --help, --log and --detect work only with --unattended; started "
      "without arguments the program shows its window.";
  const std::vector<std::pair<TRunMode, Args>> modes = {
      {kWindowMode, {}}, {kUnattendedMode, {"--unattended"}}, {kDetectMode, {"--detect"}}};
  for (const TCommandLineOption& option : CommandLineOptions()) {
    const std::string name(option.Name);
    Args given = {name};
    if (!option.Value.empty()) {
      ASSERT_TRUE(example.contains(option.Value)) << name << ": no example for " << option.Value;
      given.push_back(example.at(option.Value));
    }
    for (const auto& [mode, prefix] : modes) {
      if (!prefix.empty() && prefix[0] == name) continue;  // the option that chooses the mode
      Args args = prefix;
      args.insert(args.end(), given.begin(), given.end());
      const auto line = ParseCommandLine(args);
      if ((option.Modes & mode) != 0) {
        EXPECT_TRUE(line) << testing::PrintToString(args) << ": " << line.status().message();
        continue;
      }
      ASSERT_FALSE(line) << testing::PrintToString(args);
      EXPECT_EQ(line.status().message(),
                mode == kDetectMode
                    ? name +
                          " cannot be used with --detect: a detection runs nothing and only "
                          "reports what the distribution and the prefix hold (--json for JSON)."
                    : windowRefusal);
    }
    // Without --unattended the window opens: the sentence that refuses the others names
    // exactly the options it takes (--unattended itself is what the sentence asks for).
    const bool named = windowRefusal.find(name + ",") != std::string::npos ||
                       windowRefusal.find(name + " ") != std::string::npos;
    EXPECT_EQ(named, name != "--unattended" && (option.Modes & kWindowMode) != 0) << name;

    Args unattended = {"--unattended"};
    if (name != "--unattended") unattended.push_back(name);
    if (!option.Value.empty()) {
      const auto bare = ParseCommandLine(unattended);
      ASSERT_FALSE(bare) << name;
      EXPECT_EQ(bare.status().message(), name + " needs a value; --help says which.");
      unattended.back() += "=" + example.at(option.Value);
      EXPECT_TRUE(ParseCommandLine(unattended)) << name << " takes its value attached";
    } else if (name != "--unattended") {
      unattended.back() += "=yes";
      const auto valued = ParseCommandLine(unattended);
      ASSERT_FALSE(valued) << name;
      EXPECT_EQ(valued.status().message(), name + " takes no value.");
    }
    if (!option.Alias.empty()) {
      EXPECT_EQ(ParseCommandLine(Args{name, std::string(option.Alias)}).status().message(),
                name + " is given twice.")
          << "the alias is the same option";
    }
  }
  // An option without an alias has none: an empty argument (an empty shell variable) is none.
  EXPECT_EQ(ParseCommandLine(Args{"--unattended", ""}).status().message(),
            "Unknown argument \"\"; --help lists the options.");
}

// --help lists every option in the table, each with its value's name and its text.
TEST(CommandLineTest, HelpListsEveryOption) {
  const std::string help = CommandLineHelp();
  const std::string usage = help.substr(0, help.find("\n\n"));
  for (const TCommandLineOption& option : CommandLineOptions()) {
    std::string spelling = "\n  " + std::string(option.Name);
    if (option.Help.empty()) {
      EXPECT_NE(usage.find(option.Name), std::string::npos) << option.Name << " has no text";
      EXPECT_EQ(help.find(spelling + " "), std::string::npos) << "listed without its text";
      continue;
    }
    if (!option.Alias.empty()) spelling += ", " + std::string(option.Alias);
    if (!option.Value.empty()) spelling += " " + std::string(option.Value);
    const size_t entry = help.find(spelling + " ");
    ASSERT_NE(entry, std::string::npos) << spelling;
    // Its text begins in the column of every other option's, and goes on in it line by line.
    const std::string column(26, ' ');
    size_t at = entry + 1;
    std::string_view text = option.Help;
    for (std::string prefix = spelling.substr(1);; prefix = column) {
      const std::string_view first = text.substr(0, text.find('\n'));
      prefix.resize(column.size(), ' ');
      EXPECT_EQ(help.substr(at, prefix.size() + first.size() + 1),
                prefix + std::string(first) + "\n")
          << spelling;
      at += prefix.size() + first.size() + 1;
      if (first.size() == text.size()) break;
      text.remove_prefix(first.size() + 1);
    }
  }
  EXPECT_NE(help.find("\n  --                      ends the options\n"), std::string::npos);
}

using UnattendedTest = ProgramRunTest;

TEST_F(UnattendedTest, InstallsAndUninstallsPrintingEachLine) {
  Make({4, 5}, Installed({4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  // Fontconfig tells standard output when it starts: a run without a window has no text to
  // measure, so it must not start.
  testsupport::ProcessOptions fontconfigTells;
  fontconfigTells.environment = {{"FC_DEBUG", "1024"}};
  const auto installed = RunSetup(
      {"--unattended", "--no-windows", "--bin", "4", "--register", "4", "--folder", "C:\\Zav"},
      fontconfigTells);
  EXPECT_EQ(installed.exitCode, kExitCompleted) << installed.err;
  EXPECT_EQ(installed.out, Text(Expected()
                                    .Header(true)
                                    .Line("Directory 'C:\\Zav' created.")
                                    .Copied(Join({kD4Package, kD4Design, kD5Package, kD5Design,
                                                  kHelp, kExtra, kD4Vcl, kD5Vcl}),
                                            "C:\\Zav")
                                    .Copied(Join({kD4Package, kD4Design, kHelp}), BinFolder(4))
                                    .Registered("ZavPolyverb40Design.bpl")
                                    .Finished()
                                    .lines()));
  EXPECT_NE(installed.err.find("Installation completed."), std::string::npos) << installed.err;
  EXPECT_EQ(PackageList(4).count(DesignPackagePath(4)), 1u);
  EXPECT_EQ(PackageList(5).count(DesignPackagePath(5)), 0u);

  const auto uninstalled = RunSetup({"--unattended", "--uninstall", "--language", "Deutsch",
                                     "--no-windows", "--bin", "4", "--folder", "C:\\Zav"});
  EXPECT_EQ(uninstalled.exitCode, kExitCompleted) << uninstalled.err;
  EXPECT_EQ(uninstalled.out, Text(Expected(true)
                                      .Header(false)
                                      .Deleted(Join({kD4Package, kD4Design, kD5Package, kD5Design,
                                                     kHelp, kExtra, kD4Vcl, kD5Vcl}),
                                               "C:\\Zav")
                                      .Line("Verzeichnis 'C:\\Zav' gelöscht.")
                                      .Deleted(Join({kD4Package, kD4Design, kHelp}), BinFolder(4))
                                      .Finished()
                                      .lines()));
  EXPECT_NE(uninstalled.err.find("Deinstallation abgeschlossen."), std::string::npos);
  EXPECT_EQ(PackageList(4).count(DesignPackagePath(4)), 0u);
}

// The exit code tells a script what happened; a refused command line does nothing at all.
TEST_F(UnattendedTest, ExitCodes) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string registry = testsupport::ReadFile(machine->prefixFolder() + "/user.reg");
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string said;  // on standard error
  };
  const std::vector<Case> refused = {
      {{"--unattended", "--bin", "3"}, kExitNotAllowed, "--bin 3 cannot be chosen"},
      {{"--unattended", "--bin", "none", "--register", "4"},
       kExitNotAllowed,
       "--register 4 cannot be chosen"},
      {{"--unattended", "--no-folder", "--no-windows", "--bin", "none"},
       kExitNotAllowed,
       "Nothing is left"},
      {{"--unattended", "--language"}, kExitBadCommandLine, "--language needs a value"},
      {{"--no-folder"}, kExitBadCommandLine, "only with --unattended"},
  };
  for (const Case& c : refused) {
    const auto result = RunSetup(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << testing::PrintToString(c.args);
    EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_FALSE(Exists("C:\\Programme"));
  EXPECT_EQ(testsupport::ReadFile(machine->prefixFolder() + "/user.reg"), registry);

  // Only the end of the options: the window, as without arguments, and there is no display.
  testsupport::ProcessOptions noDisplay;
  noDisplay.environment = {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
  const auto window = RunSetup({"--"}, noDisplay);
  EXPECT_EQ(window.exitCode, kExitFailed);
  EXPECT_NE(window.err.find("there is no display"), std::string::npos) << window.err;
  EXPECT_EQ(window.out, "");
  EXPECT_FALSE(Exists("C:\\Programme"));

  // Without its window's module the program says why a window cannot be, and does all the rest
  // (the runs below) without it.
  std::filesystem::remove(machine->distributionFolder() + "/PolyverbSetupWindow.so");
  const auto noModule = RunSetup({});
  EXPECT_EQ(noModule.exitCode, kExitFailed);
  EXPECT_NE(noModule.err.find("the window cannot be shown"), std::string::npos) << noModule.err;

  const auto help = RunSetup({"--help"});
  EXPECT_EQ(help.exitCode, kExitCompleted);
  EXPECT_NE(help.out.find("--unattended"), std::string::npos);

  // A required file missing: the run completes with an error line.
  std::filesystem::remove(machine->distributionFolder() + "/Demo.zip");
  const auto incomplete = RunSetup({"--unattended", "--no-folder"});
  EXPECT_EQ(incomplete.exitCode, kExitCompleted);
  const auto withError = RunSetup({"--unattended"});
  EXPECT_EQ(withError.exitCode, kExitCompletedWithErrors);
  EXPECT_NE(withError.out.find("Error: File 'Demo.zip' could not be copied"), std::string::npos);
  EXPECT_NE(withError.err.find("Demo.zip to C:\\Programme\\Zav Polyverb\\Demo.zip: the source file "
                               "does not exist"),
            std::string::npos)
      << withError.err;

  // A Wine server owns the registry: the files go in, the registration is refused.
  {
    testsupport::FakeWineServer server(machine->prefixFolder());
    const auto refusedWrite = RunSetup({"--unattended", "--no-folder"});
    EXPECT_EQ(refusedWrite.exitCode, kExitCompletedWithErrors);
    EXPECT_NE(refusedWrite.out.find("Package 'ZavPolyverb40Design.bpl' could not be registered"),
              std::string::npos);
    EXPECT_NE(refusedWrite.err.find("in use by a running Wine server"), std::string::npos)
        << refusedWrite.err;
  }

  // A folder that cannot be created: the line says so, standard error why.
  testsupport::WriteFile(Host("C:\\Taken"), "a file");
  const auto noFolder = RunSetup({"--unattended", "--folder", "C:\\Taken\\Zav"});
  EXPECT_EQ(noFolder.exitCode, kExitCompletedWithErrors);
  EXPECT_NE(noFolder.out.find("Directory 'C:\\Taken\\Zav' could not be created."),
            std::string::npos);
  EXPECT_NE(noFolder.err.find("PolyverbSetup: Cannot create the folder C:\\Taken\\Zav: "),
            std::string::npos)
      << noFolder.err;

  // Nothing to install: start-up ends with its message.
  for (const char* design : {"ZavPolyverb40Design.bpl"})
    std::filesystem::remove(machine->distributionFolder() + "/" + design);
  const auto nothing = RunSetup({"--unattended"});
  EXPECT_EQ(nothing.exitCode, kExitFailed);
  EXPECT_NE(nothing.err.find("No files to install found."), std::string::npos);
  EXPECT_EQ(nothing.out, "");
}

// A script that stops reading (`| head -1`, `| grep -q`) or closed the streams (`>&-`): the
// run still goes to its end, keeps what it remembers and exits with its own code.
TEST_F(UnattendedTest, AClosedStreamNeverEndsTheRun) {
  using testsupport::Stream;
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string package =
      testsupport::ReadFile(machine->distributionFolder() + "/ZavPolyverb40.bpl");
  const std::vector<std::pair<Stream, std::string>> cases = {{Stream::ClosedPipe, "C:\\Piped"},
                                                             {Stream::Closed, "C:\\Closed"}};
  for (const auto& [stream, folder] : cases) {
    SCOPED_TRACE(folder);
    testsupport::ProcessOptions options;
    options.out = options.err = stream;
    const auto run = RunSetup({"--unattended", "--folder", folder}, options);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, kExitCompleted);
    // Nothing the run said went into a file it wrote.
    EXPECT_EQ(testsupport::ReadFile(Host(folder + "\\ZavPolyverb40.bpl")), package);
    EXPECT_EQ(testsupport::ReadFile(Host(BinFolder(4) + "\\ZavPolyverb40.bpl")), package);
    EXPECT_EQ(PackageList(4).count(DesignPackagePath(4)), 1u);
    TPolyverbInstallForm* next = machine->BuildForm();
    EXPECT_EQ(next->FolderSelect->FileName(), folder) << "the folder is remembered";
    next->FSaveSettings = false;  // the next case's run remembers its own
  }
}

}  // namespace
}  // namespace installer_test
