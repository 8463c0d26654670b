#pragma once

// TStringList: the plain string list, optionally sorted, with change events.
// The objects attached to lines are not owned by the list.

#include <string>
#include <string_view>

#include "toolkit/model/Events.h"
#include "toolkit/model/StoredStrings.h"

TOOLKIT_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStringList : public TStoredStrings {
  TOOLKIT_CLASS(TStringList, TStoredStrings)

  TStringList() = default;

  int Add(const std::string& S) override;
  void Clear() override;
  void Insert(int Index, const std::string& S) override;
  int IndexOf(std::string_view S) const override;

  // In a sorted list: true when S is there; Index is its place or where it would go.
  bool Find(std::string_view S, int& Index) const { return FindSorted(S, Index); }
  virtual void Sort() { SortLines(); }

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void Put(int Index, const std::string& S) override;
  void SetUpdateState(bool Updating) override;
  void LinesChanging() override { Changing(); }
  void LinesChanged(TLinesChange, int) override { Changed(); }

 private:
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
