#include "toolkit/model/Component.h"

#include <algorithm>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/ScopeGuards.h"

namespace {

// Handed from TMetaClass::CreateComponent to the TComponent constructor of the object it
// makes: the constructors in between take the owner alone, as every component's does.
thread_local bool constructingLoading = false;

// The message names the name and the owner it clashes in, so the clash can be found.
[[noreturn]] void DuplicateName(const TComponent& owner, const std::string& name) {
  const std::string ownerName = owner.Name().empty() ? owner.ClassName() : owner.Name();
  throw EComponentError("A component named " + name + " already exists in " + ownerName);
}

}  // namespace

TClass TComponent::StaticClass() {
  return DefineClass<TComponent>("TComponent", [](ClassBuilder<TComponent>& c) {
    // The name is written in the object's header line, never as a property.
    c.Property("Name", &TComponent::Name, &TComponent::SetName)
        .TypeName("TComponentName")
        .Stored(false);
    c.Property("Tag", &TComponent::Tag, &TComponent::SetTag).TypeName("Longint").Default(0);
  });
}

// While this constructor runs the object is only a TComponent: notifications sent
// from here (opInsert) see the base class, not the class being constructed.
TComponent::TComponent(TComponent* AOwner) {
  if (constructingLoading) {
    state_.Include(csLoading);
    constructingLoading = false;  // the components this one makes in its constructor are not
  }
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    other->Notification(this, opRemove);
    // An override that skips the base leaves the link in place: drop it both ways.
    if (!freeNotifies_.empty() && freeNotifies_.back() == other) {
      freeNotifies_.pop_back();
      other->RemoveNotification(this);
    }
  }
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!state_.Contains(csDestroying)) Destroying();
}

TComponent* TMetaClass::CreateComponent(TComponent* Owner, TCreateMode Mode) const {
  constructingLoading = Mode == TCreateMode::Loading;
  const ScopeExit reset([] { constructingLoading = false; });
  return componentFactory_(Owner);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) {
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  }
  return components_[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& siblings = owner_->components_;
  const auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* component : components_) {
    if (SameIdent(component->name_, AName)) return component;
  }
  return nullptr;
}

void TComponent::SetName(const std::string& NewName) {
  if (name_ == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName)) {
    throw EComponentError("'" + NewName + "' is not a valid component name");
  }
  if (owner_ != nullptr) {
    owner_->ValidateRename(this, name_, NewName);
  } else {
    ValidateRename(nullptr, name_, NewName);
  }
  SetReference(false);
  name_ = NewName;
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
  if (AComponent != nullptr && !SameIdent(CurName, NewName) && AComponent->owner_ == this &&
      FindComponent(NewName) != nullptr) {
    DuplicateName(*this, NewName);
  }
  if (state_.Contains(csDesigning) && owner_ != nullptr) {
    owner_->ValidateRename(AComponent, CurName, NewName);
  }
}

void TComponent::SetReference(bool Enable) {
  if (owner_ == nullptr || name_.empty()) return;
  if (const TFieldInfo* field = owner_->ClassType()->FindField(name_)) {
    field->Set(owner_, Enable ? this : nullptr);
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (FindComponent(AComponent->name_) != nullptr) DuplicateName(*this, AComponent->name_);
  if (AComponent->owner_ != nullptr) AComponent->owner_->RemoveComponent(AComponent);
  Insert(AComponent);
  AComponent->SetReference(true);
  if (state_.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, opRemove);
  AComponent->SetReference(false);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  components_.push_back(AComponent);
  AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
  std::erase(components_, AComponent);
  AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* component = components_.back();
    // Through RemoveComponent, so the remaining components hear that it goes.
    RemoveComponent(component);
    component->Free();
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* component : components_)
    component->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (owner_ == nullptr || AComponent->owner_ != owner_) {
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end()) {
      freeNotifies_.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  std::erase(freeNotifies_, AComponent);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // Copied: a notified component may free others of the list.
  const std::vector<TComponent*> owned = components_;
  for (TComponent* component : owned) {
    if (component != AComponent &&
        std::find(components_.begin(), components_.end(), component) != components_.end()) {
      component->Notification(AComponent, Operation);
    }
  }
}

void TComponent::Loaded() {
  state_.Exclude(csLoading);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value) {
    state_.Include(csDesigning);
  } else {
    state_.Exclude(csDesigning);
  }
  if (!SetChildren) return;
  for (TComponent* component : components_)
    component->SetDesigning(Value);
}

void TComponent::Updating() {
  state_.Include(csUpdating);
}

void TComponent::Updated() {
  state_.Exclude(csUpdating);
}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (Root != this) return;
  for (TComponent* component : components_) {
    if (!component->HasParent()) Proc(component);
  }
}
