#pragma once

// TStringList: the plain string list, optionally sorted, with change events.
// The objects attached to lines are not owned by the list.

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/Strings.h"

TOOLKIT_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStringList : public TStrings {
  TOOLKIT_CLASS(TStringList, TStrings)

  TStringList() = default;

  int Add(const std::string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(std::string_view S) const override;

  // In a sorted list: true when S is there; Index is its place or where it would go.
  bool Find(std::string_view S, int& Index) const;
  virtual void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  std::string Get(int Index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;

 private:
  struct Item {
    std::string S;
    TObject* Object = nullptr;
  };

  void CheckIndex(int Index, int Limit) const;
  void InsertItem(int Index, const std::string& S);

  std::vector<Item> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
