#include "tests/support/toolkit/TestPresenter.h"

#include "toolkit/Forms.h"

namespace toolkit_test {

int RecordingPresenter::MessageBox(const TMessageBoxRequest& Request) {
  MessageBoxes.push_back(Request);
  if (answers_.empty()) return FirstButtonOf(Request.Flags);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

bool RecordingPresenter::FileDialog(TFileDialogRequest& Request) {
  FileDialogs.push_back(Request);
  if (files_.empty()) return false;
  const std::optional<std::string> file = files_.front();
  files_.pop_front();
  if (!file) return false;
  Request.FileName = *file;
  return true;
}

PresenterScope::PresenterScope() {
  auto presenter = std::make_unique<RecordingPresenter>();
  presenter_ = presenter.get();
  previous_ = Application->SetPresenter(std::move(presenter));
}

PresenterScope::~PresenterScope() {
  Application->SetPresenter(std::move(previous_));
}

}  // namespace toolkit_test
