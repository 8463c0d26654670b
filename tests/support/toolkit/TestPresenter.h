#pragma once

// A presenter for tests: records every message box and file dialog and answers them
// from queued answers (or with the first button / a cancel), never blocking.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Presenter.h"

namespace toolkit_test {

class RecordingPresenter : public TPresenter {
 public:
  int MessageBox(const TMessageBoxRequest& Request) override;
  bool FileDialog(TFileDialogRequest& Request) override;

  // The answer of the next message box (IDOK, IDNO, ...); without one, its first button.
  void AnswerNextMessageBox(int Answer) { answers_.push_back(Answer); }
  // The next file dialog returns this file; without one, it is cancelled.
  void ChooseNextFile(std::string FileName) { files_.emplace_back(std::move(FileName)); }
  void CancelNextFile() { files_.emplace_back(std::nullopt); }

  std::vector<TMessageBoxRequest> MessageBoxes;
  std::vector<TFileDialogRequest> FileDialogs;

 private:
  std::deque<int> answers_;
  std::deque<std::optional<std::string>> files_;
};

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
