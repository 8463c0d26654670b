#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// What stands behind a TExIniFile: the values the store found when it was opened, the writes
// of the run not yet handed on, and the file or hive they go to. The writes are collected here
// once for both stores: one per section and entry, in the order first written, with the
// spelling first written; a later write of the same entry replaces its value in place.

#include <optional>
#include <string>
#include <vector>

#include "package/ExIniFile.h"
#include "package/SettingsText.h"

struct SettingsWrite {
  std::string section;
  std::string name;
  std::string value;
  std::optional<SettingsHint> hint;  // shown beside the entry where the store can show it
};

class TExIniFile::Backend {
 public:
  explicit Backend(std::string Name) : name_(std::move(Name)) {}
  virtual ~Backend() = default;
  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;

  const std::string& Name() const { return name_; }

  // The value as last written in this run, else as the store held it.
  std::optional<std::string> Read(const std::string& Section, const std::string& Name) const;
  // Raises when the store cannot hold the write at all.
  void Write(SettingsWrite Write);
  // Hands the collected writes on as one change; they are dropped once they are there.
  void Update(bool CreateFolders);

 protected:
  virtual std::optional<std::string> Stored(const std::string& Section,
                                            const std::string& Name) const = 0;
  // Whether two section or entry names are the same for this store.
  virtual bool SameName(const std::string& A, const std::string& B) const = 0;
  virtual void Check(const SettingsWrite& Write) const = 0;
  // Raises on failure, leaving the store as it was.
  virtual void Apply(const std::vector<SettingsWrite>& Writes, bool CreateFolders) = 0;

  // Raises EExIniFileError: "The settings <where> cannot <what>: <reason>".
  [[noreturn]] void Fail(const std::string& What, const std::string& Reason) const;
  // "file C:\a.cfg" or "in HKEY_CURRENT_USER\Software\A", for messages.
  virtual std::string Where() const = 0;

 private:
  bool Matches(const SettingsWrite& Write, const std::string& Section,
               const std::string& Name) const;

  std::string name_;
  std::vector<SettingsWrite> pending_;
};
