#include "toolkit/forms/WidgetSystem.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "toolkit/forms/Forms.h"
#include "toolkit/qt/QtWidgets.h"
#include "toolkit/visual/Controls.h"

namespace {

// Qt keeps a reference to the argument count for the application's lifetime. The
// platform option counts only when a platform without windows on screen was asked for.
int argumentCount = 1;
char programName[] = "setup";
char platformOption[] = "-platform";
char offscreenPlatform[] = "offscreen";
// The minimal platform without its "enable_fonts" option: no font database at all.
char headlessPlatform[] = "minimal";
char* arguments[] = {programName, platformOption, offscreenPlatform, nullptr};

QApplication* application = nullptr;

// A platform without windows on screen (offscreen or minimal) was asked for.
bool WithoutScreen() {
  return argumentCount == 3;
}

void UsePlatform(char* Name) {
  if (application != nullptr) return;
  argumentCount = 3;
  arguments[2] = Name;
}

// Without a display Qt's offscreen and minimal platforms still tell stderr what they cannot do
// for a window nobody sees (no runtime folder, no raising, no keyboard grab). That is noise to a
// user who runs the program in a script; every other message goes where Qt would send it.
QtMessageHandler qtHandler = nullptr;

void WithoutScreenMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtWarningMsg && (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")) ||
                               text.startsWith(QLatin1String("This plugin does not support")))) {
    return;
  }
  if (qtHandler != nullptr) qtHandler(type, context, text);
}

// Qt keeps files in a private runtime folder and warns on stderr when the session names none, as
// for root in a container. We make the folder Qt would fall back to (the temporary folder's
// "runtime-<user>", ours alone) and name it, so a normal start prints nothing. A folder there that
// is not ours alone is left to Qt, which says so.
void ProvideRuntimeFolder() {
  const char* given = std::getenv("XDG_RUNTIME_DIR");
  if (given != nullptr && *given != '\0') return;
  const uid_t uid = ::geteuid();
  const passwd* user = ::getpwuid(uid);
  const std::string folder = QDir::tempPath().toStdString() + "/runtime-" +
                             (user != nullptr ? std::string(user->pw_name) : std::to_string(uid));
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return;
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
      (st.st_mode & 0777) != 0700) {
    return;
  }
  ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

// The focus moved to another widget: the form tells the controls left and entered.
void FocusChanged(QWidget* now) {
  if (now == nullptr) return;
  auto* control = dynamic_cast<TWinControl*>(FindControl(ToHandle<QWidget>(now)));
  if (control == nullptr || control->ComponentState().Contains(csDestroying)) return;
  if (TCustomForm* form = GetParentForm(control)) form->SetFocusedControl(control);
}

}  // namespace

void TQtWidgetSet::StartWidgetSystem() {
  if (application != nullptr) return;
  if (QApplication::instance() != nullptr) {
    application = qobject_cast<QApplication*>(QApplication::instance());
    if (application == nullptr) throw EInvalidOperation("A Qt application without widgets exists");
  } else {
    if (WithoutScreen()) qtHandler = qInstallMessageHandler(WithoutScreenMessage);
    ProvideRuntimeFolder();
    application = new QApplication(argumentCount, arguments);
    // Qt's default font is the controls' default, so what Qt lays out before a control's font
    // reaches it (the line edit a combo box makes for itself) is measured in the font it shows.
    const TFont controlsFont;
    QApplication::setFont(ToQFont(&controlsFont));
  }
  // The classic look the forms were drawn for.
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) {
    QApplication::setStyle(style);
  }
  QApplication::setQuitOnLastWindowClosed(false);
  // Assistive technology lists the program by its own name.
  QApplication::setApplicationName(QString::fromLocal8Bit(program_invocation_short_name));
  static const bool factoryInstalled = (QAccessible::installFactory(FormWindowAccessible), true);
  (void)factoryInstalled;
  QObject::connect(application, &QApplication::focusChanged,
                   [](QWidget*, QWidget* now) { FocusChanged(now); });
}

void TQtWidgetSet::StopWidgetSystem() {
  if (application == nullptr) return;
  delete application;
  application = nullptr;
}

bool TQtWidgetSet::WidgetSystemRunning() const {
  return application != nullptr;
}

void TQtWidgetSet::ProcessEvents() {
  if (application == nullptr) return;
  QApplication::sendPostedEvents();
  QApplication::processEvents(QEventLoop::AllEvents);
}

void TQtWidgetSet::WaitForEvent() {
  StartWidgetSystem();
  QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TQtWidgetSet::Wake() {
  if (application == nullptr) return;
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
    dispatcher->wakeUp();
  }
}

// Qt's own "-platform" argument, so the choice stays with this process and is not handed
// down to programs it starts.
void TQtWidgetSet::UseOffscreen() {
  UsePlatform(offscreenPlatform);
}

void TQtWidgetSet::UseHeadless() {
  UsePlatform(headlessPlatform);
}

bool TQtWidgetSet::SaveWindowPicture(HWND Window, const std::string& Path) {
  auto* widget = FromHandle<QWidget>(Window);
  ProcessEvents();
  const QPixmap picture = widget->grab();
  return picture.save(QString::fromStdString(Path), "PNG");
}

void TQtWidgetSet::CloseWindow(HWND Window) {
  FromHandle<QWidget>(Window)->close();
}

void TQtWidgetSet::WhenModalWindowShown(const std::string& Name, std::function<void(HWND)> Action) {
  StartWidgetSystem();
  // Polls the event loop until the modal window is up; the window's own loop runs the action.
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout,
                   [timer, name = QString::fromStdString(Name), action = std::move(Action)] {
                     QWidget* modal = QApplication::activeModalWidget();
                     if (modal == nullptr || modal->objectName() != name || !modal->isVisible()) {
                       return;
                     }
                     timer->stop();
                     timer->deleteLater();
                     action(ToHandle<QWidget>(modal));
                   });
  timer->start(0);
}

TWidgetSet& WidgetSet() {
  static TQtWidgetSet widgets;
  return widgets;
}
