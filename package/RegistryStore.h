#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The registry key behind a TExIniFile: below the key Path of a root, each section is a
// subkey and each entry a string value (REG_SZ) in it; the section with the empty name is the
// key Path itself, since no subkey can have an empty name. Everything below Path is read when
// the store is opened, through the registry of the machine in use; a save writes all the
// values of the run into the hive as one change.
//
// Choices the registry imposes or leaves to us:
// - Names are found ignoring case as the registry finds them (the hive folds more than A to Z).
// - A value of another type than REG_SZ and REG_EXPAND_SZ (whose text is read as it stands,
//   unexpanded) reads as absent, so the caller's default applies; a save replaces it with a
//   REG_SZ.
// - Hints are not stored: a registry value has no place for a comment beside it.
// - A text the registry cannot hold exactly (a NUL character, bytes that are not UTF-8) and a
//   section name with a backslash (it would name a key below another) are refused when written.

#include "package/ExIniFileBackend.h"
#include "platform/WinRegistry.h"

class RegistryStore : public TExIniFile::Backend {
 public:
  // Opened for loading (ForSaving false), nothing is ever created, and the writes of a save
  // must go into keys that exist. Opened for saving, the missing keys are created when the
  // writes are handed on, and the store refuses at once while a Wine server owns the registry.
  RegistryStore(TRegistryKey Root, const std::string& Path, bool ForSaving);

 protected:
  std::optional<std::string> Stored(const std::string& Section,
                                    const std::string& Name) const override;
  bool SameName(const std::string& A, const std::string& B) const override;
  void Check(const SettingsWrite& Write) const override;
  void Apply(const std::vector<SettingsWrite>& Writes, bool CreateFolders) override;
  std::string Where() const override;

 private:
  struct StoredSection {
    std::string name;
    std::vector<std::pair<std::string, std::optional<std::string>>> values;  // text, if any
  };

  void ReadSection(const std::string& Name);
  // The index of the section; sections_.size() when there is none.
  size_t FindSection(const std::string& Name) const;
  std::string KeyOf(const std::string& SectionName) const;

  platform::RootKey root_;
  std::string path_;
  bool forSaving_;
  std::vector<StoredSection> sections_;  // as read when opened, or as saved last
};
