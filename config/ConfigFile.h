#pragma once

// TConfigFile: a non-visual component that keeps chosen properties of other components from
// one program run to the next, in a settings file or below a registry key.
//
// It persists
// - the properties its Entries name (see package/ComponentEntries.h), each under the entry
//   name "Component.Path" in one section;
// - optionally a settings object that OnGetInstance hands over: all its stored published
//   properties, grouped into sections by their index (a not-stored property with the same index
//   names the section);
// - optionally the window position and state of its owner form, when that is a TSuperForm.
//
// Load and Save each run once through all of it with a store opened for that run only; they
// never show the error itself: they return false, show LoadErrorText/SaveErrorText when asked
// to, and fire OnLoadError/OnSaveError. With AutoLoad the component loads by itself once its form
// has been read; it never saves by itself.
//
// TCustomConfigFile holds the behaviour and publishes nothing; TConfigFile publishes it.

#include <cstdint>
#include <string>

#include "package/ComponentEntries.h"
#include "package/ExComponent.h"
#include "package/ExIniFile.h"
#include "toolkit/model/Events.h"

class TSuperForm;
class TFiler;
class TReader;
class TWriter;

TOOLKIT_ENUM(TConfigMode, cmFile, cmRegistry)
using TFName = std::string;

TOOLKIT_EVENT(TCheckEvent, void(TObject* Sender, bool& OK));
TOOLKIT_EVENT(TGetInstanceEvent, void(TObject* Sender, TObject*& Instance));
TOOLKIT_EVENT(TExIniFileEvent, void(TObject* Sender, TExIniFile* IniFile));
TOOLKIT_EVENT(TQueryEvent, void(TObject* Sender, TComponent* Component, bool& DoHandle));

class TCustomConfigFile : public TExComponent {
  TOOLKIT_CLASS(TCustomConfigFile, TExComponent)

  explicit TCustomConfigFile(TComponent* AOwner);
  ~TCustomConfigFile() override;

  // Copies the settings of another configuration component (not its entries, events or state).
  void Assign(TPersistent* Source) override;

  // A full load or save: entries, window state, settings object. True when nothing failed.
  virtual bool Load();
  virtual bool Save();
  // Only the entries of Component (and the window state); true without a run for null.
  virtual bool LoadComponent(TComponent* Component);
  virtual bool SaveComponent(TComponent* Component);

  // The owner, when it is a TSuperForm.
  TSuperForm* SuperForm() const { return superForm_; }
  TComponentEntries* Entries() const { return entries_; }
  // 0 idle, 1 loading, 2 saving.
  std::uint8_t State() const { return state_; }
  // The store of the run in progress; null outside a run.
  TExIniFile* IniFile() const { return iniFile_; }

  bool SaveSuperFormState() const { return saveSuperFormState_; }
  // Turning it on for a component whose owner is not a TSuperForm raises (except while the
  // component is read from its form: Loaded turns it off again there).
  void SetSaveSuperFormState(bool Value);

  // The settings file of cmFile: FileName against the program's folder, else the program's
  // own name with ".cfg".
  std::string GetFileName() const;
  // Section of the entries and the window state: Section, else the owner's class name.
  std::string GetSectionName() const;

  bool AutoLoad = false;
  TFName FileName;
  std::int32_t HintPosition = 49;
  bool HintsEnabled = true;
  TConfigMode Mode = cmFile;
  std::string RegistryPath = "Software\\Zav\\MyApplication";
  TRegistryKey RegistryRoot = rkCurrentUser;
  std::string Section;
  std::string LoadErrorCaption;
  std::string LoadErrorText = "Configuration file could not be loaded.";
  std::string SaveErrorCaption;
  std::string SaveErrorText = "Configuration file could not be saved.";
  bool ShowLoadError = false;
  bool ShowSaveError = true;

  TExIniFileEvent AfterLoad;
  TExIniFileEvent AfterSave;
  TExIniFileEvent BeforeLoad;
  TExIniFileEvent BeforeSave;
  TCheckEvent OnCheckValues;
  TNotifyEvent OnGetDefaults;
  TGetInstanceEvent OnGetInstance;
  TQueryEvent OnLoadComponentQuery;
  TQueryEvent OnSaveComponentQuery;
  TNotifyEvent OnLoadError;
  TNotifyEvent OnSaveError;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  virtual bool DoLoadComponentQuery(TComponent* Component);
  virtual bool DoSaveComponentQuery(TComponent* Component);
  virtual bool DoCheckValues();
  virtual TObject* DoGetInstance();
  virtual void DoAfterLoad();
  virtual void DoAfterSave();
  virtual void DoBeforeLoad();
  virtual void DoBeforeSave();
  virtual void DoGetDefaults();

  virtual bool DoLoad(TComponent* Filter);
  virtual bool DoSave(TComponent* Filter);

 private:
  enum TDirection { dLoad, dSave };

  void CheckReentrance(std::uint8_t Request);
  void OpenIniFile(bool ForSaving);
  void CloseIniFile();
  void TransferEntries(TDirection Direction, TComponent* Filter);
  void TransferProperty(TDirection Direction, const std::string& SectionName, int EntryID,
                        const std::string& Path, bool Hints);
  TComponentEntry* FindEntry(int ID) const;
  void TransferInstance(TDirection Direction, TObject* Instance);
  std::string FindInstanceSection(TObject* Instance, std::int32_t Index) const;
  void ReportFailure(TDirection Direction);

  void ReadEntries(TReader* Reader);
  void WriteEntries(TWriter* Writer);

  TSuperForm* superForm_ = nullptr;
  TComponentEntries* entries_ = nullptr;
  std::uint8_t state_ = 0;
  bool saveSuperFormState_ = false;
  TExIniFile* iniFile_ = nullptr;
};

class TConfigFile : public TCustomConfigFile {
  TOOLKIT_CLASS(TConfigFile, TCustomConfigFile)

  explicit TConfigFile(TComponent* AOwner) : TCustomConfigFile(AOwner) {}
};

// The form name of a form: its class name without the leading letter.
std::string GetFormName(const TComponent* Form);
