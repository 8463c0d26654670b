// The combo box's widget: Qt's combo box showing the items, the text and the selection, and
// telling the box when the user picks, edits, or opens and closes the list.

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include "toolkit/qt/QtWidgets.h"
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

std::string TCustomComboBox::GetText() const {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    return (box->isEditable() ? box->currentText() : box->currentText()).toStdString();
  }
  return text_;
}

void TCustomComboBox::ShowText() {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    const QSignalBlocker block(box);
    if (style_ == csDropDownList) {
      box->setCurrentIndex(itemIndex_);
    } else {
      box->setEditText(QString::fromStdString(text_));
    }
  }
}

void TCustomComboBox::ShowItemIndex() {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    const QSignalBlocker block(box);
    box->setCurrentIndex(itemIndex_);
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

void TCustomComboBox::ShowDroppedDown(bool Value) {
  TComboWidget* box = WidgetOf<TComboWidget>(this);
  if (Value) {
    box->showPopup();
  } else {
    box->HideByProgram();
  }
}

void TCustomComboBox::ShowDropDownCount() {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this)) {
    box->setMaxVisibleItems(std::max(1, dropDownCount_));
  }
}

void TCustomComboBox::ShowMaxLength() {
  if (TComboWidget* box = WidgetOf<TComboWidget>(this);
      box != nullptr && box->lineEdit() != nullptr) {
    box->lineEdit()->setMaxLength(EditLimit());
  }
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
