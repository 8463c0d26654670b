#pragma once

// The log of program starts (--log FILE): each start appends one dated record, its command
// line, every step's status line with the machine's reason, and how it ended. Several
// starts, unattended or with the window, can share one file: every line of a record begins
// with the start's process id ("[4711] "), which no two starts running at once share, and
// reaches the file whole, in one write, the moment it is said.

#include <iosfwd>
#include <span>
#include <string>

#include "installer/RunStep.h"
#include "platform/FileDescriptor.h"
#include "platform/Status.h"

class TRunLog {
 public:
  // Opens File for appending (never truncating or replacing it, whatever it is: a file, a
  // terminal, a pipe, a device); status() tells whether that worked. The opening never
  // waits: a FIFO that no program reads is a log that cannot be written.
  explicit TRunLog(const std::string& File);
  TRunLog(const TRunLog&) = delete;
  TRunLog& operator=(const TRunLog&) = delete;

  // The first failure, in one sentence: the opening, or a line that could not be written.
  // Nothing is written after it. A log whose opening or first line (Begin) failed refuses
  // the start before anything is done; one that fails later leaves the record incomplete.
  const platform::Status& status() const { return FStatus; }

  // The record's first line: the date and the program's arguments.
  void Begin(std::span<const std::string> Args);
  void Step(const TRunStep& Step);
  void End(const TRunEnd& End);

 private:
  void WriteLine(const std::string& Line);

  std::string FFile;
  platform::FileDescriptor FOut;
  platform::Status FStatus;
  bool FBegun = false;  // the first line is in the log
  std::string FRunId;
  TStepCounts FCounts;
};

// The exit code of a start that ends with ExitCode and kept Log: a record that could not be
// written to its end is said on ErrorOut, and turns a 0 into kExitOutputLost (any other code
// already tells a script that something did not happen).
int LogKept(const TRunLog& Log, int ExitCode, std::ostream& ErrorOut);
