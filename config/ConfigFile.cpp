#include "config/ConfigFile.h"

#include "package/ClassInfo.h"
#include "package/Errors.h"
#include "package/Msg.h"
#include "package/PathOps.h"
#include "package/SuperForm.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/FileNames.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Filer.h"
#include "toolkit/model/Reader.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/model/StringList.h"
#include "toolkit/model/Writer.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ConfigFile.cpp 1.0");

constexpr std::uint8_t kIdle = 0;
constexpr std::uint8_t kLoading = 1;
constexpr std::uint8_t kSaving = 2;

const char* RequestName(std::uint8_t Request) {
  return Request == kLoading ? "Load" : "Save";
}
const char* RunningName(std::uint8_t State) {
  return State == kLoading ? "loading" : "saving";
}

// The name a component's values are stored under: a form by its form name, any other
// component by its own name.
std::string ComponentPart(const TComponent* Component) {
  if (Component->Is<TCustomForm>()) return GetFormName(Component);
  return Component->Name();
}

}  // namespace

std::string GetFormName(const TComponent* Form) {
  const std::string className = Form->ClassName();
  return className.empty() ? className : className.substr(1);
}

TClass TCustomConfigFile::StaticClass() {
  return DefineClass<TCustomConfigFile>("TCustomConfigFile",
                                        [](ClassBuilder<TCustomConfigFile>&) {});
}

TClass TConfigFile::StaticClass() {
  return DefineClass<TConfigFile>("TConfigFile", [](ClassBuilder<TConfigFile>& c) {
    using T = TConfigFile;
    c.Property("AutoLoad", &T::AutoLoad).Default(false);
    // Kept for form descriptions that name it; it stands for nothing.
    c.Property(
         "ConfigFile", [](T*) -> TComponent* { return nullptr; }, [](T*, TComponent*) {})
        .Stored(false);
    c.Property("FileName", &T::FileName).TypeName("TFName");
    c.Property("HintPosition", &T::HintPosition).Default(49);
    c.Property("HintsEnabled", &T::HintsEnabled).Default(true);
    c.Property("Mode", &T::Mode).Default(cmFile);
    c.Property("RegistryPath", &T::RegistryPath);
    c.Property("RegistryRoot", &T::RegistryRoot).Default(rkCurrentUser);
    c.Property("SaveSuperFormState", &T::SaveSuperFormState, &T::SetSaveSuperFormState);
    c.Property("Section", &T::Section);
    c.Property("LoadErrorCaption", &T::LoadErrorCaption);
    c.Property("LoadErrorText", &T::LoadErrorText);
    c.Property("SaveErrorCaption", &T::SaveErrorCaption);
    c.Property("SaveErrorText", &T::SaveErrorText);
    c.Property("ShowLoadError", &T::ShowLoadError).Default(false);
    c.Property("ShowSaveError", &T::ShowSaveError).Default(true);
    c.Property("OnCheckValues", &T::OnCheckValues);
    c.Property("OnGetDefaults", &T::OnGetDefaults);
    c.Property("OnGetInstance", &T::OnGetInstance);
    c.Property("AfterLoad", &T::AfterLoad);
    c.Property("AfterSave", &T::AfterSave);
    c.Property("BeforeLoad", &T::BeforeLoad);
    c.Property("BeforeSave", &T::BeforeSave);
    c.Property("OnLoadComponentQuery", &T::OnLoadComponentQuery);
    c.Property("OnSaveComponentQuery", &T::OnSaveComponentQuery);
  });
}

TCustomConfigFile::TCustomConfigFile(TComponent* AOwner)
    : TExComponent(AOwner),
      superForm_(dynamic_cast<TSuperForm*>(AOwner)),
      entries_(new TComponentEntries(this)) {
  // The other fields have their first values where they are declared. A class derived from
  // this one is not built yet here, so it applies its own defaults in its own constructor.
  DoGetDefaults();
}

TCustomConfigFile::~TCustomConfigFile() {
  CloseIniFile();
  DeleteClass(entries_);
}

void TCustomConfigFile::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCustomConfigFile*>(Source);
  if (source == nullptr) return inherited::Assign(Source);
  AutoLoad = source->AutoLoad;
  FileName = source->FileName;
  HintPosition = source->HintPosition;
  HintsEnabled = source->HintsEnabled;
  Mode = source->Mode;
  RegistryPath = source->RegistryPath;
  RegistryRoot = source->RegistryRoot;
  if (superForm_ != nullptr) saveSuperFormState_ = source->saveSuperFormState_;
  Section = source->Section;
  LoadErrorCaption = source->LoadErrorCaption;
  LoadErrorText = source->LoadErrorText;
  SaveErrorCaption = source->SaveErrorCaption;
  SaveErrorText = source->SaveErrorText;
  ShowLoadError = source->ShowLoadError;
  ShowSaveError = source->ShowSaveError;
}

void TCustomConfigFile::SetSaveSuperFormState(bool Value) {
  // While the form is read the owner may not be complete yet; Loaded checks it.
  if (IsLoading()) {
    saveSuperFormState_ = Value;
    return;
  }
  if (Value == saveSuperFormState_) return;
  if (Value && superForm_ == nullptr) {
    throw Exception(ClassName() +
                    ".SaveSuperFormState property not changable: Owner form is not a TSuperForm");
  }
  saveSuperFormState_ = Value;
}

void TCustomConfigFile::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty("Entries", this, &TCustomConfigFile::ReadEntries,
                        &TCustomConfigFile::WriteEntries, entries_->Count() > 0);
}

void TCustomConfigFile::ReadEntries(TReader* Reader) {
  Reader->ReadValue();
  Reader->ReadCollection(entries_);
}

void TCustomConfigFile::WriteEntries(TWriter* Writer) {
  Writer->WriteCollection(entries_);
}

void TCustomConfigFile::Loaded() {
  inherited::Loaded();
  entries_->Init();
  if (superForm_ == nullptr) saveSuperFormState_ = false;
  if (AutoLoad && !ComponentState().Contains(csDesigning)) {
    // Whether the stored values could be read shows in them; the defaults stay otherwise.
    (void)Load();
  }
}

void TCustomConfigFile::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && entries_ != nullptr) entries_->RemoveReference(AComponent);
}

bool TCustomConfigFile::Load() {
  return DoLoad(nullptr);
}
bool TCustomConfigFile::Save() {
  return DoSave(nullptr);
}

bool TCustomConfigFile::LoadComponent(TComponent* Component) {
  return Component == nullptr || DoLoad(Component);
}

bool TCustomConfigFile::SaveComponent(TComponent* Component) {
  return Component == nullptr || DoSave(Component);
}

// --- notification points ---

bool TCustomConfigFile::DoLoadComponentQuery(TComponent* Component) {
  bool doHandle = true;
  if (OnLoadComponentQuery) OnLoadComponentQuery(this, Component, doHandle);
  return doHandle;
}

bool TCustomConfigFile::DoSaveComponentQuery(TComponent* Component) {
  bool doHandle = true;
  if (OnSaveComponentQuery) OnSaveComponentQuery(this, Component, doHandle);
  return doHandle;
}

bool TCustomConfigFile::DoCheckValues() {
  bool ok = true;
  if (OnCheckValues) OnCheckValues(this, ok);
  return ok;
}

TObject* TCustomConfigFile::DoGetInstance() {
  TObject* instance = nullptr;
  if (OnGetInstance) OnGetInstance(this, instance);
  return instance;
}

void TCustomConfigFile::DoAfterLoad() {
  if (AfterLoad) AfterLoad(this, iniFile_);
}

void TCustomConfigFile::DoAfterSave() {
  if (AfterSave) AfterSave(this, iniFile_);
}

void TCustomConfigFile::DoBeforeLoad() {
  if (BeforeLoad) BeforeLoad(this, iniFile_);
}

void TCustomConfigFile::DoBeforeSave() {
  if (BeforeSave) BeforeSave(this, iniFile_);
}

void TCustomConfigFile::DoGetDefaults() {
  if (OnGetDefaults) OnGetDefaults(this);
}

// --- the runs ---

void TCustomConfigFile::CheckReentrance(std::uint8_t Request) {
  if (state_ == kIdle) {
    state_ = Request;
    return;
  }
  throw ECriticalError(ClassName() + ": Invalid reentrance. " + RequestName(Request) +
                       " request while " + RunningName(state_) +
                       " not possible. Change your conception");
}

bool TCustomConfigFile::DoLoad(TComponent* Filter) {
  CheckReentrance(kLoading);
  const ScopeExit idle([this] { state_ = kIdle; });
  entries_->Init();
  TObject* instance = DoGetInstance();
  if (Filter == nullptr) DoGetDefaults();
  CloseIniFile();
  bool result = true;
  {
    const ScopeExit close([this] { CloseIniFile(); });
    try {
      OpenIniFile(false);
      const ScopeExit afterLoad([this] { DoAfterLoad(); });
      DoBeforeLoad();
      if (saveSuperFormState_) {
        const std::string state =
            iniFile_->ReadString(GetSectionName(), GetFormName(superForm_), "");
        if (!state.empty()) superForm_->SetWindowStateData(state);
      }
      TransferEntries(dLoad, Filter);
      if (Filter == nullptr && instance != nullptr) {
        TransferInstance(dLoad, instance);
        if (!DoCheckValues()) throw EStreamError(ClassName() + ".CheckValues failed");
      }
    } catch (...) {  // a failed load is reported by the result, never by the error itself
      result = false;
    }
    if (!result) ReportFailure(dLoad);
  }
  // The defaults go back over what a failed run had already loaded.
  if (Filter == nullptr && !result) DoGetDefaults();
  return result;
}

bool TCustomConfigFile::DoSave(TComponent* Filter) {
  CheckReentrance(kSaving);
  const ScopeExit idle([this] { state_ = kIdle; });
  entries_->Init();
  TObject* instance = DoGetInstance();
  bool result = true;
  const ScopeExit close([this] { CloseIniFile(); });
  try {
    OpenIniFile(true);
    {
      const ScopeExit afterSave([this] { DoAfterSave(); });
      DoBeforeSave();
      if (saveSuperFormState_) {
        iniFile_->WriteString(GetSectionName(), GetFormName(superForm_),
                              superForm_->GetWindowStateData());
      }
      TransferEntries(dSave, Filter);
      if (Filter == nullptr && instance != nullptr) TransferInstance(dSave, instance);
    }
    // The run's values reach the file or the hive together, after AfterSave had its say.
    iniFile_->UpdateFile();
  } catch (...) {  // a failed save is reported by the result, never by the error itself
    result = false;
  }
  if (!result) {
    // What was written before the failure stays written, as one change.
    if (iniFile_ != nullptr) {
      try {
        iniFile_->UpdateFile();
      } catch (...) {  // the store refuses: the run has failed already and says so below
      }
    }
    ReportFailure(dSave);
  }
  return result;
}

void TCustomConfigFile::ReportFailure(TDirection Direction) {
  if (Direction == dLoad) {
    if (ShowLoadError) (void)Msg(LoadErrorText, LoadErrorCaption, kMsgError, {}, 0);
    if (OnLoadError) OnLoadError(this);
  } else {
    if (ShowSaveError) (void)Msg(SaveErrorText, SaveErrorCaption, kMsgError, {}, 0);
    if (OnSaveError) OnSaveError(this);
  }
}

void TCustomConfigFile::OpenIniFile(bool ForSaving) {
  CloseIniFile();
  switch (Mode) {
    case cmFile:
      // Loading from a settings file that is not there is a failed load, not an empty one.
      iniFile_ = new TExIniFile(GetFileName(), !ForSaving);
      break;
    case cmRegistry:
      iniFile_ = TExIniFile::CreateInRegistry(RegistryRoot, RegistryPath, ForSaving);
      break;
    default:
      CaseError("TCustomConfigFile.OpenIniFile", Mode);
  }
  iniFile_->SetHintPosition(HintPosition);
  iniFile_->SetHintsEnabled(HintsEnabled);
  // A settings file named into a folder of its own gets that folder when it is saved.
  iniFile_->SetCreateFolders(true);
}

void TCustomConfigFile::CloseIniFile() {
  DeleteClass(iniFile_);
}

std::string TCustomConfigFile::GetFileName() const {
  if (!FileName.empty()) return ExpandApplicationDir(FileName);
  return ExpandApplicationDir(platform::ChangeFileExt(GetApplicationFileName(), ".cfg"));
}

std::string TCustomConfigFile::GetSectionName() const {
  if (!Section.empty()) return Section;
  if (Owner() != nullptr) return Owner()->ClassName();
  return {};
}

// Handlers and property setters run in the middle of this pass (the queries, the loaded values)
// and before it (OnGetInstance, OnGetDefaults, BeforeLoad/BeforeSave); any of them may rebuild a
// collection an entry reaches or free a referenced component. So an entry is bound when its
// turn comes, each of its values again right before it moves, and what is gone by then is left
// out as an entry missing from the store is.
void TCustomConfigFile::TransferEntries(TDirection Direction, TComponent* Filter) {
  const bool hints = iniFile_->HintsEnabled();
  const ScopeExit restoreHints([this, hints] { iniFile_->SetHintsEnabled(hints); });
  const std::string section = GetSectionName();
  TStringList lines;
  for (int i = 0; i < entries_->Count(); ++i) {
    TComponentEntry* entry = entries_->GetItem(i);
    if (entry->GetRef() == nullptr || (Filter != nullptr && entry->GetRef() != Filter)) continue;
    entry->Init();
    // Only the paths are used: what the lines' objects point at may go with the first handler,
    // and so may the entry itself.
    entry->MoveSubItemsToStrings(true, &lines);
    const int id = entry->ID();
    for (int line = 0; line < lines.Count(); ++line)
      TransferProperty(Direction, section, id, lines.Strings(line), hints);
    lines.Clear();
  }
}

void TCustomConfigFile::TransferProperty(TDirection Direction, const std::string& SectionName,
                                         int EntryID, const std::string& Path, bool Hints) {
  const TComponentEntry* entry = FindEntry(EntryID);
  TComponent* component = entry != nullptr ? entry->GetRef() : nullptr;
  if (component == nullptr) return;
  const bool handle =
      Direction == dLoad ? DoLoadComponentQuery(component) : DoSaveComponentQuery(component);
  if (!handle) return;
  // The query handler may have changed anything the entry reaches, the entry itself included.
  entry = FindEntry(EntryID);
  if (entry == nullptr || entry->GetRef() != component) return;
  const std::unique_ptr<TPropertyEntry> property = entry->Bind(Path);
  if (property == nullptr) return;
  const std::string name = ComponentPart(component) + "." + Path;
  const std::string typeDef = property->GetTypDef();
  // A hint needs a type to show, and hints switched off stay off.
  iniFile_->SetHintsEnabled(Hints && !typeDef.empty());
  const std::string current = VarToStr(property->GetValue());
  if (Direction == dSave) {
    iniFile_->WriteStringEx(SectionName, name, current, typeDef);
    return;
  }
  const std::string stored = iniFile_->ReadString(SectionName, name, current);
  // An unchanged value is not set again: a setter may do more than store it.
  if (stored != current) property->SetValue(stored);
}

// The entry with that ID, while the entries still hold it.
TComponentEntry* TCustomConfigFile::FindEntry(int ID) const {
  return static_cast<TComponentEntry*>(entries_->FindItemID(ID));
}

void TCustomConfigFile::TransferInstance(TDirection Direction, TObject* Instance) {
  TClassInfo info(Instance);
  for (int i = 0; i < info.Count(); ++i) {
    if (!info.Select(i) || !info.IsStored()) continue;
    const std::string section = FindInstanceSection(Instance, info.PropIndex());
    if (Direction == dLoad) {
      if (!info.HasRead() || !info.HasWrite()) continue;
      const std::string current = VarToStr(info.GetValue());
      info.SetValue(iniFile_->ReadString(section, info.Name(), current));
    } else if (info.HasRead()) {
      iniFile_->WriteStringEx(section, info.Name(), VarToStr(info.GetValue()), info.TypDef());
    }
  }
}

std::string TCustomConfigFile::FindInstanceSection(TObject* Instance, std::int32_t Index) const {
  TClassInfo info(Instance);
  for (int i = 0; i < info.Count(); ++i) {
    if (!info.Select(i) || info.IsStored()) continue;
    if (info.PropIndex() != PropNoIndex && info.PropIndex() == Index) return info.Name();
  }
  return "Default Section";
}
