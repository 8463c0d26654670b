#include "tests/support/toolkit/BrowseWindowDriver.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

#include "toolkit/forms/WidgetSystem.h"

namespace toolkit_test {

namespace {

QWidget* WindowOf(HWND Window) {
  return FromHandle<QWidget>(Window);
}

template <class Widget>
Widget* Part(HWND Window, const char* name) {
  auto* part = WindowOf(Window)->findChild<Widget*>(QString::fromLatin1(name));
  // A part that is missing is a mistake of the test or the window: nothing can go on.
  if (part == nullptr) {
    std::fprintf(stderr, "The browse window has no part named \"%s\"\n", name);
    std::abort();
  }
  return part;
}

void ClickButton(HWND Window, const char* name) {
  QTest::mouseClick(Part<QPushButton>(Window, name), Qt::LeftButton);
}

void AddNodes(QTreeWidgetItem* node, int depth, std::vector<std::string>& lines) {
  lines.push_back(std::string(2 * depth, ' ') + node->text(0).toStdString());
  for (int i = 0; i < node->childCount(); ++i)
    AddNodes(node->child(i), depth + 1, lines);
}

}  // namespace

void WhenBrowseWindowOpens(std::function<void(HWND Window)> Steps) {
  WhenModalWindowShown("BrowseForFolder", [steps = std::move(Steps)](HWND Window) {
    const QPointer<QWidget> window(WindowOf(Window));
    steps(Window);
    // Steps that stopped halfway (a failed assertion) must not leave the test waiting forever.
    if (window && window->isVisible()) ClickCancel(ToHandle<QWidget>(window.data()));
  });
}

bool SaveBrowseWindowPicture(HWND Window, const std::string& Path) {
  return SaveWindowPicture(Window, Path);
}

bool ClickTreeItem(HWND Window, const std::vector<std::string>& Names) {
  auto* tree = Part<QTreeWidget>(Window, "tree");
  QTreeWidgetItem* node = tree->topLevelItem(0);
  for (const std::string& name : Names) {
    node->setExpanded(true);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < node->childCount() && next == nullptr; ++i) {
      if (node->child(i)->text(0).toStdString() == name) next = node->child(i);
    }
    if (next == nullptr) return false;
    node = next;
  }
  tree->scrollToItem(node);
  const QRect place = tree->visualItemRect(node);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
  return tree->currentItem() == node;
}

void ClickOk(HWND Window) {
  ClickButton(Window, "ok");
}

void ClickCancel(HWND Window) {
  ClickButton(Window, "cancel");
}

std::string WindowCaption(HWND Window) {
  return WindowOf(Window)->windowTitle().toStdString();
}

std::string StatusLine(HWND Window) {
  return Part<QLabel>(Window, "status")->text().toStdString();
}

bool StatusLineShown(HWND Window) {
  return Part<QLabel>(Window, "status")->isVisible();
}

bool OkButtonEnabled(HWND Window) {
  return Part<QPushButton>(Window, "ok")->isEnabled();
}

std::vector<std::string> TreeNodes(HWND Window) {
  std::vector<std::string> lines;
  auto* tree = Part<QTreeWidget>(Window, "tree");
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
    AddNodes(tree->topLevelItem(i), 0, lines);
  return lines;
}

int TreeFontPixels(HWND Window) {
  return QFontInfo(Part<QTreeWidget>(Window, "tree")->font()).pixelSize();
}

}  // namespace toolkit_test
