#include "platform/FileTime.h"

#include <ctime>

namespace platform {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
// 1601-01-01 to 1970-01-01: 369 years with 89 leap days.
constexpr int64_t kTicks1601To1970 = int64_t{86400} * (369 * 365 + 89) * kTicksPerSecond;

}  // namespace

FileTime FileTimeNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<FileTime>(kTicks1601To1970 + int64_t{now.tv_sec} * kTicksPerSecond +
                               now.tv_nsec / 100);
}

uint32_t UnixSecondsOf(FileTime time) {
  // Wrapping arithmetic: Wine's times are signed, and a file may hold any 64-bit value.
  const auto sinceEpoch = static_cast<int64_t>(time - static_cast<uint64_t>(kTicks1601To1970));
  return static_cast<uint32_t>(sinceEpoch / kTicksPerSecond);
}

FileTime FileTimeFromUnixSeconds(uint32_t seconds) {
  return static_cast<FileTime>(int64_t{seconds} * kTicksPerSecond + kTicks1601To1970);
}

}  // namespace platform
