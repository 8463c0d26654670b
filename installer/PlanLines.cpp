#include "installer/PlanLines.h"

#include "package/UnitVersion.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PlanLines.cpp 1.0");

bool German(const std::string& Language) {
  return Language == "Deutsch";
}

}  // namespace

std::string PlanHeading(const std::string& Language) {
  return German(Language)
             ? "Probelauf: es wird nichts geändert. Die Zeilen mit [Plan] sagen, was der Lauf "
               "täte."
             : "Dry run: nothing is changed. The lines marked [plan] say what the run would do.";
}

std::string PlanLine(const std::string& Language, const std::string& Line) {
  const std::string mark = German(Language) ? "[Plan]" : "[plan]";
  // The run's blank lines stay blank behind the mark, without a trailing space.
  return Line.empty() ? mark : mark + " " + Line;
}
