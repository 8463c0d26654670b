#include "toolkit/ClassBuilder.h"
#include "toolkit/Exceptions.h"
#include "toolkit/StdCtrls.h"

// The edit text stays as it is whatever happens to the list, and the selected
// entry follows its line, as the classic combo box keeps them.

TClass TComboBoxStrings::StaticClass() {
  return DefineClass<TComboBoxStrings>("TComboBoxStrings", [](ClassBuilder<TComboBoxStrings>&) {});
}

void TComboBoxStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit) Error("List index out of bounds", Index);
}

std::string TComboBoxStrings::Get(int Index) const {
  CheckIndex(Index, GetCount() - 1);
  return items_[static_cast<std::size_t>(Index)].S;
}

TObject* TComboBoxStrings::GetObject(int Index) const {
  CheckIndex(Index, GetCount() - 1);
  return items_[static_cast<std::size_t>(Index)].Object;
}

void TComboBoxStrings::Put(int Index, const std::string& S) {
  CheckIndex(Index, GetCount() - 1);
  items_[static_cast<std::size_t>(Index)].S = S;
  comboBox_->ItemsChanged();
}

void TComboBoxStrings::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index, GetCount() - 1);
  items_[static_cast<std::size_t>(Index)].Object = AObject;
}

int TComboBoxStrings::Add(const std::string& S) {
  int index = GetCount();
  if (comboBox_->Sorted()) {
    index = 0;
    while (index < GetCount() && items_[static_cast<std::size_t>(index)].S < S)
      ++index;
  }
  Insert(index, S);
  return index;
}

void TComboBoxStrings::Insert(int Index, const std::string& S) {
  CheckIndex(Index, GetCount());
  items_.insert(items_.begin() + Index, Item{S, nullptr});
  if (comboBox_->itemIndex_ >= Index) ++comboBox_->itemIndex_;
  comboBox_->ItemsChanged();
}

void TComboBoxStrings::Delete(int Index) {
  CheckIndex(Index, GetCount() - 1);
  items_.erase(items_.begin() + Index);
  int& selected = comboBox_->itemIndex_;
  if (selected == Index) {
    selected = -1;
  } else if (selected > Index) {
    --selected;
  }
  comboBox_->ItemsChanged();
}

void TComboBoxStrings::Clear() {
  items_.clear();
  comboBox_->itemIndex_ = -1;
  comboBox_->ItemsChanged();
}

void TComboBoxStrings::SetUpdateState(bool Updating) {
  if (!Updating) comboBox_->ItemsChanged();
}
