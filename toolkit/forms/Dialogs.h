#pragma once

// Common dialogs: a non-visual component that runs a modal dialog in Execute. The
// dialog itself is shown by the application's presenter, with all the application's
// windows disabled meanwhile; OnShow and OnClose come before and after it.

#include <string>

#include "toolkit/model/Component.h"
#include "toolkit/model/Events.h"
#include "toolkit/model/Sets.h"
#include "toolkit/visual/Messages.h"

TOOLKIT_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp,
             ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist,
             ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate,
             ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
             ofEnableIncludeNotify, ofEnableSizing)
TOOLKIT_SET(TOpenOptions, TOpenOption)

class TCommonDialog : public TComponent {
  TOOLKIT_CLASS(TCommonDialog, TComponent)

  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

  // Runs the dialog; true when the user confirmed it.
  virtual bool Execute() = 0;

  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool Value) { ctl3D_ = Value; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int Value) { helpContext_ = Value; }
  // The dialog's window while it is open, else null.
  HWND Handle() const { return handle_; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  virtual void DoShow();
  virtual void DoClose();
  // Shows and closes around Body, with the application's windows disabled.
  template <class F>
  bool Run(F&& Body);
  HWND handle_ = nullptr;

 private:
  bool ctl3D_ = true;
  int helpContext_ = 0;
};

class TOpenDialog : public TCommonDialog {
  TOOLKIT_CLASS(TOpenDialog, TCommonDialog)

  explicit TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

  bool Execute() override;

  std::string DefaultExt;
  std::string FileName;
  // "description|pattern" pairs, e.g. "All files (*.*)|*.*".
  std::string Filter;
  int FilterIndex = 1;
  std::string InitialDir;
  TOpenOptions Options{ofHideReadOnly};
  std::string Title;

 protected:
  virtual bool IsSaveDialog() const { return false; }
};

class TSaveDialog : public TOpenDialog {
  TOOLKIT_CLASS(TSaveDialog, TOpenDialog)

  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

 protected:
  bool IsSaveDialog() const override { return true; }
};
