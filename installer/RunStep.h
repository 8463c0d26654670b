#pragma once

// One step of a run as it happens, for whoever follows the run outside the window (the JSON
// report, the log). Its keys never depend on the language; the status line is one field.

#include <string>

struct TRunStep {
  // What the step did or tried: "find-folder", "create-folder", "delete-folder",
  // "copy-file", "delete-file", "register-package", "unregister-package", "enable-package".
  std::string Kind{};
  // The file's bare name; empty for a folder step.
  std::string File{};
  // Where a file comes from (the distribution folder, or the folder a package is registered
  // from); empty when there is no such folder.
  std::string Source{};
  // The folder the step works in, or the registry key of a package list.
  std::string Target{};
  bool Ok = true;
  // The key of the error line's text when the step failed ("EFileCopy").
  std::string ErrorKey{};
  // The machine's own reason for a failure; empty when there is none to tell.
  std::string Reason{};
  // Whether the step changed the machine: a copy over a file with the same bytes did not.
  // In a dry run: whether it would.
  bool Changed = false;
  // The step of a dry run: planned, not done; nothing on the machine changed.
  bool Planned = false;
  // The status line in the chosen language; empty for a step the list does not show.
  std::string Text{};
};

// How a program start ended, for the report's last word.
struct TRunEnd {
  // "completed", "completed-with-errors", "failed" (the run ended early), "start-up-failed",
  // "not-allowed" (an option this machine does not allow).
  std::string Outcome{};
  int ExitCode = 0;
  // Why the run ended early, or what was not allowed; empty otherwise.
  std::string Reason{};
  // A dry run's end: the outcome and exit code are the ones the run would have.
  bool Planned = false;
};

// The steps of a run summed up.
struct TStepCounts {
  int Steps = 0;
  int Failed = 0;
  int Changes = 0;

  void Count(const TRunStep& Step) {
    ++Steps;
    if (!Step.Ok) ++Failed;
    if (Step.Changed) ++Changes;
  }
};
