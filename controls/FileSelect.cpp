#include "controls/FileSelect.h"

#include "controls/BrowseFolder.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/FileNames.h"
#include "toolkit/forms/Dialogs.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("FileSelect.cpp 1.0");

}  // namespace

TClass TFileSelect::StaticClass() {
  return DefineClass<TFileSelect>("TFileSelect", [](ClassBuilder<TFileSelect>& c) {
    c.Property("FileFilter", &TFileSelect::FileFilter);
    // The committed value: the history already holds it.
    c.Property("FileName", &TFileSelect::FileName, &TFileSelect::SetFileName).Stored(false);
    c.Property("Mode", &TFileSelect::Mode).Default(mDirectory);
  });
}

TFileSelect::TFileSelect(TComponent* AOwner) : TCustomMRUComboBox(AOwner) {}

TFileSelect::~TFileSelect() = default;

void TFileSelect::Validate(std::string& Text, bool& Valid) {
  Valid = !Text.empty();
  inherited::Validate(Text, Valid);
}

void TFileSelect::ButtonClick() {
  switch (Mode) {
    case mDirectory:
      return BrowseForFolder();
    case mFileOpen:
      return ChooseFile<TOpenDialog>();
    case mFileSave:
      return ChooseFile<TSaveDialog>();
  }
  CaseError("TFileSelect.ButtonClick", Mode);
}

void TFileSelect::BrowseForFolder() {
  auto* dialog = new TBrowseFolder(nullptr);
  const ScopeExit freeDialog([dialog] { dialog->Free(); });
  dialog->Directory = CommittedText();
  dialog->AutoEnableOK = true;
  dialog->ShowFullPath = true;
  dialog->Flags += TBrowseInfoFlagSet{bfStatusText};
  if (dialog->Execute()) SetCurrentText(dialog->Directory);
}

template <class Dialog>
void TFileSelect::ChooseFile() {
  auto* dialog = new Dialog(nullptr);
  const ScopeExit freeDialog([dialog] { dialog->Free(); });
  dialog->InitialDir = platform::ExtractFileDir(CommittedText());
  dialog->FileName = platform::ExtractFileName(CommittedText());
  dialog->Filter = FileFilter;
  if (dialog->Execute()) SetCurrentText(dialog->FileName);
}
