#include "installer/OutputDelivery.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "package/UnitVersion.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("OutputDelivery.cpp 1.0");

}  // namespace

bool Delivered(std::ostream& Out, std::ostream& ErrorOut, const std::string& What) {
  Out.flush();
  if (Out.good()) return true;
  // The write that failed set errno; nothing since has had a reason to.
  const int error = errno;
  ErrorOut << "PolyverbSetup: " << What << " could not be written to standard output: "
           << (error != 0 ? std::strerror(error) : "the write failed") << ".\n";
  ErrorOut.flush();
  return false;
}
