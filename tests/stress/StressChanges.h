#pragma once

// The changes the stress writer makes and the tests look for: numbered values whose data grows
// with the number, so that every change grows the file it goes to, and whose text needs the
// hive's escapes (non-ASCII, a quote, a backslash).

#include <cstdio>
#include <string>

namespace stress {

// Below HKEY_CURRENT_USER; the tests create it before the writers start, so that a change
// touches this key's block of the hive and nothing else.
inline const std::string kStressKey = "Software\\Zav\\Stress";
// The same key's line in a hive file, where backslashes are doubled.
inline const std::string kStressKeyLine = "[Software\\\\Zav\\\\Stress]";

// The section of the settings file the changes go to.
inline const std::string kStressSection = "Stress";

// "Change 000042".
inline std::string ChangeName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "Change %06d", number);
  return name;
}

inline std::string ChangeData(int number) {
  std::string data = "Änderung \"" + std::to_string(number) + "\" C:\\Zav – ";
  data.append(static_cast<size_t>(24 + number % 61), static_cast<char>('a' + number % 26));
  return data;
}

// "Writer 3 value 000249": the values of one of several writers that run at once.
inline std::string WriterValueName(int writer, int number) {
  char name[48];
  std::snprintf(name, sizeof name, "Writer %d value %06d", writer, number);
  return name;
}

}  // namespace stress
