// What a script gets beyond the status lines: the JSON report (--json), the log (--log), a
// run that remembers nothing (--no-remember). The program runs as a process; every line it
// prints is parsed with the JSON library the program writes with.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <thread>

#include "installer/CommandLine.h"
#include "installer/RunLog.h"
#include "platform/FileDescriptor.h"
#include "platform/FolderLock.h"
#include "tests/installer/RunTestSupport.h"

namespace installer_test {
namespace {

using nlohmann::json;

// Each line of Out as a JSON object; a line that is not one fails the test.
std::vector<json> Objects(const std::string& out) {
  std::vector<json> objects;
  size_t start = 0;
  for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    json object = json::parse(out.substr(start, end - start), nullptr, false);
    EXPECT_TRUE(object.is_object()) << out.substr(start, end - start);
    objects.push_back(std::move(object));
  }
  EXPECT_EQ(start, out.size()) << "the last line is ended";
  return objects;
}

std::string Field(const json& object, const char* key) {
  const json& value = object.at(key);
  return value.is_null() ? "-" : value.is_string() ? value.get<std::string>() : value.dump();
}

// A step as "kind file target changed", and its text, so a whole run compares as tables.
struct Steps {
  Lines steps;
  Lines texts;
  json summary;
};
Steps Read(const std::string& out) {
  Steps read;
  for (const json& object : Objects(out)) {
    if (object.at("type") == "summary") {
      read.summary = object;
      continue;
    }
    EXPECT_TRUE(read.summary.is_null()) << "the summary comes last";
    read.steps.push_back(Field(object, "kind") + " " + Field(object, "file") + " " +
                         Field(object, "target") + " " + Field(object, "changed"));
    if (!object.at("text").is_null()) read.texts.push_back(object.at("text"));
  }
  return read;
}

Lines Each(const std::string& kind, const Names& names, const std::string& target, bool changed) {
  Lines steps;
  for (const std::string& name : names)
    steps.push_back(kind + " " + name + " " + target + (changed ? " true" : " false"));
  return steps;
}
Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}
// The steps' texts are the status list without its heading, blank lines and "Finished.".
Lines StepLines(const Expected& expected) {
  const Lines& all = expected.lines();
  return Lines(all.begin() + 2, all.end() - 2);
}

const std::string kKnown4 = "HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\4.0\\Known Packages";

using ReportTest = ProgramRunTest;

TEST_F(ReportTest, EachStepIsOneObjectAndTheLastSumsUp) {
  Make({4, 5}, Installed({4, 5}));
  ASSERT_FALSE(HasFatalFailure());
  const Names intoFolder =
      Join({kD4Package, kD4Design, kD5Package, kD5Design, kHelp, kExtra, kD4Vcl, kD5Vcl});
  const Names intoBin = Join({kD4Package, kD4Design, kHelp});
  const std::vector<std::string> install = {"--unattended", "--json", "--no-windows", "--bin",  "4",
                                            "--register",   "4",      "--folder",     "C:\\Zav"};
  const auto installSteps = [&](bool changed) {
    return Concat(
        {{changed ? "create-folder - C:\\Zav true" : "find-folder - C:\\Zav false"},
         Each("copy-file", intoFolder, "C:\\Zav", changed),
         Each("copy-file", intoBin, BinFolder(4), changed),
         {"register-package ZavPolyverb40Design.bpl " + kKnown4 + (changed ? " true" : " false")}});
  };
  const auto installLines = [&](bool created) {
    Expected lines;
    lines.Header(true);
    created ? lines.DirCreated("C:\\Zav") : lines.DirExists("C:\\Zav");
    return StepLines(lines.Copied(intoFolder, "C:\\Zav")
                         .Copied(intoBin, BinFolder(4))
                         .Registered("ZavPolyverb40Design.bpl")
                         .Finished());
  };

  // The second install finds everything in place: the same steps, none a change.
  for (const bool first : {true, false}) {
    SCOPED_TRACE(first ? "first install" : "second install");
    const auto run = RunSetup(install);
    EXPECT_EQ(run.exitCode, kExitCompleted) << run.err;
    const Steps read = Read(run.out);
    EXPECT_EQ(read.steps, installSteps(first));
    EXPECT_EQ(read.texts, installLines(first));
    const int steps = static_cast<int>(read.steps.size());
    EXPECT_EQ(read.summary,
              json::parse(R"({"type": "summary", "mode": "install",
        "outcome": "completed", "exit_code": 0, "steps": )" +
                          std::to_string(steps) + R"(, "failed": 0, "changes": )" +
                          std::to_string(first ? steps : 0) + R"(, "changed": )" +
                          (first ? "true" : "false") + R"(, "planned": false, "reason": null})"));
  }

  // Other bytes of the same size behind the installation's back: that copy alone is a change.
  const std::string tampered = machine->prefixFolder() + "/drive_c/Zav/" + intoFolder.front();
  std::string bytes = testsupport::ReadFile(tampered);
  ASSERT_FALSE(bytes.empty());
  bytes.back() = static_cast<char>(bytes.back() ^ 1);
  testsupport::WriteFile(tampered, bytes);
  Lines repaired = installSteps(false);
  repaired[1] = Each("copy-file", {intoFolder.front()}, "C:\\Zav", true).front();
  EXPECT_EQ(Read(RunSetup(install).out).steps, repaired);

  // An uninstall in German: the texts in German, the keys as before. Taking the package's
  // entry away has no line, but it is a step that changed the machine.
  const auto run = RunSetup({"--unattended", "--json", "--uninstall", "--language", "Deutsch",
                             "--no-windows", "--bin", "4", "--folder", "C:\\Zav"});
  EXPECT_EQ(run.exitCode, kExitCompleted) << run.err;
  const Steps read = Read(run.out);
  EXPECT_EQ(read.steps,
            Concat({Each("delete-file", intoFolder, "C:\\Zav", true),
                    {"delete-folder - C:\\Zav true"},
                    Each("delete-file", intoBin, BinFolder(4), true),
                    {"unregister-package ZavPolyverb40Design.bpl " + kKnown4 + " true"}}));
  EXPECT_EQ(read.texts, StepLines(Expected(true)
                                      .Header(false)
                                      .Deleted(intoFolder, "C:\\Zav")
                                      .DirDeleted("C:\\Zav")
                                      .Deleted(intoBin, BinFolder(4))
                                      .Finished()));
  EXPECT_EQ(read.summary.at("mode"), "uninstall");
  EXPECT_EQ(read.summary.at("changed"), true);
}

// Names and reasons come from the machine: whatever bytes they hold, each line stays one
// JSON object, and the log one line an entry.
TEST_F(ReportTest, NoNameBreaksTheReportOrTheLog) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  // The distribution in a folder whose name is no UTF-8: the copies' source, and the reason
  // of the one that fails, name it.
  const std::string odd = machine->distributionFolder() + "\xff";
  std::filesystem::rename(machine->distributionFolder(), odd);
  std::filesystem::remove(odd + "/ZavPolyverbGer.hlp");
  program_ = odd + "/PolyverbSetup";
  // Windows refuses the quote in a folder name: the step fails, the reason names it too.
  const std::string folder = "C:\\Odd\"quote\x01\xc3\xa9";
  const std::string log = machine->prefixFolder() + "/../odd.log";
  const auto run = RunSetup({"--unattended", "--json", "--no-windows", "--bin=4", "--register=none",
                             "--folder", folder, "--log", log});
  EXPECT_EQ(run.exitCode, kExitCompletedWithErrors) << run.err;
  const std::vector<json> objects = Objects(run.out);
  ASSERT_EQ(objects.size(), 8u) << run.out;
  // Quotes, control characters and letters beyond ASCII as they are; a byte of the
  // distribution's folder that is no UTF-8 as U+FFFD.
  const std::string carried = folder;
  EXPECT_EQ(objects[0].at("kind"), "create-folder");
  EXPECT_EQ(objects[0].at("error"), "EDirCreate");
  EXPECT_EQ(objects[0].at("target"), carried);
  EXPECT_NE(Field(objects[0], "reason").find(carried), std::string::npos);
  const std::string source = Field(objects[1], "source");
  EXPECT_TRUE(source.ends_with("dist\xEF\xBF\xBD")) << source;
  EXPECT_EQ(objects[6].at("error"), "EFileCopy");
  EXPECT_NE(Field(objects[6], "reason").find(source + "\\ZavPolyverbGer.hlp"), std::string::npos)
      << objects[6];
  EXPECT_EQ(objects[7].at("failed"), 2);

  const std::string written = testsupport::ReadFile(log);
  EXPECT_EQ(written.find('\x01'), std::string::npos) << "shown as \\x01, never raw";
  // Control characters as \xNN, other bytes as they are.
  EXPECT_NE(written.find("Directory 'C:\\Odd\"quote\\x01\xc3\xa9' could not be created."),
            std::string::npos)
      << written;
  EXPECT_NE(written.find("dist\xff\\ZavPolyverbGer.hlp"), std::string::npos) << written;
}

// Each start appends its record; a log that cannot be written refuses the start.
TEST_F(ReportTest, TheLogKeepsEveryRun) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  std::filesystem::remove(machine->distributionFolder() + "/Demo.zip");
  const std::string registry = testsupport::ReadFile(machine->prefixFolder() + "/user.reg");

  const std::string folderLog = machine->prefixFolder();  // a folder, no file
  const std::string missingLog = machine->prefixFolder() + "/no/such/folder/setup.log";
  for (const std::string& log : {folderLog, missingLog}) {
    const auto refused = RunSetup({"--unattended", "--log", log});
    EXPECT_EQ(refused.exitCode, kExitBadCommandLine);
    EXPECT_NE(refused.err.find("cannot be written"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
  }
  EXPECT_FALSE(Exists("C:\\Programme"));
  EXPECT_EQ(testsupport::ReadFile(machine->prefixFolder() + "/user.reg"), registry);

  const std::string log = machine->prefixFolder() + "/../setup.log";
  const auto first = RunSetup({"--unattended", "--no-windows", "--bin", "4", "--log", log});
  EXPECT_EQ(first.exitCode, kExitCompletedWithErrors);
  const std::string firstRecord = testsupport::ReadFile(log);
  const auto second = RunSetup({"--unattended", "--json", "--no-windows", "--log=" + log});
  EXPECT_EQ(second.exitCode, kExitCompletedWithErrors);
  // Without a display the window's start ends at once; its record says so.
  testsupport::ProcessOptions noDisplay;
  noDisplay.environment = {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
  EXPECT_EQ(RunSetup({"--log", log}, noDisplay).exitCode, kExitFailed);

  const std::string all = testsupport::ReadFile(log);
  ASSERT_EQ(all.substr(0, firstRecord.size()), firstRecord) << "appended, never replaced";
  // Each record: the date and the command line, the lines with their reasons, the end; each
  // line begins with the id of its start, the same throughout a record.
  const std::string date = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d{4})";
  const std::regex record(
      R"(\[(\d+)\] )" + date +
      R"( PolyverbSetup --unattended --no-windows --bin 4 --log \S+setup\.log
\[\1\]   Directory 'C:\\Programme\\Zav Polyverb' created\.
(\[\1\]   File '[^\n]+' copied to '[^\n]+'\.
)+\[\1\]   Error: File 'Demo\.zip' could not be copied to 'C:\\Programme\\Zav Polyverb'\.
\[\1\]     [^\n]*Demo\.zip[^\n]*the source file does not exist
(\[\1\]   (File|Package) [^\n]+
)+\[\1\] )" +
      date +
      R"( completed-with-errors, exit code 3: \d+ steps, 1 failed, \d+ changes
\[(\d+)\] )" +
      date + R"( PolyverbSetup --unattended --json --no-windows --log=\S+
\[\5\]   Directory 'C:\\Programme\\Zav Polyverb' already exists\.
[^]*\[\5\] )" +
      date +
      R"( completed-with-errors, exit code 3: \d+ steps, 1 failed, nothing changed
\[(\d+)\] )" +
      date + R"( PolyverbSetup --log \S+
\[\6\] )" +
      date + R"( not-run, exit code 1: 0 steps, 0 failed, nothing changed; )" +
      R"(there is no display to show the window on
)");
  EXPECT_TRUE(std::regex_match(all, record)) << all;
}

// Starts running at once can share one log: each line says whose it is, so each start's
// record reads whole when its lines are picked out, however they interleave.
TEST_F(ReportTest, RunsSharingALogCanBeToldApart) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string log = machine->prefixFolder() + "/../shared.log";
  const std::vector<std::string> folders = {"C:\\One", "C:\\Two", "C:\\Six"};
  std::vector<std::unique_ptr<testsupport::ChildProcess>> runs;
  for (const std::string& folder : folders) {
    testsupport::ProcessOptions options;
    options.environment = {{"WINEPREFIX", machine->prefixFolder()}};
    runs.push_back(std::make_unique<testsupport::ChildProcess>(
        std::vector<std::string>{program_, "--unattended", "--no-windows", "--register=none",
                                 "--no-remember", "--folder", folder, "--log", log},
        options));
  }
  for (auto& run : runs)
    EXPECT_EQ(run->Wait().exitCode, kExitCompleted);

  std::map<std::string, Lines> records;
  const std::regex line(R"(\[(\d+)\] (.*))");
  std::istringstream all(testsupport::ReadFile(log));
  for (std::string text; std::getline(all, text);) {
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(text, parts, line)) << text;
    records[parts[1]].push_back(parts[2]);
  }
  ASSERT_EQ(records.size(), 3u);
  const std::regex end(R"(.* completed, exit code 0: (\d+) steps, 0 failed, \d+ changes)");
  for (const auto& [id, record] : records) {
    SCOPED_TRACE(id);
    ASSERT_GE(record.size(), 2u);
    EXPECT_NE(record.front().find(" PolyverbSetup --unattended"), std::string::npos);
    std::smatch counted;
    ASSERT_TRUE(std::regex_match(record.back(), counted, end)) << record.back();
    EXPECT_EQ(std::stoul(counted[1]), record.size() - 2) << "every step of its own, no other's";
    // Its steps in its folder (the folder's line and 15 files), none in another run's.
    const std::string folder = record.front().substr(record.front().find("--folder ") + 9, 6);
    size_t inFolder = 0;
    for (size_t i = 1; i + 1 < record.size(); ++i) {
      for (const std::string& other : folders) {
        const bool named = record[i].find("'" + other + "'") != std::string::npos;
        if (other == folder) {
          inFolder += named ? 1 : 0;
        } else {
          EXPECT_FALSE(named) << record[i];
        }
      }
    }
    EXPECT_EQ(inFolder, 16u);
  }
}

// The log is appended to, never replaced: a link stays the link it was, and a FIFO's reader
// gets the record.
TEST_F(ReportTest, TheLogIsOnlyEverAppendedTo) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<std::string> run = {"--unattended", "--no-windows", "--bin=none",
                                        "--no-remember", "--log"};
  const std::string kept = "what was there before\n";
  const std::string target = machine->prefixFolder() + "/../target.log";
  const std::string link = machine->prefixFolder() + "/../link.log";
  testsupport::WriteFile(target, kept);
  std::filesystem::create_symlink(target, link);
  std::vector<std::string> args = run;
  args.push_back(link);
  EXPECT_EQ(RunSetup(args).exitCode, kExitCompleted);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  const std::string appended = testsupport::ReadFile(target);
  EXPECT_TRUE(appended.starts_with(kept)) << appended;
  EXPECT_NE(appended.find(" completed, exit code 0: "), std::string::npos) << appended;

  // The reader is there before the start, and slow: the pipe is full when the start begins.
  // The start waits for room rather than lose a line.
  const std::string fifo = machine->prefixFolder() + "/../fifo.log";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const platform::FileDescriptor reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK));
  const platform::FileDescriptor filler(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
  ASSERT_TRUE(reader.fd >= 0 && filler.fd >= 0);
  const std::string page(4096, '.');
  while (::write(filler.fd, page.data(), page.size()) > 0) {
  }
  args.back() = fifo;
  testsupport::ProcessOptions options;
  options.environment = {{"WINEPREFIX", machine->prefixFolder()}};
  options.killAfter = std::chrono::seconds(60);
  args.insert(args.begin(), program_);
  testsupport::ChildProcess child(args, options);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::atomic<bool> over = false;
  std::thread waiting([&] {
    EXPECT_EQ(child.Wait().exitCode, kExitCompleted);
    over = true;
  });
  std::string record;
  for (bool last = false; !last;) {
    last = over;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(reader.fd, buffer, sizeof buffer)) > 0)
      record.append(buffer, static_cast<size_t>(got));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  waiting.join();
  record.erase(0, record.find_first_not_of('.'));
  EXPECT_NE(record.find(" PolyverbSetup --unattended"), std::string::npos) << record;
  EXPECT_NE(record.find(" completed, exit code 0: "), std::string::npos) << record;
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

// The summary is the start's last word: it comes after the remembered settings are kept, so a
// kill can never follow a summary that said the start was over. The settings wait here for the
// hive's lock, which the test holds.
TEST_F(ReportTest, TheSummaryComesAfterTheSettingsAreKept) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  auto lock = platform::FolderLock::Acquire(machine->prefixFolder());
  ASSERT_TRUE(lock) << lock.status().message();
  testsupport::ProcessOptions options;
  options.environment = {{"WINEPREFIX", machine->prefixFolder()}};
  options.killAfter = std::chrono::seconds(60);
  testsupport::ChildProcess child(
      {program_, "--unattended", "--json", "--no-windows", "--bin=none", "--folder", "C:\\Kept"},
      options);
  // The last step of the run, then time enough for what would follow it at once.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (child.OutputSoFar().find(R"("file":"vcl40.de")") == std::string::npos &&
         std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const std::string before = child.OutputSoFar();
  EXPECT_NE(before.find(R"("file":"vcl40.de")"), std::string::npos) << before;
  EXPECT_EQ(before.find(R"("type":"summary")"), std::string::npos) << before;
  lock.value().reset();
  const auto run = child.Wait();
  EXPECT_EQ(run.exitCode, kExitCompleted) << run.err;
  EXPECT_TRUE(Read(run.out).summary.is_object()) << run.out;
  EXPECT_EQ(machine->BuildForm()->FolderSelect->FileName(), "C:\\Kept");
}

// A run with --no-remember leaves the remembered folders and language byte for byte; the same
// run without it would keep them.
TEST_F(ReportTest, NoRememberKeepsTheSettingsAsTheyWere) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const std::string userReg = machine->prefixFolder() + "/user.reg";
  const std::vector<std::string> run = {"--unattended", "--language", "Deutsch", "--folder",
                                        "C:\\Other",    "--register", "none",    "--no-windows"};
  const std::string before = testsupport::ReadFile(userReg);
  std::vector<std::string> noRemember = run;
  noRemember.push_back("--no-remember");
  EXPECT_EQ(RunSetup(noRemember).exitCode, kExitCompleted);
  EXPECT_TRUE(Exists("C:\\Other\\ZavPolyverb40.bpl"));
  EXPECT_EQ(testsupport::ReadFile(userReg), before);
  EXPECT_EQ(RunSetup(run).exitCode, kExitCompleted);
  EXPECT_NE(testsupport::ReadFile(userReg), before);
}

// An option this machine does not allow has its own exit code, and the report says which.
TEST_F(ReportTest, WhatTheMachineDoesNotAllowIsNoBadCommandLine) {
  Make({4}, Installed({4}));
  ASSERT_FALSE(HasFatalFailure());
  const auto run = RunSetup({"--unattended", "--json", "--bin", "5"});
  EXPECT_EQ(run.exitCode, kExitNotAllowed);
  const std::vector<json> objects = Objects(run.out);
  ASSERT_EQ(objects.size(), 1u) << run.out;
  EXPECT_EQ(objects[0].at("outcome"), "not-allowed");
  EXPECT_EQ(objects[0].at("exit_code"), kExitNotAllowed);
  EXPECT_EQ(objects[0].at("steps"), 0);
  EXPECT_NE(Field(objects[0], "reason").find("--bin 5 cannot be chosen"), std::string::npos);
  EXPECT_FALSE(Exists("C:\\Programme"));
}

// A run still going, or killed, has its record up to its last step in the file, the control
// bytes of a name shown as such; the end says why a run ended early.
TEST(RunLogTest, EachLineIsInTheFileAsItHappens) {
  const testsupport::TempDir dir;
  const std::string file = dir / "setup.log";
  TRunLog log(file);
  ASSERT_TRUE(log.status()) << log.status().message();
  log.Step({.Kind = "copy-file", .Text = "File 'a\x7f\x01' copied."});
  // Each line says which start it belongs to.
  EXPECT_EQ(testsupport::ReadFile(file),
            "[" + std::to_string(::getpid()) + "]   File 'a\\x7F\\x01' copied.\n");
  log.End({.Outcome = "failed", .ExitCode = 1, .Reason = "the run ended early: disk on fire"});
  EXPECT_TRUE(
      testsupport::ReadFile(file).ends_with(" failed, exit code 1: 1 steps, 0 failed, nothing "
                                            "changed; the run ended early: disk on fire\n"));
}

}  // namespace
}  // namespace installer_test
