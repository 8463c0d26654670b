#pragma once

// TStrings: a list of strings with an object per line. Lists of controls (a combo
// box's items) derive from it; TStringList (StringList.h) is the plain one.
// In a form description a string list is written as its property `Strings`:
//   Items.Strings = (
//     'first'
//     'second')

#include <string>
#include <string_view>

#include "toolkit/model/Persistent.h"
#include "toolkit/model/ScopeGuards.h"

class TReader;
class TWriter;

class TStrings : public TPersistent {
  TOOLKIT_CLASS(TStrings, TPersistent)

  int Count() const { return GetCount(); }
  std::string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  // Every line followed by CR LF.
  std::string Text() const;
  // Split on CR LF, LF or CR; a break at the very end adds no empty line.
  void SetText(std::string_view Value);

  // Lines of the form Name=Value.
  std::string Names(int Index) const;
  int IndexOfName(std::string_view Name) const;
  std::string Values(std::string_view Name) const;
  void SetValues(std::string_view Name, const std::string& Value);  // empty removes the line

  virtual int Add(const std::string& S);
  int AddObject(const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const std::string& S) = 0;
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  // Ignores letter case (Unicode simple case folding, as the system's compare did).
  virtual int IndexOf(std::string_view S) const;
  int IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings* Strings) const;  // same lines in the same order, case-sensitive

  // Nested updates report one change at the end.
  void BeginUpdate();
  void EndUpdate();

  void Assign(TPersistent* Source) override;

 protected:
  virtual std::string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const;
  virtual void Put(int Index, const std::string& S);
  virtual void PutObject(int Index, TObject* AObject);
  virtual void SetUpdateState(bool Updating);
  int UpdateCount() const { return updateCount_; }
  void DefineProperties(TFiler* Filer) override;
  [[noreturn]] void Error(const std::string& Message, int Data) const;

 private:
  // Runs Body between BeginUpdate and EndUpdate, also when it raises.
  template <class F>
  void InUpdate(F&& Body) {
    BeginUpdate();
    const ScopeExit endUpdate([this] { EndUpdate(); });
    Body();
  }
  void ReadData(TReader* Reader);
  void WriteData(TWriter* Writer);

  int updateCount_ = 0;
};
