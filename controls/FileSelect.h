#pragma once

// TFileSelect: the history combo box specialised for paths. Its value is a folder or a file
// name; its button opens a dialog to pick one (the folder-browse dialog, or the toolkit's
// open or save dialog, by Mode), and an empty value is refused unless OnValidate accepts it.
//
// FileName is the committed value, not the text still being edited: callers that want what
// the user typed call ApplyText first. The control does not check that the folder or file
// exists; its callers do.

#include <string>

#include "controls/MRUComboBox.h"

TOOLKIT_ENUM(TFileSelectMode, mDirectory, mFileOpen, mFileSave)

class TFileSelect : public TCustomMRUComboBox {
  TOOLKIT_CLASS(TFileSelect, TCustomMRUComboBox)

  explicit TFileSelect(TComponent* AOwner);
  ~TFileSelect() override;

  // "description|pattern" pairs for the file dialogs.
  std::string FileFilter = "All files (*.*)|*.*";
  TFileSelectMode Mode = mDirectory;

  const std::string& FileName() const { return CommittedText(); }
  // Puts Value into the field and commits it, unless it is the committed value already.
  void SetFileName(const std::string& Value) { SetCurrentText(Value); }

 protected:
  void Validate(std::string& Text, bool& Valid) override;
  void ButtonClick() override;

 private:
  void BrowseForFolder();
  template <class Dialog>
  void ChooseFile();
};
