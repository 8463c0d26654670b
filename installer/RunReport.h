#pragma once

// The report of a scripted run (--json): JSON Lines on a stream, one object a step as the run
// takes it, then one that sums the run up. The README gives the schema.

#include <iosfwd>
#include <string>

#include "installer/RunStep.h"

class TRunReport {
 public:
  // Mode: "install" or "uninstall", as the summary names the run.
  TRunReport(std::ostream& Out, std::string Mode);

  void Step(const TRunStep& Step);
  // The last object; nothing follows it.
  void End(const TRunEnd& End);

 private:
  std::ostream& FOut;
  std::string FMode;
  TStepCounts FCounts;
};
