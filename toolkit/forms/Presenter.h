#pragma once

// The application's presenter: everything modal the user is asked goes through it,
// message boxes, file dialogs and folder-browse dialogs. By default it shows real Qt dialogs; a
// program without a display uses the console presenter; tests put in one that records and answers.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "toolkit/visual/Messages.h"

struct TMessageBoxRequest {
  std::string Text;
  std::string Caption;
  std::int32_t Flags = MB_OK;  // buttons and icon, as MB_OKCANCEL | MB_ICONERROR
};

class TBrowseDialog;

enum class TFileDialogKind { Open, Save };

// Paths are Windows paths of the machine the program works on.
struct TFileDialogRequest {
  TFileDialogKind Kind = TFileDialogKind::Open;
  std::string Title;
  std::string InitialDir;
  std::string FileName;  // in: preset; out: the chosen file
  std::string Filter;    // "description|pattern|description|pattern"
  int FilterIndex = 1;   // 1-based, in and out
  std::string DefaultExt;
  bool FileMustExist = false;
  bool OverwritePrompt = false;
};

class TPresenter {
 public:
  TPresenter() = default;
  TPresenter(const TPresenter&) = delete;
  TPresenter& operator=(const TPresenter&) = delete;
  virtual ~TPresenter() = default;

  // The answer: IDOK, IDCANCEL, IDYES, ...
  virtual int MessageBox(const TMessageBoxRequest& Request) = 0;
  // True when the user chose a file; Request.FileName then holds it.
  virtual bool FileDialog(TFileDialogRequest& Request) = 0;
  // Shows a folder-browse dialog (toolkit/forms/BrowseDialog.h): calls Dialog.Initialize once its
  // window exists and Dialog.Select as the user picks items, and ends when the user presses OK
  // (true, only while Dialog.OkEnabled()) or Cancel (false), or when Dialog.Closing() (false).
  virtual bool BrowseForFolder(TBrowseDialog& Dialog) = 0;
};

// The widget system's own: real Qt dialogs, modal for the application; in a program built
// without widgets, the console presenter on standard error.
std::unique_ptr<TPresenter> CreateDefaultPresenter();

// Prints each message box to Out and answers it with its first button at once;
// file dialogs and folder-browse dialogs are cancelled (nobody is there to choose), the
// browse dialog before its window exists, so its callback hears nothing.
class TConsolePresenter : public TPresenter {
 public:
  explicit TConsolePresenter(std::ostream& Out) : out_(Out) {}
  int MessageBox(const TMessageBoxRequest& Request) override;
  bool FileDialog(TFileDialogRequest& Request) override;
  bool BrowseForFolder(TBrowseDialog& Dialog) override;

 private:
  std::ostream& out_;
};

// The first button of a message box's button set, the answer of an immediate OK.
int FirstButtonOf(std::int32_t Flags);
