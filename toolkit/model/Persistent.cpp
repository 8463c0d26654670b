#include "toolkit/model/Persistent.h"

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"

TClass TPersistent::StaticClass() {
  return DefineClass<TPersistent>("TPersistent", [](ClassBuilder<TPersistent>&) {});
}

void TPersistent::Assign(TPersistent* Source) {
  if (Source == nullptr) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
  const std::string sourceName = Source != nullptr ? Source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler*) {}

std::string TPersistent::GetNamePath() const {
  std::string path = ClassName();
  if (const TPersistent* owner = GetOwner()) {
    const std::string ownerPath = owner->GetNamePath();
    if (!ownerPath.empty()) path = ownerPath + "." + path;
  }
  return path;
}
