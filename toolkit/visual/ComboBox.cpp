#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <limits>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/StdCtrls.h"

// The combo box's widget tells its control when the list opens and closes.
class TComboWidget : public QComboBox {
 public:
  TComboWidget(TCustomComboBox* owner, QWidget* parent) : QComboBox(parent), owner_(owner) {}
  void Detach() { owner_ = nullptr; }
  void HideByProgram() {
    byProgram_ = true;
    hidePopup();
    byProgram_ = false;
  }

  void showPopup() override {
    if (owner_ != nullptr) owner_->Perform(CN_COMMAND, MakeWParam(0, CBN_DROPDOWN));
    QComboBox::showPopup();
    if (QWidget* container = view()->parentWidget(); container != nullptr && !watching_) {
      container->installEventFilter(this);
      view()->installEventFilter(this);
      watching_ = true;
    }
    if (owner_ != nullptr && view()->isVisible()) owner_->PopupShown();
  }

 protected:
  // However the list goes (a pick, Escape, a click elsewhere), it hides its container.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && owner_ != nullptr && watched == view()->parentWidget()) {
      owner_->PopupHidden(byProgram_);
    }
    if (event->type() == QEvent::KeyPress && owner_ != nullptr && watched == view() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && owner_->ListEscapePressed()) {
      return true;
    }
    return QComboBox::eventFilter(watched, event);
  }

 private:
  TCustomComboBox* owner_;
  bool byProgram_ = false;
  bool watching_ = false;
};

TClass TCustomComboBox::StaticClass() {
  return DefineClass<TCustomComboBox>("TCustomComboBox", [](ClassBuilder<TCustomComboBox>&) {});
}

TClass TComboBox::StaticClass() {
  return DefineClass<TComboBox>("TComboBox", [](ClassBuilder<TComboBox>& c) {
    c.Property("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
    PublishControlProperties(c, {"Color", "Cursor"});
    c.Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
    PublishControlProperties(c, {"Enabled", "Font"});
    c.Property("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight);
    c.Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
    PublishControlProperties(c,
                             {"ParentColor", "ParentFont", "ParentShowHint", "Hint", "ShowHint"});
    c.Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
    PublishControlProperties(c, {"TabOrder", "TabStop", "Text", "Visible"});
    c.Property("OnChange", &TComboBox::OnChange);
    PublishControlProperties(c, {"OnClick"});
    c.Property("OnDropDown", &TComboBox::OnDropDown);
    PublishControlProperties(c, {"OnEnter", "OnExit", "OnKeyDown", "OnKeyPress"});
    c.Property("Items", &TComboBox::Items, &TComboBox::SetItems);
  });
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(new TComboBoxStrings(this)) {
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 145, 25);
}

TCustomComboBox::~TCustomComboBox() {
  if (HandleAllocated()) DestroyView();
  delete items_;
}

int TCustomComboBox::ItemHeight() const {
  if ((style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) && itemHeight_ > 0) {
    return itemHeight_;
  }
  const int pixels = Font()->Height() < 0 ? -Font()->Height() : Font()->Height();
  return pixels * 6 / 5;
}

// The height of a drop-down combo box follows from its font, whatever is asked.
void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (style_ != csSimple) AHeight = ItemHeight() + 8;
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::AdjustHeight() {
  SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  AdjustHeight();
}

std::string TCustomComboBox::GetText() const {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    return (box->isEditable() ? box->currentText() : box->currentText()).toStdString();
  }
  return text_;
}

void TCustomComboBox::SetTextValue(const std::string& Value) {
  text_ = Value;
  if (style_ == csDropDownList) itemIndex_ = items_->IndexOf(Value);
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    const QSignalBlocker block(box);
    if (style_ == csDropDownList) {
      box->setCurrentIndex(itemIndex_);
    } else {
      box->setEditText(QString::fromStdString(Value));
    }
  }
}

int TCustomComboBox::ItemIndex() const {
  return itemIndex_;
}

// Selecting the entry already selected changes nothing, as on the classic desktop: the text
// being edited stays, also when a form description restores ItemIndex = -1 after Text.
void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= items_->Count()) Value = -1;
  if (Value == itemIndex_) return;
  itemIndex_ = Value;
  text_ = Value >= 0 ? items_->Strings(Value) : std::string();
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    const QSignalBlocker block(box);
    box->setCurrentIndex(Value);
    if (box->isEditable()) box->setEditText(QString::fromStdString(text_));
  }
}

void TCustomComboBox::ItemsChanged() {
  if (items_->UpdateCount() > 0) return;
  TComboWidget* box = WidgetOf<TComboWidget>(this);
  if (box == nullptr) return;
  const QSignalBlocker block(box);
  const QString text = box->isEditable() ? box->currentText() : QString();
  box->clear();
  for (int i = 0; i < items_->Count(); ++i)
    box->addItem(QString::fromStdString(items_->Strings(i)));
  box->setCurrentIndex(itemIndex_);
  if (box->isEditable()) box->setEditText(text);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value == droppedDown_) return;
  HandleNeeded();
  TComboWidget* box = WidgetOf<TComboWidget>(this);
  if (Value) {
    box->showPopup();
  } else {
    box->HideByProgram();
  }
}

void TCustomComboBox::SetDropDownCount(int Value) {
  dropDownCount_ = Value;
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) box->setMaxVisibleItems(std::max(1, Value));
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  AdjustHeight();
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
  maxLength_ = std::max(0, Value);
  if (TComboWidget* box = WidgetOf<TComboWidget>(this);
      box != nullptr && box->lineEdit() != nullptr) {
    box->lineEdit()->setMaxLength(EditLimit());
  }
}

// No MaxLength means no limit: Qt's default of 32767 would cut a longer text silently, and a
// cut folder text can name another folder than the one typed; whoever uses the text judges it.
int TCustomComboBox::EditLimit() const {
  return maxLength_ > 0 ? maxLength_ : std::numeric_limits<int>::max();
}

int TCustomComboBox::SelStart() const {
  TComboWidget* box = WidgetOf<TComboWidget>(this);
  if (box == nullptr || box->lineEdit() == nullptr) return selStart_;
  const QLineEdit* edit = box->lineEdit();
  return edit->hasSelectedText() ? static_cast<int>(edit->selectionStart())
                                 : edit->cursorPosition();
}

void TCustomComboBox::SetSelStart(int Value) {
  selStart_ = std::max(0, Value);
  selLength_ = 0;
  if (TComboWidget* box = WidgetOf<TComboWidget>(this);
      box != nullptr && box->lineEdit() != nullptr) {
    box->lineEdit()->setCursorPosition(selStart_);
  }
}

int TCustomComboBox::SelLength() const {
  TComboWidget* box = WidgetOf<TComboWidget>(this);
  if (box == nullptr || box->lineEdit() == nullptr) return selLength_;
  return static_cast<int>(box->lineEdit()->selectedText().size());
}

void TCustomComboBox::SetSelLength(int Value) {
  selLength_ = std::max(0, Value);
  if (TComboWidget* box = WidgetOf<TComboWidget>(this);
      box != nullptr && box->lineEdit() != nullptr) {
    const int start = SelStart();
    box->lineEdit()->setSelection(start, selLength_);
  }
}

void TCustomComboBox::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(GetText().size());
  if (TComboWidget* box = WidgetOf<TComboWidget>(this);
      box != nullptr && box->lineEdit() != nullptr) {
    box->lineEdit()->selectAll();
  }
}

HWND TCustomComboBox::CreateWidget(HWND ParentWidget) {
  auto* box = new TComboWidget(this, FromHandle<QWidget>(ParentWidget));
  box->setEditable(style_ != csDropDownList);
  box->setInsertPolicy(QComboBox::NoInsert);
  if (box->isEditable()) {
    box->setCompleter(nullptr);
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [this] { UserEdited(); });
  }
  QObject::connect(box, &QComboBox::activated, box, [this](int index) { UserActivated(index); });
  return ToHandle<QWidget>(box);
}

void TCustomComboBox::WidgetCreated() {
  inherited::WidgetCreated();
  TComboWidget* box = WidgetOf<TComboWidget>(this);
  const QSignalBlocker block(box);
  for (int i = 0; i < items_->Count(); ++i)
    box->addItem(QString::fromStdString(items_->Strings(i)));
  box->setCurrentIndex(itemIndex_);
  box->setMaxVisibleItems(std::max(1, dropDownCount_));
  if (box->isEditable()) {
    box->lineEdit()->setMaxLength(EditLimit());
    box->setEditText(QString::fromStdString(text_));
  }
}

void TCustomComboBox::WidgetDestroying() {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    text_ = GetText();
    box->Detach();
  }
  droppedDown_ = false;
  closeUpPending_ = false;
  inherited::WidgetDestroying();
}

void TCustomComboBox::PopupShown() {
  droppedDown_ = true;
}

// A list the user closed reports CBN_CLOSEUP once Qt has finished with the pick, so
// a confirmed entry (CBN_SELENDOK) is seen while the list still counts as dropped down.
void TCustomComboBox::PopupHidden(bool ByProgram) {
  if (!droppedDown_ || closeUpPending_) return;
  if (ByProgram) {
    FinishCloseUp();
    return;
  }
  closeUpPending_ = true;
  QTimer::singleShot(0, WidgetOf<TComboWidget>(this), [this] {
    if (closeUpPending_) FinishCloseUp();
  });
}

void TCustomComboBox::FinishCloseUp() {
  closeUpPending_ = false;
  droppedDown_ = false;
  Perform(CN_COMMAND, MakeWParam(0, CBN_CLOSEUP));
}

void TCustomComboBox::UserActivated(int Index) {
  if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning)) return;
  const bool changed = Index != itemIndex_ || (Index >= 0 && text_ != items_->Strings(Index));
  itemIndex_ = Index;
  if (Index >= 0) text_ = items_->Strings(Index);
  if (changed) Perform(CN_COMMAND, MakeWParam(0, CBN_SELCHANGE));
  if (droppedDown_) {
    Perform(CN_COMMAND, MakeWParam(0, CBN_SELENDOK));
    if (closeUpPending_) FinishCloseUp();
  }
}

// The edit field keeps the keyboard while the list is open, as on the classic desktop: Escape,
// which closes the list, reaches the box's key handlers first. One that consumes it keeps the
// list open; the form's cancel button never sees it.
bool TCustomComboBox::ListEscapePressed() {
  if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning)) {
    return false;
  }
  return HandleKeyDown(static_cast<std::uint16_t>(VK_ESCAPE), TShiftState()) ||
         HandleKeyPress(VK_ESCAPE);
}

void TCustomComboBox::UserEdited() {
  if (ComponentState().Contains(csDestroying) || ComponentState().Contains(csDesigning)) return;
  text_ = GetText();
  Perform(CN_COMMAND, MakeWParam(0, CBN_EDITCHANGE));
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  inherited::CNCommand(Message);
  switch (HiWord(Message.WParam)) {
    case CBN_SELCHANGE:
      Click();
      Change();
      break;
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      DropDown();
      break;
    default:
      break;
  }
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}
