#include <algorithm>

#include "toolkit/forms/Forms.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/Controls.h"

TClass TWinControl::StaticClass() {
  return DefineClass<TWinControl>("TWinControl", [](ClassBuilder<TWinControl>&) {});
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

// Children go with their parent, as the classic toolkit frees them. A control freed with Free has
// left its parent already (BeforeDestruction); one deleted otherwise leaves it here, while it is
// still a windowed control, so that it also leaves the parent's tab order.
TWinControl::~TWinControl() {
  if (Parent() != nullptr) Parent()->RemoveControl(this);
  if (HandleAllocated()) DestroyView();
  while (!controls_.empty()) {
    TControl* control = controls_.back();
    RemoveControl(control);
    control->Free();
  }
}

void TWinControl::BeforeDestruction() {
  inherited::BeforeDestruction();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) {
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  }
  return controls_[static_cast<std::size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
  controls_.push_back(AControl);
  AControl->parent_ = this;
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) tabList_.push_back(win);
  if (!AControl->ComponentState().Contains(csLoading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  }
  if (HandleAllocated()) AControl->CreateView();
  AlignControl(AControl);
}

// The form hears of it first, while the control and its widget are still there: the focus may be
// in the control or anywhere inside it.
void TWinControl::RemoveControl(TControl* AControl) {
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win != nullptr) win->RemoveFocus();
  if (AControl->WindowHandle() != nullptr) AControl->DestroyView();
  std::erase(controls_, AControl);
  if (win != nullptr) std::erase(tabList_, win);
  AControl->parent_ = nullptr;
  if (AControl->align_ != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c != nullptr; c = c->Parent()) {
    if (c == this) return true;
  }
  return false;
}

void TWinControl::Broadcast(TMessage& Message) {
  const std::vector<TControl*> controls = controls_;
  for (TControl* control : controls) {
    control->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(std::uint32_t Msg) {
  TMessage message{Msg, 0, 0, 0};
  Broadcast(message);
}

int TWinControl::TabOrder() const {
  const TWinControl* parent = Parent();
  if (parent == nullptr) return -1;
  const auto& list = parent->tabList_;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

// While a description is read the place is kept; the parent sorts its list once
// all its children are there (FixupTabList).
void TWinControl::SetTabOrder(int Value) {
  if (ComponentState().Contains(csReading) || Parent() == nullptr) {
    tabOrder_ = Value;
    return;
  }
  auto& list = Parent()->tabList_;
  const int count = static_cast<int>(list.size());
  const int current = TabOrder();
  if (current < 0) return;
  if (Value < 0 || Value >= count) Value = count - 1;
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TWinControl::FixupTabList() {
  std::vector<TWinControl*> sorted;
  std::vector<TWinControl*> rest;
  for (TWinControl* control : tabList_) {
    (control->tabOrder_ >= 0 ? sorted : rest).push_back(control);
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](TWinControl* a, TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
  sorted.insert(sorted.end(), rest.begin(), rest.end());
  tabList_ = sorted;
  for (TWinControl* control : tabList_)
    control->tabOrder_ = -1;
}

void TWinControl::SetTabStop(bool Value) {
  if (tabStop_ == Value) return;
  tabStop_ = Value;
  UpdateFocusPolicy();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* control : tabList_) {
    List.push_back(control);
    control->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  int start = -1;
  for (int i = 0; i < count; ++i) {
    if (list[static_cast<std::size_t>(i)] == CurControl) start = i;
  }
  if (start < 0) start = GoForward ? count - 1 : 0;
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* candidate = list[static_cast<std::size_t>(i)];
    if (candidate != CurControl && candidate->CanFocus() && candidate->AcceptsFocus() &&
        (!CheckTabStop || candidate->TabStop()) && (!CheckParent || candidate->Parent() == this)) {
      return candidate;
    }
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, false)) {
    next->TakeFocusByTab(GoForward);
  }
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return WindowHandle();
}

void TWinControl::HandleNeeded() {
  if (!HandleAllocated()) CreateHandle();
}

void TWinControl::CreateHandle() {
  if (HandleAllocated()) return;
  // The parent's window comes first; making it makes this one too.
  if (Parent() != nullptr && !Parent()->HandleAllocated()) {
    Parent()->HandleNeeded();
    if (HandleAllocated()) return;
  }
  CreateWnd();
  for (TControl* control : controls_) {
    if (control->WindowHandle() == nullptr) control->CreateView();
  }
}

void TWinControl::CreateView() {
  CreateHandle();
}

void TWinControl::CreateWnd() {
  TControl::CreateView();
}

void TWinControl::DestroyHandle() {
  if (!HandleAllocated()) return;
  for (TControl* control : controls_) {
    if (control->WindowHandle() != nullptr) control->DestroyView();
  }
  DestroyWnd();
}

void TWinControl::DestroyView() {
  DestroyHandle();
}

void TWinControl::DestroyWnd() {
  TControl::DestroyView();
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  DestroyHandle();
  CreateHandle();
}

void TWinControl::WidgetCreated() {
  inherited::WidgetCreated();
  UpdateFocusPolicy();
  if (Parent() == nullptr) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    Parent()->Controls(i)->SiblingWindowCreated(this);
}

void TWinControl::RemoveFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && form != this) form->DefocusControl(this);
}

bool TWinControl::CanFocus() const {
  for (const TControl* control = this; control != nullptr; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

void TWinControl::DisableAlign() {
  ++alignLevel_;
}

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0 && alignNeeded_) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::RequestAlign() {
  inherited::RequestAlign();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (resized) Realign();
}

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (alignLevel_ != 0 || ComponentState().Contains(csLoading)) {
    alignNeeded_ = true;
    return;
  }
  if (AControl != nullptr && AControl->Align() == alNone) return;
  DisableAlign();
  alignNeeded_ = false;
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(AControl, rect);
  alignNeeded_ = false;
  --alignLevel_;
}

void TWinControl::AdjustClientRect(TRect&) const {}

// The classic order: top, bottom, left, right, then the client control; within each
// kind by position, the control being moved first among equals.
void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  auto before = [AControl](TAlign align, TControl* a, TControl* b) {
    auto key = [align](TControl* c) {
      switch (align) {
        case alTop:
          return c->Top();
        case alBottom:
          return -(c->Top() + c->Height());
        case alLeft:
          return c->Left();
        case alRight:
          return -(c->Left() + c->Width());
        default:
          return 0;
      }
    };
    if (key(a) != key(b)) return key(a) < key(b);
    return a == AControl && b != AControl;
  };
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* control : controls_) {
      if (control->Align() == align &&
          (control->Visible() || ComponentState().Contains(csDesigning))) {
        list.push_back(control);
      }
    }
    std::stable_sort(list.begin(), list.end(),
                     [&](TControl* a, TControl* b) { return before(align, a, b); });
    for (TControl* control : list) {
      int left = Rect.Left;
      int top = Rect.Top;
      int width = Rect.Width();
      int height = Rect.Height();
      switch (align) {
        case alTop:
          height = control->Height();
          Rect.Top += height;
          break;
        case alBottom:
          height = control->Height();
          Rect.Bottom -= height;
          top = Rect.Bottom;
          break;
        case alLeft:
          width = control->Width();
          Rect.Left += width;
          break;
        case alRight:
          width = control->Width();
          Rect.Right -= width;
          left = Rect.Right;
          break;
        default:
          break;
      }
      control->SetBounds(left, top, width, height);
      // A control that would not take the size (a combo box's height) keeps its own.
      if (align == alTop) Rect.Top -= height - control->Height();
      if (align == alBottom) Rect.Bottom += height - control->Height();
      if (align == alLeft) Rect.Left -= width - control->Width();
      if (align == alRight) Rect.Right += width - control->Width();
    }
  }
}

void TWinControl::Loaded() {
  inherited::Loaded();
  FixupTabList();
  Realign();
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TControl* control : controls_) {
    if (control->Owner() == Root) Proc(control);
  }
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER:
      CMEnter(Message);
      break;
    case CM_EXIT:
      CMExit(Message);
      break;
    case CN_COMMAND:
      CNCommand(Message);
      break;
    default:
      inherited::Dispatch(Message);
  }
}

// The focus leaves before the widget is disabled or hidden, or Qt would hand it on to the next
// control in the chain.
void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!Enabled()) RemoveFocus();
  inherited::CMEnabledChanged(Message);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!Visible()) RemoveFocus();
  inherited::CMVisibleChanged(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  inherited::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage& Message) {
  inherited::CMShowHintChanged(Message);
  NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMEnter(TMessage&) {
  DoEnter();
}

void TWinControl::CMExit(TMessage&) {
  DoExit();
}

void TWinControl::CNCommand(TMessage&) {}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

bool TWinControl::HandleKeyDown(std::uint16_t Key, TShiftState Shift) {
  KeyDown(Key, Shift);
  return Key == 0;
}

bool TWinControl::HandleKeyPress(char Key) {
  KeyPress(Key);
  return Key == 0;
}

TClass TCustomControl::StaticClass() {
  return DefineClass<TCustomControl>("TCustomControl", [](ClassBuilder<TCustomControl>&) {});
}
