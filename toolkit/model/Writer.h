#pragma once

// TWriter: writes a component, its published properties and the components nested
// in it as a form description.
//
// Properties come in metadata order, then those DefineProperties adds. A property
// is left out when it has no read or write access, is not stored, or equals its
// declared default; without a declared default a string is left out when empty, a
// float when 0, a reference when unassigned, and an ordinal is always written.
//
// The value functions (WriteString, WriteListBegin, ...) are for the write
// procedures of DefineProperty; together they write exactly one value.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/model/Filer.h"
#include "toolkit/model/FormText.h"
#include "toolkit/model/Object.h"
#include "toolkit/model/Variant.h"

class TCollection;
class TComponent;
class TPersistent;

class TWriter : public TFiler {
 public:
  TWriter() = default;

  TTextObject WriteRootComponent(TComponent* Root);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TBinaryReadProc ReadData,
                            TBinaryWriteProc WriteData, bool HasData) override;

  void WriteListBegin();
  void WriteListEnd();
  void WriteBoolean(bool Value);
  void WriteChar(char Value);
  void WriteInteger(std::int64_t Value);
  void WriteFloat(double Value);
  void WriteString(const std::string& Value);
  void WriteIdent(const std::string& Ident);
  void WriteVariant(const Variant& Value);
  // The collection start, every item's properties, and the end.
  void WriteCollection(TCollection* Collection);

 private:
  void WriteComponent(TComponent* Component, TTextObject& Node);
  void WriteProperties(TPersistent* Instance);
  void WriteProperty(TPersistent* Instance, PPropInfo PropInfo);
  void WriteObjectProperty(TPersistent* Instance, PPropInfo PropInfo);
  void AddProperty(const std::string& Name, TTextValue Value);
  void AddValue(TTextValue Value);
  // Runs Write and returns the one value it wrote.
  template <class F>
  TTextValue Capture(const std::string& Name, F&& Write);

  std::vector<TTextProperty>* properties_ = nullptr;
  std::string propPath_;
  // Where written values go: the innermost open list last.
  std::vector<std::vector<TTextValue>*> sinks_;
};

// How a component is named from the root being written: "Button1", "Owner" for the
// root itself, "Form2.Button1" for a component of another form.
std::string GetComponentValue(TComponent* Component, TComponent* LookupRoot);
