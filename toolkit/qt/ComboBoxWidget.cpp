// The combo box's widget: Qt's combo box showing the items, the text and the selection, and
// telling the box when the user picks, edits, or opens and closes the list.

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/StdCtrls.h"

namespace {

// The combo box's widget tells its control when the list opens and closes.
class TComboWidget : public QComboBox, public TReportingWidget {
 public:
  TComboWidget(TCustomComboBox* owner, QWidget* parent) : QComboBox(parent), owner_(owner) {}
  void Detach() override { owner_ = nullptr; }
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

void ShowItems(QComboBox* box, const TCustomComboBox& Box) {
  for (int i = 0; i < Box.Items()->Count(); ++i)
    box->addItem(QString::fromStdString(Box.Items()->Strings(i)));
  box->setCurrentIndex(Box.ItemIndex());
}

}  // namespace

HWND TQtWidgetSet::CreateComboBox(TCustomComboBox& Box, HWND Parent) {
  auto* box = new TComboWidget(&Box, ParentWidget(Parent));
  box->setEditable(Box.Style() != csDropDownList);
  box->setInsertPolicy(QComboBox::NoInsert);
  if (box->isEditable()) {
    box->setCompleter(nullptr);
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [&Box] { Box.UserEdited(); });
  }
  QObject::connect(box, &QComboBox::activated, box,
                   [&Box](int index) { Box.UserActivated(index); });
  const QSignalBlocker block(box);
  ShowItems(box, Box);
  box->setMaxVisibleItems(std::max(1, Box.DropDownCount()));
  if (box->isEditable()) {
    box->lineEdit()->setMaxLength(Box.EditLimit());
    box->setEditText(QString::fromStdString(Box.StoredText()));
  }
  return Adopt(Box, box);
}

std::optional<std::string> TQtWidgetSet::ComboBoxText(const TCustomComboBox& Box) {
  return WidgetOf<QComboBox>(&Box)->currentText().toStdString();
}

void TQtWidgetSet::ShowComboBoxText(TCustomComboBox& Box) {
  auto* box = WidgetOf<QComboBox>(&Box);
  const QSignalBlocker block(box);
  if (Box.Style() == csDropDownList) {
    box->setCurrentIndex(Box.ItemIndex());
  } else {
    box->setEditText(QString::fromStdString(Box.StoredText()));
  }
}

void TQtWidgetSet::ShowComboBoxItemIndex(TCustomComboBox& Box) {
  auto* box = WidgetOf<QComboBox>(&Box);
  const QSignalBlocker block(box);
  box->setCurrentIndex(Box.ItemIndex());
  if (box->isEditable()) box->setEditText(QString::fromStdString(Box.StoredText()));
}

// The text being edited stays while the list changes under it.
void TQtWidgetSet::ShowComboBoxItems(TCustomComboBox& Box) {
  auto* box = WidgetOf<QComboBox>(&Box);
  const QSignalBlocker block(box);
  const QString text = box->isEditable() ? box->currentText() : QString();
  box->clear();
  ShowItems(box, Box);
  if (box->isEditable()) box->setEditText(text);
}

void TQtWidgetSet::ShowComboBoxDroppedDown(TCustomComboBox& Box, bool DroppedDown) {
  auto* box = WidgetOf<TComboWidget>(&Box);
  if (DroppedDown) {
    box->showPopup();
  } else {
    box->HideByProgram();
  }
}

void TQtWidgetSet::ShowComboBoxDropDownCount(TCustomComboBox& Box) {
  WidgetOf<QComboBox>(&Box)->setMaxVisibleItems(std::max(1, Box.DropDownCount()));
}

void TQtWidgetSet::ShowComboBoxMaxLength(TCustomComboBox& Box) {
  if (QLineEdit* edit = WidgetOf<QComboBox>(&Box)->lineEdit()) edit->setMaxLength(Box.EditLimit());
}

std::optional<TTextSelection> TQtWidgetSet::ComboBoxSelection(const TCustomComboBox& Box) {
  const QLineEdit* edit = WidgetOf<QComboBox>(&Box)->lineEdit();
  if (edit == nullptr) return std::nullopt;
  const int start =
      edit->hasSelectedText() ? static_cast<int>(edit->selectionStart()) : edit->cursorPosition();
  return TTextSelection{start, static_cast<int>(edit->selectedText().size())};
}

void TQtWidgetSet::ShowComboBoxSelection(TCustomComboBox& Box, TTextSelection Selection) {
  QLineEdit* edit = WidgetOf<QComboBox>(&Box)->lineEdit();
  if (edit == nullptr) return;
  if (Selection.Length == 0) {
    edit->setCursorPosition(Selection.Start);
  } else {
    edit->setSelection(Selection.Start, Selection.Length);
  }
}

void TQtWidgetSet::SelectAllComboBoxText(TCustomComboBox& Box) {
  if (QLineEdit* edit = WidgetOf<QComboBox>(&Box)->lineEdit()) edit->selectAll();
}
