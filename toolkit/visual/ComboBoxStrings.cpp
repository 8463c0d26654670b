#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/StdCtrls.h"

// The edit text stays as it is whatever happens to the list, and the selected
// entry follows its line, as the classic combo box keeps them.

TClass TComboBoxStrings::StaticClass() {
  return DefineClass<TComboBoxStrings>("TComboBoxStrings", [](ClassBuilder<TComboBoxStrings>&) {});
}

int TComboBoxStrings::Add(const std::string& S) {
  int index = GetCount();
  // Its place in the order: before any equal lines, as in a sorted TStringList that
  // accepts duplicates.
  if (comboBox_->Sorted()) FindSorted(S, index);
  Insert(index, S);
  return index;
}

void TComboBoxStrings::LinesChanged(TLinesChange Change, int Index) {
  int& selected = comboBox_->itemIndex_;
  switch (Change) {
    case TLinesChange::Inserted:
      if (selected >= Index) ++selected;
      break;
    case TLinesChange::Deleted:
      if (selected == Index) {
        selected = -1;
      } else if (selected > Index) {
        --selected;
      }
      break;
    case TLinesChange::Cleared:
      selected = -1;
      break;
    case TLinesChange::ObjectSet:
      return;  // the list shows no objects
    default:
      break;
  }
  comboBox_->ItemsChanged();
}

void TComboBoxStrings::SetUpdateState(bool Updating) {
  if (!Updating) comboBox_->ItemsChanged();
}
