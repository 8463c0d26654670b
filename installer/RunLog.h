#pragma once

// The log of program starts (--log FILE): each start appends one dated record, its command
// line, every step's status line with the machine's reason, and how it ended. Several
// starts, unattended or with the window, can share one file.

#include <fstream>
#include <span>
#include <string>

#include "installer/RunStep.h"
#include "platform/Status.h"

class TRunLog {
 public:
  // Opens File for appending; status() tells whether that worked.
  explicit TRunLog(const std::string& File);

  // A log that cannot be written is refused before anything is done, with one sentence.
  const platform::Status& status() const { return FOpened; }

  // The record's first line: the date and the program's arguments.
  void Begin(std::span<const std::string> Args);
  void Step(const TRunStep& Step);
  void End(const TRunEnd& End);

 private:
  void WriteLine(const std::string& Line);

  std::ofstream FOut;
  platform::Status FOpened;
  TStepCounts FCounts;
};
