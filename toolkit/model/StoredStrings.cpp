#include "toolkit/model/StoredStrings.h"

#include <algorithm>

#include "platform/Unicode.h"

namespace {

bool LessNoCase(std::string_view A, std::string_view B) {
  return platform::CompareNoCase(A, B) < 0;
}

}  // namespace

void TStoredStrings::Clear() {
  LinesChanging();
  items_.clear();
  LinesChanged(TLinesChange::Cleared, -1);
}

void TStoredStrings::Delete(int Index) {
  CheckIndex(Index);
  LinesChanging();
  items_.erase(items_.begin() + Index);
  LinesChanged(TLinesChange::Deleted, Index);
}

void TStoredStrings::Insert(int Index, const std::string& S) {
  if (Index != GetCount()) CheckIndex(Index);  // the end is a place, not a line
  LinesChanging();
  items_.insert(items_.begin() + Index, Item{S, nullptr});
  LinesChanged(TLinesChange::Inserted, Index);
}

void TStoredStrings::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  LinesChanging();
  std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
  LinesChanged(TLinesChange::Exchanged, Index1);
}

std::string TStoredStrings::Get(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<std::size_t>(Index)].S;
}

TObject* TStoredStrings::GetObject(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<std::size_t>(Index)].Object;
}

void TStoredStrings::Put(int Index, const std::string& S) {
  CheckIndex(Index);
  LinesChanging();
  items_[static_cast<std::size_t>(Index)].S = S;
  LinesChanged(TLinesChange::Replaced, Index);
}

void TStoredStrings::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  LinesChanging();
  items_[static_cast<std::size_t>(Index)].Object = AObject;
  LinesChanged(TLinesChange::ObjectSet, Index);
}

bool TStoredStrings::FindSorted(std::string_view S, int& Index) const {
  // The first line not below S; with duplicates that is the first of the equal ones.
  const auto it =
      std::lower_bound(items_.begin(), items_.end(), S,
                       [](const Item& item, std::string_view s) { return LessNoCase(item.S, s); });
  Index = static_cast<int>(it - items_.begin());
  return it != items_.end() && platform::EqualNoCase(it->S, S);
}

void TStoredStrings::SortLines() {
  LinesChanging();
  std::stable_sort(items_.begin(), items_.end(),
                   [](const Item& a, const Item& b) { return LessNoCase(a.S, b.S); });
  LinesChanged(TLinesChange::Sorted, -1);
}

void TStoredStrings::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds", Index);
}
