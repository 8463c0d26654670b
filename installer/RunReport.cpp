#include "installer/RunReport.h"

#include <ostream>
#include <utility>

#include "installer/JsonFields.h"
#include "package/UnitVersion.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("RunReport.cpp 1.0");

void WriteLine(std::ostream& Out, const json& Object) {
  // File names and reasons come from the machine and may hold any byte: quotes and control
  // characters are escaped as JSON escapes them, and a byte that is not UTF-8 becomes U+FFFD
  // rather than ending the report (dump's default would throw).
  Out << Object.dump(-1, ' ', false, json::error_handler_t::replace) << std::endl;
}

}  // namespace

TRunReport::TRunReport(std::ostream& Out, std::string Mode) : FOut(Out), FMode(std::move(Mode)) {}

void TRunReport::Step(const TRunStep& Step) {
  FCounts.Count(Step);
  WriteLine(FOut, {{"type", "step"},
                   {"kind", Step.Kind},
                   {"file", OrNull(Step.File)},
                   {"source", OrNull(Step.Source)},
                   {"target", OrNull(Step.Target)},
                   {"ok", Step.Ok},
                   {"error", OrNull(Step.ErrorKey)},
                   {"reason", OrNull(Step.Reason)},
                   {"changed", Step.Changed},
                   {"planned", Step.Planned},
                   {"text", OrNull(Step.Text)}});
}

void TRunReport::End(const TRunEnd& End) {
  WriteLine(FOut, {{"type", "summary"},
                   {"mode", FMode},
                   {"outcome", End.Outcome},
                   {"exit_code", End.ExitCode},
                   {"steps", FCounts.Steps},
                   {"failed", FCounts.Failed},
                   {"changes", FCounts.Changes},
                   {"changed", FCounts.Changes > 0},
                   {"planned", End.Planned},
                   {"reason", OrNull(End.Reason)}});
}
