#pragma once

// TStoredStrings: strings that keep their own lines, with an object each. TStringList, a
// combo box's items and a rich edit's lines derive from it, so that they share one storage
// and one rule, and each says only what a change of its lines sets off (LinesChanging,
// LinesChanged).
//
// The rule is the classic toolkit's: an index names a line (0 to Count - 1), and Insert may
// also name the end (Count); any other index raises EStringListError before anything
// changes. Lists in sorted order compare ignoring letter case. Appending a line costs the
// same however long the list is.

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/model/Strings.h"

enum class TLinesChange { Inserted, Deleted, Replaced, ObjectSet, Exchanged, Sorted, Cleared };

class TStoredStrings : public TStrings {
 public:
  // A layer of implementation, not a class of its own: to run-time type information the
  // lists that derive from it descend from TStrings directly, as in the classic toolkit.
  using inherited = TStrings;
  static TClass StaticClass() { return TStrings::StaticClass(); }

  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  void Exchange(int Index1, int Index2) override;

 protected:
  TStoredStrings() = default;

  std::string Get(int Index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;

  // For a list in sorted order: true when a line equals S, ignoring case. Index is then the
  // first such line, else the place where S would go.
  bool FindSorted(std::string_view S, int& Index) const;
  // Sorts ignoring case; lines that compare equal keep their order.
  void SortLines();

  // Called before and after every change. Index is the line changed (an inserted one where
  // it stands now; the first one for Exchanged), -1 for a change of the whole list.
  virtual void LinesChanging() {}
  virtual void LinesChanged(TLinesChange Change, int Index) = 0;

 private:
  struct Item {
    std::string S;
    TObject* Object = nullptr;
  };

  void CheckIndex(int Index) const;

  std::vector<Item> items_;
};
