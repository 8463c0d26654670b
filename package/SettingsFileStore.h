#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The settings file behind a TExIniFile (the file's form: SettingsText.h). The file is read
// once when the store is opened; a save takes the file as it is on disk at that moment, under
// the lock our processes share, applies this store's own writes to it and replaces it in one
// step, so what another program or another of our processes saved meanwhile is kept.

#include "package/ExIniFileBackend.h"

class SettingsFileStore : public TExIniFile::Backend {
 public:
  // FileName is a Windows path of the machine in use. A file that does not exist yet (nor
  // its folder) is an empty store, unless it MustExist; one that cannot be read raises.
  SettingsFileStore(const std::string& FileName, bool MustExist);

 protected:
  std::optional<std::string> Stored(const std::string& Section,
                                    const std::string& Name) const override;
  bool SameName(const std::string& A, const std::string& B) const override;
  void Check(const SettingsWrite&) const override {}  // a settings file holds any text
  void Apply(const std::vector<SettingsWrite>& Writes, bool CreateFolders) override;
  std::string Where() const override;

 private:
  SettingsText text_;  // as read when opened, or as saved last
};
