#include "toolkit/model/Object.h"

#include "toolkit/model/Identifiers.h"

TMetaClass::TMetaClass(std::string Name, TClass Parent, TClass (*Self)())
    : name_(std::move(Name)), parent_(Parent) {
  typeInfo_.Kind = tkClass;
  typeInfo_.Name = name_;
  typeInfo_.ClassType = Self;
  if (parent_ != nullptr) properties_ = parent_->properties_;
}

bool TMetaClass::InheritsFrom(TClass Ancestor) const {
  for (TClass cls = this; cls != nullptr; cls = cls->parent_) {
    if (cls == Ancestor) return true;
  }
  return false;
}

PPropInfo TMetaClass::FindProperty(std::string_view Name) const {
  for (const TPropInfo& prop : properties_) {
    if (SameIdent(prop.Name, Name)) return &prop;
  }
  return nullptr;
}

const TMethodInfo* TMetaClass::FindMethod(std::string_view Name) const {
  for (TClass cls = this; cls != nullptr; cls = cls->parent_) {
    for (const TMethodInfo& method : cls->methods_) {
      if (SameIdent(method.Name, Name)) return &method;
    }
  }
  return nullptr;
}

const TFieldInfo* TMetaClass::FindField(std::string_view Name) const {
  for (TClass cls = this; cls != nullptr; cls = cls->parent_) {
    for (const TFieldInfo& field : cls->fields_) {
      if (SameIdent(field.Name, Name)) return &field;
    }
  }
  return nullptr;
}

TClass TMetaClass::FindFieldClass(std::string_view ClassName) const {
  for (TClass cls = this; cls != nullptr; cls = cls->parent_) {
    for (const TFieldInfo& field : cls->fields_) {
      const TClass fieldClass = field.FieldClass();
      if (SameIdent(fieldClass->ClassName(), ClassName)) return fieldClass;
    }
  }
  return nullptr;
}

TClass TObject::StaticClass() {
  static const TMetaClass meta("TObject", nullptr, &TObject::StaticClass);
  return &meta;
}

std::string TObject::ClassName() const {
  return ClassType()->ClassName();
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}
