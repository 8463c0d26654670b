#pragma once

// One registry hive file (system.reg, user.reg, userdef.reg) in Wine's text format.
//
// The document keeps the file's own text and changes only what a change touches:
// a hive loaded and rendered without changes is byte-identical, and a changed key
// is rendered exactly as Wine's server would write it (order, escapes, time
// stamps). Lines the loader does not understand are kept where they stand and
// reported, never dropped.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegValue.h"

namespace platform {

// 100-nanosecond intervals since 1601-01-01 UTC, as Windows counts time.
using FileTime = uint64_t;
FileTime FileTimeNow();

struct HiveDiagnostic {
  int line = 0;  // 1-based line of the file
  std::string message;
};

class Hive {
 public:
  using KeyId = uint32_t;
  static constexpr KeyId kRoot = 0;  // the branch root, "[]" in the file

  // How the key tree is read. Wine writes a file's keys depth first in its order of names,
  // and such a file has its keys read as lookups reach them; AtOnce reads every key line
  // while the file loads, as any other file is read anyway. The answers are the same.
  enum class KeyReading { AsNeeded, AtOnce };

  // Parses a hive file's text. Never fails: what cannot be parsed is kept as it
  // stands and reported through diagnostics().
  static Hive Parse(std::string text, KeyReading reading = KeyReading::AsNeeded);

  // A new empty hive, as Wine writes one for a new prefix. `relativeTo` is the
  // branch, e.g. "REGISTRY\\Machine" or "REGISTRY\\User\\S-1-5-21-0-0-0-1000".
  static Hive CreateEmpty(std::string_view relativeTo, std::string_view arch = "win64");

  Hive(Hive&&) noexcept;
  Hive& operator=(Hive&&) noexcept;
  ~Hive();

  // False when the header or the #arch line is not one we understand; such a
  // hive must never be written back (refusal() says why).
  bool writable() const;
  const std::string& refusal() const;
  const std::string& arch() const;  // "win64", "win32", or empty when absent
  const std::vector<HiveDiagnostic>& diagnostics() const;

  bool modified() const;
  // The file's text: the original bytes when nothing changed.
  std::string Render() const;

  // Keys. A KeyId stays valid for the life of the Hive. Names are single path
  // components in UTF-8 and compare case-insensitively.
  std::optional<KeyId> FindChild(KeyId parent, std::string_view name) const;
  // Returns the existing child when there is one (its spelling is kept).
  KeyId CreateChild(KeyId parent, std::string_view name, FileTime now);
  std::string KeyName(KeyId key) const;                   // as first created
  std::optional<KeyId> Parent(KeyId key) const;           // none for the root
  std::vector<std::string> SubKeyNames(KeyId key) const;  // in Wine's order
  bool IsLink(KeyId key) const;                           // "#link"
  std::optional<std::string> ClassName(KeyId key) const;  // "#class"
  FileTime ModificationTime(KeyId key) const;

  // Values, in Wine's order (the default value first).
  const RegValue* FindValue(KeyId key, std::string_view name) const;
  std::vector<const RegValue*> Values(KeyId key) const;
  // Setting a value to what it already holds changes nothing and returns false.
  // A name that differs from an existing one only in case replaces its data and
  // keeps the existing spelling.
  bool SetValue(KeyId key, RegValue value, FileTime now);
  // False when there was no such value.
  bool DeleteValue(KeyId key, std::string_view name, FileTime now);

 private:
  struct Impl;
  explicit Hive(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
