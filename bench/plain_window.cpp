// The honest peer of the setup program's start-up: the setup window as a Qt programmer would
// write it by hand, in plain Qt Widgets with nothing of ours. It shows what the setup window
// shows at start on the bench machine (the demo distribution, Delphi 3, 4 and 5 installed,
// English): the same controls with the same texts, fonts, sizes and places, in the same look,
// so that the two pictures are the same. Like setup_shown it shows the window, lets the first
// paint through and ends at once. Qt's platform is the caller's (QT_QPA_PLATFORM).
//
//   plain_window [--picture FILE.png]
//
// --picture saves the window's picture once it is shown, so that a test can hold it beside
// the setup program's own.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The classic dialog look: the Windows style, button-face grey, and the desktop's sans face
// at the classic dialog's 11 pixels.
void UseClassicLook() {
  QApplication::setStyle(QStringLiteral("Windows"));
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  QApplication::setFont(font);
  QPalette palette = QApplication::palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button}) {
    palette.setColor(role, QColor(192, 192, 192));
  }
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText}) {
    palette.setColor(role, Qt::black);
  }
  QApplication::setPalette(palette);
}

template <class Widget>
Widget* Place(Widget* widget, int left, int top, int width, int height) {
  widget->setGeometry(left, top, width, height);
  return widget;
}

QCheckBox* CheckedBox(const char* text, QWidget* parent, int left, int top, int width) {
  auto* box = Place(new QCheckBox(QString::fromUtf8(text), parent), left, top, width, 17);
  box->setChecked(true);
  return box;
}

}  // namespace

int main(int argc, char** argv) {
  const char* picture = nullptr;
  if (argc == 3 && std::strcmp(argv[1], "--picture") == 0) {
    picture = argv[2];
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: plain_window [--picture FILE.png]\n");
    return 2;
  }
  QApplication application(argc, argv);
  UseClassicLook();

  QWidget window(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint);
  window.setWindowTitle(QStringLiteral("Zav Polyverb - Installation"));
  window.setFixedSize(505, 368);

  // Made in the tab order: the buttons first, then the groups from the top.
  QStyle* style = QApplication::style();
  auto* continueButton = Place(new QPushButton(style->standardIcon(QStyle::SP_DialogOkButton),
                                               QStringLiteral("&Continue"), &window),
                               233, 332, 128, 32);
  continueButton->setDefault(true);
  Place(new QPushButton(style->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Close"),
                        &window),
        369, 332, 128, 32);

  auto* mode =
      Place(new QGroupBox(QStringLiteral("Installation/uninstallation"), &window), 8, 8, 217, 73);
  Place(new QRadioButton(QStringLiteral("Install"), mode), 16, 24, 185, 17)->setChecked(true);
  Place(new QRadioButton(QStringLiteral("Uninstall"), mode), 16, 48, 185, 17);

  Place(new QLabel(QStringLiteral("Language:"), &window), 352, 8, 58, 13);
  auto* language = Place(new QComboBox(&window), 352, 24, 145, 21);
  language->addItems({QStringLiteral("English"), QStringLiteral("Deutsch")});

  auto* folderGroup =
      Place(new QGroupBox(QStringLiteral("Installation folder"), &window), 8, 96, 489, 81);
  CheckedBox("Enabled", folderGroup, 16, 24, 113);
  auto* folder = Place(new QComboBox(folderGroup), 16, 50, 429, 21);
  folder->setEditable(true);
  folder->setInsertPolicy(QComboBox::NoInsert);
  folder->setCompleter(nullptr);
  folder->addItems({QStringLiteral("C:\\Programme\\Zav Polyverb"),
                    QStringLiteral("C:\\Zav Polyverb"), QStringLiteral("C:\\Programme\\Polyverb"),
                    QStringLiteral("C:\\Polyverb"), QStringLiteral("C:\\Zav")});
  auto* browse = Place(new QPushButton(QStringLiteral("..."), folderGroup), 449, 49, 24, 24);
  const QString folderHint = QStringLiteral("This folder is used to save all installation files");
  folder->setToolTip(folderHint);
  browse->setToolTip(folderHint);

  auto* locations =
      Place(new QGroupBox(QStringLiteral("Package locations"), &window), 8, 192, 273, 121);
  CheckedBox("C:\\windows (Runtime packages only)", locations, 16, 24, 241);
  CheckedBox("C:\\...\\Borland\\Delphi3\\Bin", locations, 16, 48, 241);
  CheckedBox("C:\\...\\Borland\\Delphi4\\Bin", locations, 16, 72, 241);
  CheckedBox("C:\\...\\Borland\\Delphi5\\Bin", locations, 16, 96, 241);

  auto* registration =
      Place(new QGroupBox(QStringLiteral("Register packages to"), &window), 296, 216, 201, 97);
  CheckedBox("Delphi 3", registration, 16, 24, 169);
  CheckedBox("Delphi 4", registration, 16, 48, 169);
  CheckedBox("Delphi 5", registration, 16, 72, 169);

  continueButton->setFocus();
  window.show();
  QApplication::sendPostedEvents();
  QApplication::processEvents(QEventLoop::AllEvents);
  if (picture != nullptr && !window.grab().save(QString::fromLocal8Bit(picture), "PNG")) {
    std::fprintf(stderr, "plain_window: cannot write %s\n", picture);
    return 1;
  }
  // Ended here, not by unwinding: the span measured is the start-up, as for setup_shown.
  std::_Exit(window.isVisible() ? 0 : 1);
}
