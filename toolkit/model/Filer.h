#pragma once

// TFiler: what TReader and TWriter share, which is what DefineProperties sees.
// A class adds extra properties to its form description with DefineProperty:
//
//   void TConfig::DefineProperties(TFiler* Filer) {
//     inherited::DefineProperties(Filer);
//     Filer->DefineProperty("Entries", this, &TConfig::ReadEntries, &TConfig::WriteEntries,
//                           Entries->Count() > 0);
//   }

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TComponent;
class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TBytes = std::vector<std::uint8_t>;
using TBinaryReadProc = std::function<void(const TBytes& Data)>;
using TBinaryWriteProc = std::function<TBytes()>;

// The kinds of values in a form description, as NextValue reports them.
enum TValueType {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64
};

class TFiler {
 public:
  TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;
  virtual ~TFiler() = default;

  // Reading calls ReadData when the description holds the property; writing calls
  // WriteData when HasData is true. The written value must be exactly one value.
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  // A property whose value is bytes, written in hex between braces.
  virtual void DefineBinaryProperty(const std::string& Name, TBinaryReadProc ReadData,
                                    TBinaryWriteProc WriteData, bool HasData) = 0;

  template <class T>
  void DefineProperty(const std::string& Name, T* Self, void (T::*ReadData)(TReader*),
                      void (T::*WriteData)(TWriter*), bool HasData) {
    DefineProperty(
        Name, [Self, ReadData](TReader* Reader) { (Self->*ReadData)(Reader); },
        [Self, WriteData](TWriter* Writer) { (Self->*WriteData)(Writer); }, HasData);
  }

  // The component being read or written as a whole, and the one names are relative to.
  TComponent* Root() const { return root_; }
  TComponent* LookupRoot() const { return lookupRoot_; }

 protected:
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
};
