#pragma once

// Hive texts for the hive tests, written line by line as Wine writes them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/hive/Hive.h"

namespace platform::hivetest {

// The lines, each ended with LF.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

inline std::string Header() {
  return Lines({"WINE REGISTRY Version 2",
                ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", "",
                "#arch=win64"});
}

// A user.reg as Wine 8 wrote it.
inline std::string WineUserHive() {
  return Header() +
         Lines({
             "",
             "[Control Panel\\\\Desktop] 1796676622",
             "#time=1dd868c93fdbe04",
             "\"ActiveWndTrkTimeout\"=dword:00000000",
             "\"Wallpaper\"=\"\"",
             "",
             "[Software\\\\Wine\\\\Fonts] 1796676616",
             "#time=1dd868c9010225a",
             "\"LogPixels\"=dword:00000060",
             "",
             "[Software\\\\WRtest] 1796678129",
             "#time=1dd869015e08b24",
             "\"plain\"=\"hello\"",
             "\"quote\\\"name\"=\"say \\\"hi\\\"\"",
             "",
             "[Software\\\\WRtest\\\\Sub\\[1\\]] 1796678129",
             "#time=1dd869015e08cf0",
             "\"bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\",
             "  17,18,19",
         });
}

// Times used by the edit tests, with the seconds the key line shows for them.
inline constexpr uint64_t kTime1 = 0x1dda4c66b338000;  // 1800000000
inline constexpr uint64_t kTime2 = 0x1dda4c6a6ce4a00;  // 1800000100

// The key at `path` below the root; a failed expectation (and the root) when absent.
inline Hive::KeyId Key(const Hive& hive, std::string_view path) {
  const std::optional<Hive::KeyId> key = hive.FindChild(Hive::kRoot, path);
  EXPECT_TRUE(key.has_value()) << path;
  return key.value_or(Hive::kRoot);
}

}  // namespace platform::hivetest
