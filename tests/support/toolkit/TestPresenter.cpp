#include "tests/support/toolkit/TestPresenter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "toolkit/forms/Forms.h"

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

bool RecordingPresenter::BrowseForFolder(TBrowseDialog& Dialog) {
  BrowseDialogs.push_back({Dialog.Title(), Dialog.Flags(), Dialog.Root()});
  BrowseDrive drive{[](TBrowseDialog&) { return false; }, {0, 0, 340, 400}};
  if (!browseScripts_.empty()) {
    drive = std::move(browseScripts_.front());
    browseScripts_.pop_front();
  }
  // The dialog is its own window here: any address that is unique while it is open will do.
  Dialog.Initialize(reinterpret_cast<HWND>(&Dialog), drive.window);
  if (Dialog.Closing()) return false;
  const bool ok = drive.script(Dialog);
  if (Dialog.Closing()) return false;
  if (ok && !Dialog.OkEnabled()) {
    ADD_FAILURE() << "OK pressed while it is disabled";
    return false;
  }
  return ok;
}

bool ClickItem(TBrowseDialog& Dialog, const std::vector<std::string>& Names) {
  std::vector<platform::ShellItem> chain;
  platform::ShellItem node = Dialog.Root();
  for (const std::string& name : Names) {
    platform::Result<std::vector<platform::ShellItem>> children = Dialog.Shell().Children(node);
    if (!children) return false;
    const auto found = std::find_if(children->begin(), children->end(), [&](const auto& child) {
      return platform::ShellNamespace::DisplayName(child) == name;
    });
    if (found == children->end()) return false;
    node = *found;
    chain.push_back(node);
  }
  Dialog.Select(std::move(chain));
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
