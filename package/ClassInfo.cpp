#include "package/ClassInfo.h"

#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/PropAccess.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ClassInfo.cpp 1.0");

}  // namespace

TClass TClassInfo::StaticClass() {
  return DefineClass<TClassInfo>("TClassInfo", [](ClassBuilder<TClassInfo>&) {});
}

TClassInfo::TClassInfo(TObject* Instance) : instance_(Instance) {}

TClassInfo::~TClassInfo() = default;

int TClassInfo::Count() const {
  return static_cast<int>(instance_->ClassType()->Properties().size());
}

bool TClassInfo::Select(int Index) {
  selected_.reset();
  if (Index < 0 || Index >= Count()) return false;
  PPropInfo prop = &instance_->ClassType()->Properties()[static_cast<std::size_t>(Index)];
  if (!HasValueText(prop)) return false;
  selected_ = std::make_unique<TPropertyEntry>(instance_, prop, prop->Name);
  return true;
}

const TPropertyEntry& TClassInfo::Selected() const {
  if (selected_ == nullptr) {
    throw EPropertyError("TClassInfo: no property of " + instance_->ClassName() + " is selected");
  }
  return *selected_;
}

std::string TClassInfo::Name() const {
  return Selected().PropInfo()->Name;
}
std::string TClassInfo::TypDef() const {
  return Selected().GetTypDef();
}
bool TClassInfo::IsStored() const {
  return IsStoredProp(instance_, Selected().PropInfo());
}
std::int32_t TClassInfo::PropIndex() const {
  return Selected().PropInfo()->Index;
}
bool TClassInfo::HasRead() const {
  return Selected().PropInfo()->HasRead();
}
bool TClassInfo::HasWrite() const {
  return Selected().PropInfo()->HasWrite();
}
Variant TClassInfo::GetValue() const {
  return Selected().GetValue();
}

void TClassInfo::SetValue(const Variant& Value) {
  // Selected() is const; the entry itself sets the property of the instance.
  Selected();
  selected_->SetValue(Value);
}
