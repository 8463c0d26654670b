#pragma once

// How a dry run's status lines are marked as a plan: a first line that says so, then each of
// the run's own lines behind a mark, both in the language of the lines.

#include <string>

// The first line, before the run's own.
std::string PlanHeading(const std::string& Language);
// One of the run's lines as the plan shows it.
std::string PlanLine(const std::string& Language, const std::string& Line);
