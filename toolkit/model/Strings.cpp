#include "toolkit/model/Strings.h"

#include "platform/Unicode.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Filer.h"
#include "toolkit/model/Reader.h"
#include "toolkit/model/Writer.h"

TClass TStrings::StaticClass() {
  return DefineClass<TStrings>("TStrings", [](ClassBuilder<TStrings>&) {});
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view Value) {
  InUpdate([&] {
    Clear();
    std::size_t pos = 0;
    while (pos < Value.size()) {
      const std::size_t end = Value.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) {
        Add(std::string(Value.substr(pos)));
        break;
      }
      Add(std::string(Value.substr(pos, end - pos)));
      pos = end;
      if (Value[pos] == '\r') ++pos;
      if (pos < Value.size() && Value[pos] == '\n') ++pos;
    }
  });
}

std::string TStrings::Names(int Index) const {
  const std::string line = Get(Index);
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

int TStrings::IndexOfName(std::string_view Name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string line = Get(i);
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos &&
        platform::EqualNoCase(std::string_view(line).substr(0, equals), Name)) {
      return i;
    }
  }
  return -1;
}

std::string TStrings::Values(std::string_view Name) const {
  const int index = IndexOfName(Name);
  if (index < 0) return {};
  const std::string line = Get(index);
  return line.substr(line.find('=') + 1);
}

void TStrings::SetValues(std::string_view Name, const std::string& Value) {
  int index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  if (index < 0) index = Add("");
  Put(index, std::string(Name) + "=" + Value);
}

int TStrings::Add(const std::string& S) {
  const int index = GetCount();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  const int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(TStrings* Strings) {
  InUpdate([&] {
    for (int i = 0; i < Strings->Count(); ++i)
      AddObject(Strings->Get(i), Strings->GetObject(i));
  });
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  InUpdate([&] {
    const std::string s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
  });
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  InUpdate([&] {
    const std::string s = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
  });
}

int TStrings::IndexOf(std::string_view S) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (platform::EqualNoCase(Get(i), S)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (GetObject(i) == AObject) return i;
  }
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (Strings->GetCount() != GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    if (Get(i) != Strings->Get(i)) return false;
  }
  return true;
}

void TStrings::BeginUpdate() {
  // The state changes while the count is still 0, so OnChanging fires once.
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source) {
  auto* strings = dynamic_cast<TStrings*>(Source);
  if (strings == nullptr) {
    inherited::Assign(Source);
    return;
  }
  if (strings == this) return;
  InUpdate([&] {
    Clear();
    AddStrings(strings);
  });
}

TObject* TStrings::GetObject(int) const {
  return nullptr;
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

void TStrings::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty("Strings", this, &TStrings::ReadData, &TStrings::WriteData, Count() > 0);
}

void TStrings::Error(const std::string& Message, int Data) const {
  throw EStringListError(Message + " (" + std::to_string(Data) + ")");
}

void TStrings::ReadData(TReader* Reader) {
  Reader->ReadListBegin();
  InUpdate([&] {
    Clear();
    while (!Reader->EndOfList())
      Add(Reader->ReadString());
  });
  Reader->ReadListEnd();
}

void TStrings::WriteData(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int i = 0; i < Count(); ++i)
    Writer->WriteString(Get(i));
  Writer->WriteListEnd();
}
