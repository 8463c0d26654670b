#pragma once

// TExIniFile: a store of text values addressed by a section and an entry name, kept either in
// a settings file or below a registry key of the machine in use. The configuration component
// opens one for each load or save run and frees it at the end of the run.
//
// Both stores read what is there when they are opened and collect the writes of the run in
// memory; UpdateFile hands them all to the file or the hive as one change. Freeing a store
// drops the writes not yet handed on, so a run that fails halfway decides itself what is kept.
//
// Every failure (a file that cannot be read or replaced, a registry refused because a Wine
// server owns it) raises EExIniFileError, whose message names the store and the reason.

#include <memory>
#include <string>

#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Object.h"
#include "toolkit/model/TypeInfo.h"

// The registry roots a store can live under; rkCurrentUser (ordinal 2) is the per-user hive.
TOOLKIT_ENUM(TRegistryKey, rkClassesRoot, rkLocalMachine, rkCurrentUser, rkUsers, rkCurrentConfig)

TOOLKIT_EXCEPTION(EExIniFileError, Exception);

class TExIniFile : public TObject {
  TOOLKIT_CLASS(TExIniFile, TObject)

  // The settings file FileName, a Windows path of the machine. A file that does not exist yet
  // is an empty store, or, when it MustExist (a load that has nothing to load fails), raises;
  // one that cannot be read (a folder in its place, no permission) raises.
  explicit TExIniFile(const std::string& FileName, bool MustExist = false);
  // The key Path below Root. Opened for loading nothing is ever created; opened for saving
  // (ForSaving) the missing keys are created when the writes are handed on. Raises when the
  // registry cannot be read, or, ForSaving, when it cannot be written now.
  static TExIniFile* CreateInRegistry(TRegistryKey Root, const std::string& Path, bool ForSaving);
  ~TExIniFile() override;

  // The value of Name in Section as last written in this store or found when it was opened;
  // Default when there is none.
  std::string ReadString(const std::string& Section, const std::string& Name,
                         const std::string& Default);
  void WriteString(const std::string& Section, const std::string& Name, const std::string& Value);
  // As WriteString; with hints enabled, TypeDescription is shown beside the entry (starting at
  // column HintPosition of a settings file) and is never read back as part of the value.
  void WriteStringEx(const std::string& Section, const std::string& Name, const std::string& Value,
                     const std::string& TypeDescription);

  // Hands every write since the store was opened (or since the last call) to the file or the
  // hive as one change: a crash or a refusal leaves all of them or none. Raises on failure.
  void UpdateFile();

  // Column (1-based) at which a hint starts in a settings file.
  int HintPosition() const { return hintPosition_; }
  void SetHintPosition(int Value) { hintPosition_ = Value; }
  // Whether WriteStringEx shows its type description.
  bool HintsEnabled() const { return hintsEnabled_; }
  void SetHintsEnabled(bool Value) { hintsEnabled_ = Value; }
  // Whether a settings file's missing folders are created when the file is written. The
  // registry store creates its keys by ForSaving instead.
  bool CreateFolders() const { return createFolders_; }
  void SetCreateFolders(bool Value) { createFolders_ = Value; }

  // Where the values live, for messages: the file name or "HKEY_CURRENT_USER\Path".
  const std::string& StoreName() const;

  class Backend;  // the file or the registry behind the store

 private:
  explicit TExIniFile(std::unique_ptr<Backend> Store);

  std::unique_ptr<Backend> backend_;
  int hintPosition_ = 49;
  bool hintsEnabled_ = true;
  bool createFolders_ = false;
};
