#pragma once

// The whole contract of a backend: the controls' windows (visual/ControlWidgets.h), and the
// forms' windows, the application's window, the screen, the event loop and the dialogs. Read
// the controls' part first; the same rules hold here: members without a body are what every
// backend must do, the others default to what a backend that shows nothing does.
//
// A program, test or package picks its backend by linking it: the backend's library defines
// WidgetSet(), and nothing else of it is named outside the backend. toolkit_qt shows everything
// with Qt 6 Widgets; toolkit_windowless shows nothing and loads nothing.

#include <functional>
#include <memory>
#include <string>

#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/visual/ControlWidgets.h"

class TWidgetSet : public TControlWidgets {
 public:
  // --- The event loop (WidgetSystem.h says what each is for) ---

  virtual void StartWidgetSystem() {}
  virtual bool WidgetSystemRunning() const { return false; }
  // Runs the calls still posted to windows, where the backend keeps them itself; a backend
  // whose event loop runs them drops them with their windows.
  virtual void RunPostedCalls() {}
  virtual void StopWidgetSystem() {}
  virtual void ProcessEvents() { RunPostedCalls(); }
  // Nothing waits for input where nothing is shown: these throw EInvalidOperation.
  virtual void WaitForEvent();
  virtual void WhenModalWindowShown(const std::string& Name, std::function<void(HWND)> Action);
  virtual void CloseWindow(HWND Window);
  virtual void Wake() {}
  virtual void UseOffscreen() {}
  virtual void UseHeadless() {}
  // False when nothing can be pictured or the file could not be written.
  virtual bool SaveWindowPicture(HWND, const std::string&) { return false; }
  // What the user is asked through; by default, standard error and the first answer.
  virtual std::unique_ptr<TPresenter> CreatePresenter();

  // --- Forms ---

  virtual HWND CreateFormWindow(TCustomForm& Form) { return CreatePlainWindow(Form, nullptr); }
  // The frame: border style and border icons.
  virtual void ShowFormFrame(TCustomForm&) {}
  virtual void ShowFormCaption(TCustomForm&) {}
  // The client size, the position and the enabled state (a form's bounds include its frame).
  virtual void ShowFormBounds(TCustomForm&) {}
  virtual void ShowFormWindowState(TCustomForm&) {}
  virtual void ShowFormShown(TCustomForm&, bool) {}
  virtual void ActivateFormWindow(TCustomForm&) {}
  // Control is losing the focus: a window inside it that has the keyboard gives it to the form.
  virtual void MoveFocusOutOf(TCustomForm&, TWinControl&) {}
  // Disables the form's window around a modal one, if it is shown and enabled: true when it did.
  virtual bool DisableFormWindow(TCustomForm&) { return false; }
  // Enables it again as the form says, giving the focus back to the control that had it.
  virtual void EnableFormWindow(TCustomForm&) {}

  // --- The application and the screen ---

  // The application's own hidden window, the owner of its dialogs.
  virtual HWND CreateApplicationWindow(TApplication& App) = 0;
  // The cursor over every window, changed from Previous.
  virtual void ShowScreenCursor(TCursor, TCursor) {}
  // The size of a common desktop, so that a centred form lies where it would be seen.
  virtual TPoint ScreenSize() { return {1024, 768}; }
  virtual TCustomForm* ActiveForm() { return nullptr; }
};

// The backend the program is linked with. A module that links another backend and binds its
// symbols inside itself (the setup program's window) has its own widget set beside the program's.
TWidgetSet& WidgetSet();
