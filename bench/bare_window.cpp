// The peer of the setup program's start-up: the least a Qt Widgets program does to show a
// window. It makes the application, shows one empty window, lets the first paint through
// and ends at once, as setup_shown does with the setup window, so that the two processes
// measure the same span. Qt's platform is the caller's (QT_QPA_PLATFORM).
//
//   bare_window [--text]
//
// --text puts one line of text into the window: what drawing any text costs on its own
// (Qt then loads the fonts), which an empty window never pays.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    (new QLabel(QStringLiteral("Zav Polyverb - Installation"), &window))->move(8, 8);
  }
  window.show();
  QApplication::sendPostedEvents();
  QApplication::processEvents(QEventLoop::AllEvents);
  // Ended here, not by unwinding: the span measured is the start-up, not the clean-up.
  std::_Exit(window.isVisible() ? 0 : 1);
}
