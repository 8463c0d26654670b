#include "toolkit/model/StringList.h"

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"

TClass TStringList::StaticClass() {
  return DefineClass<TStringList>("TStringList", [](ClassBuilder<TStringList>&) {});
}

int TStringList::Add(const std::string& S) {
  int index = GetCount();
  if (sorted_ && Find(S, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  inherited::Insert(index, S);
  return index;
}

void TStringList::Clear() {
  if (GetCount() == 0) return;
  inherited::Clear();
}

void TStringList::Insert(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
  inherited::Insert(Index, S);
}

int TStringList::IndexOf(std::string_view S) const {
  if (!sorted_) return inherited::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
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

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
  inherited::Put(Index, S);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    Changing();
  } else {
    Changed();
  }
}
