#include "toolkit/StringList.h"

#include <algorithm>

#include "platform/Unicode.h"
#include "toolkit/ClassBuilder.h"

TClass TStringList::StaticClass() {
  return DefineClass<TStringList>("TStringList", [](ClassBuilder<TStringList>&) {});
}

int TStringList::Add(const std::string& S) {
  int index = GetCount();
  if (sorted_ && Find(S, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, S);
  return index;
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, GetCount());
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(Index, GetCount() + 1);
  InsertItem(Index, S);
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, GetCount());
  CheckIndex(Index2, GetCount());
  Changing();
  std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
  Changed();
}

int TStringList::IndexOf(std::string_view S) const {
  if (!sorted_) return inherited::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(std::string_view S, int& Index) const {
  // The first line not below S; with duplicates accepted that is the first of equals.
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), S,
      [](const Item& item, std::string_view s) { return platform::CompareNoCase(item.S, s) < 0; });
  Index = static_cast<int>(it - items_.begin());
  return it != items_.end() && platform::CompareNoCase(it->S, S) == 0;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
    return platform::CompareNoCase(a.S, b.S) < 0;
  });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  if (Value) Sort();
  sorted_ = Value;
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index, GetCount());
  return items_[static_cast<std::size_t>(Index)].S;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index, GetCount());
  return items_[static_cast<std::size_t>(Index)].Object;
}

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(Index, GetCount());
  Changing();
  items_[static_cast<std::size_t>(Index)].S = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index, GetCount());
  Changing();
  items_[static_cast<std::size_t>(Index)].Object = AObject;
  Changed();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    Changing();
  } else {
    Changed();
  }
}

void TStringList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) Error("List index out of bounds", Index);
}

void TStringList::InsertItem(int Index, const std::string& S) {
  Changing();
  items_.insert(items_.begin() + Index, Item{S, nullptr});
  Changed();
}
