#pragma once

// TFolderField: the installation-folder field of the setup window, an editable combo box
// that offers the folders used before (its History) and holds the committed folder
// (FileName). The form and the runs use only FileName, ApplyText, Enabled and the hint
// it shows itself.
//
// History is the text form of the list: every entry followed by ";", newest first
// ("C:\Zav;C:\Tools;"). At the end of loading the newest entry is committed, so the
// field starts on it.

#include <string>

#include "toolkit/StdCtrls.h"

class TFolderField : public TComboBox {
  TOOLKIT_CLASS(TFolderField, TComboBox)

  explicit TFolderField(TComponent* AOwner);

  // The folder last committed: the newest history entry at start, then whatever
  // ApplyText accepted.
  const std::string& FileName() const { return fileName_; }

  std::string History() const;
  void SetHistory(const std::string& Value);
  int HistoryListCount() const { return historyListCount_; }
  void SetHistoryListCount(int Value);

  // Closes an open list and commits the text being edited: a text that is empty after
  // trimming is refused (false, FileName unchanged); otherwise it becomes FileName and the
  // newest history entry (an entry equal to it, ignoring the case of A-Z, gives way).
  bool ApplyText();

 protected:
  void Loaded() override;

 private:
  void Commit(const std::string& Folder);
  void TrimHistory();

  std::string fileName_;
  int historyListCount_ = 8;
};
