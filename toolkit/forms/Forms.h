#pragma once

// Forms, the application object and the screen.
//
// A form class builds itself from its form description in its constructor:
//
//   TInstallForm::TInstallForm(TComponent* AOwner) : TForm(AOwner) {
//     ReadForm(kInstallFormText);  // read, Loaded, then OnCreate
//   }
//
// Program start:
//   Application->Initialize();
//   Application->SetTitle("Setup");
//   Application->CreateForm(InstallForm);
//   Application->Run();

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/forms/Presenter.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/Controls.h"

TOOLKIT_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
TOOLKIT_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter)
TOOLKIT_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
TOOLKIT_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
TOOLKIT_SET(TBorderIcons, TBorderIcon)
TOOLKIT_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
TOOLKIT_EVENT(TCloseEvent, void(TObject* Sender, TCloseAction& Action));
TOOLKIT_EVENT(TCloseQueryEvent, void(TObject* Sender, bool& CanClose));

class TCustomForm : public TWinControl {
  TOOLKIT_CLASS(TCustomForm, TWinControl)

  // An empty form; a form class reads its description with ReadForm.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  void BeforeDestruction() override;

  // Reads Description into this form (Loaded runs on every component), then fires OnCreate.
  void ReadForm(std::string_view Description);

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition Value) { position_ = Value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState Value);
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* Control);

  // The frame and caption are outside the client area, as on the classic desktop.
  int ClientWidth() const override;
  int ClientHeight() const override;
  TRect ClientRect() const override { return {0, 0, ClientWidth(), ClientHeight()}; }

  bool Showing() const override { return Visible(); }
  // Shows the form and brings it to the front.
  void Show();
  // Asks OnCloseQuery, then closes: the main form ends the program, others hide.
  void Close();
  virtual bool CloseQuery();
  // The form's controls, then (when it is the root) the components it owns that are not
  // controls, so a written form keeps its non-visual components.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  // The focus moved to Control: the controls left hear CM_EXIT, those entered CM_ENTER.
  void SetFocusedControl(TWinControl* Control);
  TWinControl* FocusedControl() const { return focusedControl_; }
  // Control, a control on this form, is leaving it, being freed, hidden or disabled: neither the
  // focus nor ActiveControl may stay in it or in anything inside it. The focus falls back to the
  // form itself (to nothing while the form is hidden), not on to the next control, as the classic
  // desktop does; the controls left hear CM_EXIT.
  void DefocusControl(TWinControl* Control);

  // What the window reports: its close button was pressed; the user or the system moved,
  // resized, maximized or minimized it (the client area's place and size in its normal state).
  void WindowCloseRequested();
  void WindowGeometryChanged(int ALeft, int ATop, int AClientWidth, int AClientHeight);
  void WindowStateChanged(TWindowState State);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Kept for form descriptions written by the classic designer.
  int PixelsPerInch = ScreenPixelsPerInch;
  int TextHeight = 13;
  bool OldCreateOrder = false;
  bool Scaled = true;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  void UpdateWidgetBounds() override;
  void Dispatch(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;

  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);

 private:
  void UpdateWindowFlags();
  TPoint FrameSize() const;
  // The window follows the form: its state, shown or hidden, brought to the front.
  void ShowWindowState();
  void SetWindowShown(bool Shown);
  void ActivateWindow();
  // Frees the form once the handler that closed it has returned.
  void Release();
  // Control is losing the focus: the widget inside it that has the keyboard gives it to the window.
  void MoveWidgetFocusOutOf(TWinControl* Control);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  bool destroyed_ = false;
  bool updatingBounds_ = false;      // the form is setting its window's geometry
  bool takingWindowBounds_ = false;  // the form takes over its window's geometry
};

class TForm : public TCustomForm {
  TOOLKIT_CLASS(TForm, TCustomForm)

  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The windows disabled around a modal dialog, to enable again afterwards.
using TTaskWindowList = std::vector<TCustomForm*>;

class TApplication : public TComponent {
  TOOLKIT_CLASS(TApplication, TComponent)

  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool Value) { showMainForm_ = Value; }
  TCustomForm* MainForm() const { return mainForm_; }

  void Initialize();
  // Creates a form owned by the application; the first one becomes the main form.
  template <class F>
  void CreateForm(F*& Reference) {
    Reference = new F(this);
    if (mainForm_ == nullptr) SetMainForm(Reference);
  }
  void SetMainForm(TCustomForm* Form);
  // Shows the main form (when ShowMainForm) and handles messages until Terminate; a
  // Terminate before Run makes it return at once. The request ends with the loop.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Lets pending window messages through (paints, clicks, timers) and returns.
  void ProcessMessages();

  // The application's own hidden window, the owner of its dialogs.
  HWND Handle();

  // Shows a message box through the presenter, with all windows disabled meanwhile.
  int MessageBox(const std::string& Text, const std::string& Caption, std::int32_t Flags = MB_OK);
  // Shows the text of the exception being handled (inside a catch block).
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& E);

  TPresenter& Presenter();
  // Puts a presenter in place and returns the one it replaces (null: the default).
  std::unique_ptr<TPresenter> SetPresenter(std::unique_ptr<TPresenter> Value);

  // Disables every enabled, shown form except Except; EnableTaskWindows undoes it.
  TTaskWindowList DisableTaskWindows(TCustomForm* Except = nullptr);
  void EnableTaskWindows(const TTaskWindowList& List);
  // Runs Body with the application's windows disabled, as around a modal dialog.
  template <class F>
  auto Modal(F&& Body) {
    const TTaskWindowList disabled = DisableTaskWindows();
    const ScopeExit enable([&] { EnableTaskWindows(disabled); });
    return Body();
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::string title_;
  bool showMainForm_ = true;
  bool terminated_ = false;
  TCustomForm* mainForm_ = nullptr;
  std::unique_ptr<TPresenter> presenter_;
  HWND handle_ = nullptr;
};

class TScreen : public TComponent {
  TOOLKIT_CLASS(TScreen, TComponent)

  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}

  // The cursor over every window of the program; crDefault lets each control show its own.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return ScreenPixelsPerInch; }

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int Index) const { return forms_.at(static_cast<std::size_t>(Index)); }
  TCustomForm* ActiveForm() const;
  TWinControl* ActiveControl() const;

 private:
  friend class TCustomForm;

  TCursor cursor_ = crDefault;
  std::vector<TCustomForm*> forms_;
};

// The program's application and screen. The setup program's window module holds its own pair
// (it links the toolkit again, with the Qt backend, and binds its symbols inside itself): forms
// the program made are not on the module's screen, nor the module's on the program's.
extern TApplication* Application;
extern TScreen* Screen;
