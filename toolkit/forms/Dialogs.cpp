#include "toolkit/forms/Dialogs.h"

#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ScopeGuards.h"

TClass TCommonDialog::StaticClass() {
  return DefineClass<TCommonDialog>("TCommonDialog", [](ClassBuilder<TCommonDialog>& c) {
    c.Property("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D).Default(true);
    c.Property("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext)
        .TypeName("THelpContext")
        .Default(0);
    c.Property("OnClose", &TCommonDialog::OnClose);
    c.Property("OnShow", &TCommonDialog::OnShow);
  });
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

template <class F>
bool TCommonDialog::Run(F&& Body) {
  DoShow();
  handle_ = Application->Handle();
  const ScopeExit close([this] {
    handle_ = nullptr;
    DoClose();
  });
  return Application->Modal([&] { return Body(); });
}

TClass TOpenDialog::StaticClass() {
  return DefineClass<TOpenDialog>("TOpenDialog", [](ClassBuilder<TOpenDialog>& c) {
    c.Property("DefaultExt", &TOpenDialog::DefaultExt);
    c.Property("FileName", &TOpenDialog::FileName).TypeName("TFileName");
    c.Property("Filter", &TOpenDialog::Filter);
    c.Property("FilterIndex", &TOpenDialog::FilterIndex).Default(1);
    c.Property("InitialDir", &TOpenDialog::InitialDir);
    c.Property("Options", &TOpenDialog::Options).Default(TOpenOptions{ofHideReadOnly});
    c.Property("Title", &TOpenDialog::Title);
  });
}

bool TOpenDialog::Execute() {
  TFileDialogRequest request;
  request.Kind = IsSaveDialog() ? TFileDialogKind::Save : TFileDialogKind::Open;
  request.Title = Title;
  request.InitialDir = InitialDir;
  request.FileName = FileName;
  request.Filter = Filter;
  request.FilterIndex = FilterIndex;
  request.DefaultExt = DefaultExt;
  request.FileMustExist = Options.Contains(ofFileMustExist);
  request.OverwritePrompt = Options.Contains(ofOverwritePrompt);
  const bool chosen = Run([&] { return Application->Presenter().FileDialog(request); });
  if (chosen) {
    FileName = request.FileName;
    FilterIndex = request.FilterIndex;
  }
  return chosen;
}

TClass TSaveDialog::StaticClass() {
  return DefineClass<TSaveDialog>("TSaveDialog", [](ClassBuilder<TSaveDialog>&) {});
}
