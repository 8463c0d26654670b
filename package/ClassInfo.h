#pragma once

// TClassInfo: walks the published properties of one object by index, the way a configuration
// component persists a whole settings object: select a property, ask whether it is stored and
// how it can be reached, read or set its value as text.
//
//   TClassInfo info(Settings);
//   for (int i = 0; i < info.Count(); ++i)
//     if (info.Select(i) && info.IsStored()) Write(info.Name(), VarToStr(info.GetValue()));

#include <cstdint>
#include <memory>
#include <string>

#include "package/PropertyEntry.h"
#include "toolkit/model/Object.h"

class TClassInfo : public TObject {
  TOOLKIT_CLASS(TClassInfo, TObject)

  explicit TClassInfo(TObject* Instance);
  ~TClassInfo() override;

  TObject* Instance() const { return instance_; }
  // Published properties, the base class's first.
  int Count() const;

  // Makes property Index the selected one. False (and nothing selected) for an index out of
  // range and for a property without a text form: handlers and objects that are not
  // component references.
  bool Select(int Index);

  // The selected property; asking without one raises EPropertyError.
  std::string Name() const;
  std::string TypDef() const;
  bool IsStored() const;
  // The property's index specifier; PropNoIndex when it has none.
  std::int32_t PropIndex() const;
  bool HasRead() const;
  bool HasWrite() const;
  Variant GetValue() const;
  void SetValue(const Variant& Value);

 private:
  const TPropertyEntry& Selected() const;

  TObject* instance_;
  std::unique_ptr<TPropertyEntry> selected_;
};
