#pragma once

// The application's presenter: everything modal the user is asked goes through it,
// message boxes and file dialogs. By default it shows real Qt dialogs; a program
// without a display uses the console presenter; tests put in one that records and answers.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "toolkit/Messages.h"

struct TMessageBoxRequest {
  std::string Text;
  std::string Caption;
  std::int32_t Flags = MB_OK;  // buttons and icon, as MB_OKCANCEL | MB_ICONERROR
};

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
};

// Real Qt dialogs, modal for the application.
std::unique_ptr<TPresenter> CreateQtPresenter();

// Prints each message box to Out and answers it with its first button at once;
// file dialogs are cancelled.
class TConsolePresenter : public TPresenter {
 public:
  explicit TConsolePresenter(std::ostream& Out) : out_(Out) {}
  int MessageBox(const TMessageBoxRequest& Request) override;
  bool FileDialog(TFileDialogRequest& Request) override;

 private:
  std::ostream& out_;
};

// The first button of a message box's button set, the answer of an immediate OK.
int FirstButtonOf(std::int32_t Flags);
