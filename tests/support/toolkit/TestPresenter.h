#pragma once

// A presenter for tests: records every message box, file dialog and folder-browse dialog and
// answers them from queued answers (or with the first button / a cancel), never blocking.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ShellNamespace.h"
#include "toolkit/forms/BrowseDialog.h"
#include "toolkit/forms/Presenter.h"

namespace toolkit_test {

class RecordingPresenter : public TPresenter {
 public:
  int MessageBox(const TMessageBoxRequest& Request) override;
  bool FileDialog(TFileDialogRequest& Request) override;
  bool BrowseForFolder(TBrowseDialog& Dialog) override;

  // The answer of the next message box (IDOK, IDNO, ...); without one, its first button.
  void AnswerNextMessageBox(int Answer) { answers_.push_back(Answer); }
  // The next file dialog returns this file; without one, it is cancelled.
  void ChooseNextFile(std::string FileName) { files_.emplace_back(std::move(FileName)); }
  void CancelNextFile() { files_.emplace_back(std::nullopt); }

  // The next folder-browse dialog opens with this window frame and is driven by Script from
  // inside its modal loop, as a user would: select items (ClickItem), read the caption, the
  // status line and OK. Script returns true to press OK, false to press Cancel; pressing a
  // disabled OK fails the test. Without a script a dialog opens and is cancelled.
  using BrowseScript = std::function<bool(TBrowseDialog& Dialog)>;
  void DriveNextBrowseDialog(BrowseScript Script, TRect Window = {0, 0, 340, 400}) {
    browseScripts_.push_back({std::move(Script), Window});
  }

  struct BrowseRecord {
    std::string Title;
    std::uint32_t Flags = 0;
    platform::ShellItem Root;
  };

  std::vector<TMessageBoxRequest> MessageBoxes;
  std::vector<TFileDialogRequest> FileDialogs;
  std::vector<BrowseRecord> BrowseDialogs;

 private:
  struct BrowseDrive {
    BrowseScript script;
    TRect window;
  };
  std::deque<int> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<BrowseDrive> browseScripts_;
};

// Selects an item of an open browse dialog as a user clicks through its tree: Names are the
// display names from the root's children down ("My Computer", "Local Disk (C:)", "windows");
// no names select the root. False when a name is not in the tree.
bool ClickItem(TBrowseDialog& Dialog, const std::vector<std::string>& Names);

// Puts a recording presenter in place for its lifetime, then the previous one back.
class PresenterScope {
 public:
  PresenterScope();
  ~PresenterScope();
  PresenterScope(const PresenterScope&) = delete;
  PresenterScope& operator=(const PresenterScope&) = delete;

  RecordingPresenter& operator*() const { return *presenter_; }
  RecordingPresenter* operator->() const { return presenter_; }

 private:
  RecordingPresenter* presenter_;
  std::unique_ptr<TPresenter> previous_;
};

}  // namespace toolkit_test
