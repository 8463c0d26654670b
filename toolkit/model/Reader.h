#pragma once

// TReader: reads a form description into components.
//
// Reading a root: the root and every component created for the description carry
// csLoading while they are read (already inside their constructors); references to
// other components are resolved by name once everything is read; then Loaded runs
// on every component in the order they were created, the root first; a component
// whose Loaded does not reach the base class loses csLoading afterwards anyway.
// Any error raises EReadError naming the line and column, and the components read
// so far are freed.
//
// The value functions (ReadString, ReadListBegin, ...) are for the read procedures
// of DefineProperty; each reads the next value of the property being read.

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

class TReader : public TFiler {
 public:
  explicit TReader(const TTextObject& Description);
  ~TReader() override;

  // Reads the description into Root: the class named in the text is not checked.
  void ReadRootComponent(TComponent* Root);
  // Creates the root from the class the text names (a registered class) and reads it.
  TComponent* ReadNewRootComponent(TComponent* Owner);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TBinaryReadProc ReadData,
                            TBinaryWriteProc WriteData, bool HasData) override;

  // The kind of the next value; vaNull at the end of a list.
  TValueType NextValue() const;
  // Reads the next value's kind. A list or collection is entered (its elements come
  // next); any other value is passed over.
  TValueType ReadValue();
  bool EndOfList() const;
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  char ReadChar();
  std::int32_t ReadInteger();
  std::int64_t ReadInt64();
  double ReadFloat();  // integers too
  std::string ReadString();
  std::string ReadIdent();
  Variant ReadVariant();
  // Reads the items of a collection into Collection, after the collection's start
  // (ReadValue) or at it. An empty collection leaves Collection as it was.
  void ReadCollection(TCollection* Collection);
  void SkipValue();

  // While components are read: the owner and the parent of the next one.
  TComponent* Owner() const { return owner_; }
  TComponent* Parent() const { return parent_; }

 private:
  enum TFrameKind { fkProperty, fkList, fkCollection };
  struct Frame {
    TFrameKind kind;
    const TTextValue* values = nullptr;  // fkProperty, fkList
    const TTextItem* items = nullptr;    // fkCollection
    std::size_t count = 0;
    std::size_t next = 0;
    TTextPos pos;
  };
  struct Fixup {
    TPersistent* instance;
    PPropInfo prop;
    std::string name;
    TTextPos pos;
    std::vector<TCollection*> collections;  // being read when the reference was read
  };

  void ReadRoot(TComponent* Root);
  void ReadComponent(const TTextObject& Node);
  void ReadData(TComponent* Instance, const TTextObject& Node);
  void ReadProperty(TPersistent* Instance, const TTextProperty& Property);
  void ReadPropValue(TPersistent* Instance, PPropInfo PropInfo);
  void ReadObjectValue(TPersistent* Instance, PPropInfo PropInfo, const TTextValue& Value);
  void ReadMethodValue(TPersistent* Instance, PPropInfo PropInfo, const TTextValue& Value);
  TClass FindComponentClass(const TTextObject& Node) const;
  void ResolveFixups();
  void CallLoaded();
  void FreeCreated();
  void DropFixupsInside(TCollection* Collection);

  const TTextValue& Current() const;
  const TTextValue& Take();
  TTextPos CurrentPos() const;
  [[noreturn]] void ValueError(const std::string& Expected) const;

  const TTextObject& description_;
  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  std::vector<Frame> frames_;
  std::vector<Fixup> fixups_;
  std::vector<TComponent*> created_;
  std::vector<TComponent*> loaded_;
  std::vector<TCollection*> collections_;
  // The property DefineProperties is asked about, and whether a definition took it.
  std::string definedName_;
  bool defined_ = false;
};
