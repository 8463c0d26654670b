#include "toolkit/forms/Forms.h"
#include "toolkit/forms/StandardClasses.h"
#include "toolkit/forms/WidgetSet.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

TClass TApplication::StaticClass() {
  return DefineClass<TApplication>("TApplication", [](ClassBuilder<TApplication>&) {});
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  DestroyComponents();
  if (handle_ != nullptr) WidgetSet().DestroyWindow(handle_);
}

HWND TApplication::Handle() {
  if (handle_ == nullptr) handle_ = WidgetSet().CreateApplicationWindow(*this);
  return handle_;
}

TTaskWindowList TApplication::DisableTaskWindows(TCustomForm* Except) {
  TTaskWindowList list;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form != Except && form->HandleAllocated() && WidgetSet().DisableFormWindow(*form)) {
      list.push_back(form);
    }
  }
  return list;
}

// A form freed meanwhile is no longer on the screen's list and is passed over.
void TApplication::EnableTaskWindows(const TTaskWindowList& List) {
  for (TCustomForm* form : List) {
    bool known = false;
    for (int i = 0; i < Screen->FormCount(); ++i)
      known = known || Screen->Forms(i) == form;
    if (known && form->HandleAllocated()) WidgetSet().EnableFormWindow(*form);
  }
}

void TApplication::Initialize() {
  RegisterStandardClasses();
  InitWidgetSystem();
}

void TApplication::SetMainForm(TCustomForm* Form) {
  mainForm_ = Form;
  if (Form != nullptr) {
    Form->FreeNotification(this);
    Form->HandleNeeded();
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
  if (mainForm_ != nullptr && !terminated_) {
    if (showMainForm_) mainForm_->Show();
    while (!terminated_) {
      try {
        WaitForWidgetEvent();
      } catch (...) {
        HandleException(this);
      }
    }
  }
  // The request is used up: a later Run (a second program start in one process, as in
  // the tests) starts with a fresh loop.
  terminated_ = false;
}

void TApplication::Terminate() {
  terminated_ = true;
  WakeWidgetSystem();
}

void TApplication::ProcessMessages() {
  ProcessWidgetEvents();
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption,
                             std::int32_t Flags) {
  const TMessageBoxRequest request{Text, Caption.empty() ? title_ : Caption, Flags};
  return Modal([&] { return Presenter().MessageBox(request); });
}

void TApplication::HandleException(TObject*) {
  try {
    throw;
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowException(Exception("Unknown error"));
  }
}

void TApplication::ShowException(const std::exception& E) {
  std::string text = E.what();
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

TPresenter& TApplication::Presenter() {
  if (presenter_ == nullptr) presenter_ = WidgetSet().CreatePresenter();
  return *presenter_;
}

std::unique_ptr<TPresenter> TApplication::SetPresenter(std::unique_ptr<TPresenter> Value) {
  std::unique_ptr<TPresenter> previous = std::move(presenter_);
  presenter_ = std::move(Value);
  return previous;
}
