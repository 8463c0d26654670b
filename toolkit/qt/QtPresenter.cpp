// The default presenter: Qt's message box and file dialog, modal for the application.
// File dialogs show the host folders behind the Windows paths of the machine; the
// folder-browse dialog shows the machine's shell namespace.

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "platform/Machine.h"
#include "toolkit/forms/Forms.h"
#include "toolkit/forms/Presenter.h"
#include "toolkit/forms/WidgetSystem.h"
#include "toolkit/qt/BrowseDialogWindow.h"
#include "toolkit/qt/QtWidgets.h"

// A form's window owns the dialog it names; the application's own hidden window gives way to the
// active form, else the shown main form: as a dialog's parent it would get a window of its own and
// stay behind as an empty top-level window that assistive technology lists.
QWidget* DialogParentFor(HWND Owner) {
  if (Owner != nullptr && FindControl(Owner) != nullptr) return FromHandle<QWidget>(Owner);
  if (TCustomForm* form = Screen->ActiveForm()) return WidgetOf<QWidget>(form);
  TCustomForm* main = Application->MainForm();
  if (main != nullptr && main->HandleAllocated() && main->Visible()) return WidgetOf<QWidget>(main);
  return FromHandle<QWidget>(Owner != nullptr ? Owner : Application->Handle());
}

namespace {

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}

QWidget* DialogParent() {
  return DialogParentFor(nullptr);
}

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" as Qt's "Text files (*.txt) (*.txt);;...".
QStringList ToQtFilters(const std::string& filter) {
  QStringList parts = ToQ(filter).split(QLatin1Char('|'));
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    result << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return result;
}

std::string HostPath(const std::string& windowsPath) {
  if (windowsPath.empty()) return {};
  auto host = platform::Machine::Current().prefix().ToHostPath(windowsPath);
  return host.ok() ? host.value() : std::string();
}

class TQtPresenter : public TPresenter {
 public:
  int MessageBox(const TMessageBoxRequest& Request) override {
    InitWidgetSystem();
    QMessageBox box(DialogParent());
    box.setWindowTitle(ToQ(Request.Caption));
    box.setText(ToQ(Request.Text));
    switch (Request.Flags & 0xF0) {
      case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
      case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
      case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
      case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
      default:
        break;
    }
    struct Button {
      QMessageBox::StandardButton qt;
      int id;
    };
    std::vector<Button> buttons;
    switch (Request.Flags & 0x0F) {
      case MB_OKCANCEL:
        buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_ABORTRETRYIGNORE:
        buttons = {{QMessageBox::Abort, IDABORT},
                   {QMessageBox::Retry, IDRETRY},
                   {QMessageBox::Ignore, IDIGNORE}};
        break;
      case MB_YESNOCANCEL:
        buttons = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_YESNO:
        buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
      case MB_RETRYCANCEL:
        buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      default:
        buttons = {{QMessageBox::Ok, IDOK}};
    }
    QMessageBox::StandardButtons set;
    for (const Button& button : buttons)
      set |= button.qt;
    box.setStandardButtons(set);
    box.setDefaultButton(buttons.front().qt);
    const int answer = box.exec();
    for (const Button& button : buttons) {
      if (answer == button.qt) return button.id;
    }
    return buttons.size() == 1 ? IDOK : IDCANCEL;
  }

  bool FileDialog(TFileDialogRequest& Request) override {
    InitWidgetSystem();
    QFileDialog dialog(DialogParent(), ToQ(Request.Title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool open = Request.Kind == TFileDialogKind::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open && Request.FileMustExist ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    if (!open && !Request.OverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = ToQtFilters(Request.Filter);
    if (!filters.isEmpty()) {
      dialog.setNameFilters(filters);
      const int index =
          std::clamp(Request.FilterIndex - 1, 0, static_cast<int>(filters.size()) - 1);
      dialog.selectNameFilter(filters[index]);
    }
    if (!Request.DefaultExt.empty()) dialog.setDefaultSuffix(ToQ(Request.DefaultExt));
    const std::string dir = HostPath(Request.InitialDir);
    if (!dir.empty()) dialog.setDirectory(ToQ(dir));
    if (!Request.FileName.empty()) dialog.selectFile(ToQ(Request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const std::string chosen = dialog.selectedFiles().front().toStdString();
    auto windows = platform::Machine::Current().prefix().ToWindowsPath(chosen);
    Request.FileName = windows.ok() ? windows.value() : chosen;
    Request.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
  }

  bool BrowseForFolder(TBrowseDialog& Dialog) override { return ShowBrowseDialogWindow(Dialog); }
};

}  // namespace

std::unique_ptr<TPresenter> TQtWidgetSet::CreatePresenter() {
  return std::make_unique<TQtPresenter>();
}
