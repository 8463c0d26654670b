// The folder-browse dialog's window: the title above a tree of the shell namespace, the status
// line when the flags ask for one, OK and Cancel. The tree reads a node's children when it is
// first expanded, so that a large drive costs nothing until the user opens it.

#include "toolkit/qt/BrowseDialogWindow.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "platform/WinPath.h"
#include "toolkit/forms/BrowseDialog.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/QtWidgets.h"

using platform::ShellItem;
using platform::ShellItemKind;

namespace {

constexpr int kItemRole = Qt::UserRole;        // the node's index into the window's items
constexpr int kLoadedRole = Qt::UserRole + 1;  // the node's children have been read

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}

QIcon IconOf(const ShellItem& item) {
  QStyle* style = QApplication::style();
  switch (item.kind) {
    case ShellItemKind::Desktop:
      return style->standardIcon(QStyle::SP_DesktopIcon);
    case ShellItemKind::MyDocuments:
      return style->standardIcon(QStyle::SP_DirHomeIcon);
    case ShellItemKind::MyComputer:
      return style->standardIcon(QStyle::SP_ComputerIcon);
    case ShellItemKind::ControlPanel:
      return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    case ShellItemKind::Printers:
      return style->standardIcon(QStyle::SP_FileDialogInfoView);
    case ShellItemKind::Network:
      return style->standardIcon(QStyle::SP_DriveNetIcon);
    case ShellItemKind::RecycleBin:
      return style->standardIcon(QStyle::SP_TrashIcon);
    case ShellItemKind::Folder:
      break;
  }
  return style->standardIcon(platform::IsDriveRoot(item.path) ? QStyle::SP_DriveHDIcon
                                                              : QStyle::SP_DirIcon);
}

class TBrowseWindow : public QDialog {
 public:
  TBrowseWindow(TBrowseDialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
    setWindowTitle(ToQ(dialog.Caption()));
    setObjectName(QStringLiteral("BrowseForFolder"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(ToQ(dialog.Title()), this);
    title->setObjectName(QStringLiteral("title"));
    title->setWordWrap(true);
    title->setVisible(!dialog.Title().empty());
    layout->addWidget(title);
    status_ = new QLabel(ToQ(dialog.StatusText()), this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setVisible(dialog.HasStatusLine());
    layout->addWidget(status_);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    // A screen reader reads the tree by the dialog's prompt (else its caption), also as the
    // hidden header's one column, which would otherwise read "1".
    const QString treeName = ToQ(dialog.Title().empty() ? dialog.Caption() : dialog.Title());
    tree_->setAccessibleName(treeName);
    tree_->setHeaderLabels({treeName});
    title->setBuddy(tree_);
    layout->addWidget(tree_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(340, 400);

    QTreeWidgetItem* root = AddNode(nullptr, dialog.Root());
    Load(root);
    root->setExpanded(true);
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { Load(node); });
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { CurrentChanged(current); });
    connect(ok_, &QPushButton::clicked, this, [this] {
      if (dialog_.OkEnabled()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    dialog_.OnChange = [this](TBrowseChange what) { Changed(what); };
  }
  ~TBrowseWindow() override { dialog_.OnChange = nullptr; }
  TBrowseWindow(const TBrowseWindow&) = delete;
  TBrowseWindow& operator=(const TBrowseWindow&) = delete;

  TRect FrameRect() const {
    const QRect frame = frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
  }

 protected:
  void moveEvent(QMoveEvent* event) override {
    QDialog::moveEvent(event);
    dialog_.WindowMoved(FrameRect());
  }
  void resizeEvent(QResizeEvent* event) override {
    QDialog::resizeEvent(event);
    dialog_.WindowMoved(FrameRect());
  }
  // The frame's size is known only once the window is shown: bounds given before are given
  // again, now that the frame can be taken off.
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    if (pendingBounds_) ApplyBounds(*pendingBounds_);
    pendingBounds_.reset();
  }

 private:
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const ShellItem& item) {
    auto* node = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    node->setText(0, ToQ(platform::ShellNamespace::DisplayName(item)));
    node->setIcon(0, IconOf(item));
    node->setData(0, kItemRole, QVariant::fromValue(static_cast<qulonglong>(items_.size())));
    node->setChildIndicatorPolicy(dialog_.Shell().HasChildren(item)
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    items_.push_back(item);
    return node;
  }

  const ShellItem& ItemOf(const QTreeWidgetItem* node) const {
    return items_.at(node->data(0, kItemRole).toULongLong());
  }

  void Load(QTreeWidgetItem* node) {
    if (node->data(0, kLoadedRole).toBool()) return;
    node->setData(0, kLoadedRole, true);
    // A folder that cannot be read shows no children, as the shell shows it.
    platform::Result<std::vector<ShellItem>> children = dialog_.Shell().Children(ItemOf(node));
    if (children) {
      for (const ShellItem& child : *children)
        AddNode(node, child);
    }
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  }

  // The user moved the selection: the dialog hears the items from the root down to it.
  void CurrentChanged(QTreeWidgetItem* current) {
    if (current == nullptr) return;
    std::vector<ShellItem> chain;
    for (QTreeWidgetItem* node = current; node->parent() != nullptr; node = node->parent())
      chain.push_back(ItemOf(node));
    std::reverse(chain.begin(), chain.end());
    dialog_.Select(std::move(chain));
  }

  // The dialog's selection, opened down to it in the tree.
  void ShowSelection() {
    QTreeWidgetItem* node = tree_->topLevelItem(0);
    for (const ShellItem& step : dialog_.SelectionChain()) {
      Load(node);
      QTreeWidgetItem* next = nullptr;
      for (int i = 0; i < node->childCount() && next == nullptr; ++i) {
        if (ItemOf(node->child(i)) == step) next = node->child(i);
      }
      if (next == nullptr) return;
      node->setExpanded(true);
      node = next;
    }
    tree_->setCurrentItem(node);
    tree_->scrollToItem(node);
  }

  // The frame at Bounds: the window's own area is the frame less its borders and caption.
  void ApplyBounds(TRect bounds) {
    if (!isVisible()) pendingBounds_ = bounds;
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    move(bounds.Left, bounds.Top);
    resize(std::max(0, bounds.Width() - (frame.width() - inner.width())),
           std::max(0, bounds.Height() - (frame.height() - inner.height())));
  }

  void Changed(TBrowseChange what) {
    switch (what) {
      case TBrowseChange::Caption:
        setWindowTitle(ToQ(dialog_.Caption()));
        break;
      case TBrowseChange::Status:
        status_->setText(ToQ(dialog_.StatusText()));
        break;
      case TBrowseChange::OkEnabled:
        ok_->setEnabled(dialog_.OkEnabled());
        break;
      case TBrowseChange::Selection:
        ShowSelection();
        break;
      case TBrowseChange::Bounds:
        ApplyBounds(dialog_.WindowRect());
        break;
      case TBrowseChange::Close:
        reject();
        break;
    }
  }

  TBrowseDialog& dialog_;
  QLabel* status_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::vector<ShellItem> items_;
  std::optional<TRect> pendingBounds_;
};

}  // namespace

bool ShowBrowseDialogWindow(TBrowseDialog& Dialog) {
  InitWidgetSystem();
  TBrowseWindow window(Dialog, DialogParentFor(Dialog.Owner()));
  Dialog.Initialize(ToHandle<QWidget>(&window), window.FrameRect());
  if (Dialog.Closing()) return false;
  const bool accepted = window.exec() == QDialog::Accepted;
  return accepted && !Dialog.Closing() && Dialog.OkEnabled();
}
