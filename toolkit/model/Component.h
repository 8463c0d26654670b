#pragma once

// TComponent: an object with an owner, a name and a state. The owner frees the
// components it owns (last created first) when it is freed; a component told that
// another one is going (Notification with opRemove) clears its references to it.
// Components live on the heap (`new TFoo(Owner)`) and go with Free or their owner.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/model/Persistent.h"
#include "toolkit/model/Sets.h"
#include "toolkit/model/TypeInfo.h"

TOOLKIT_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning,
             csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
TOOLKIT_SET(TComponentState, TComponentStateFlag)

TOOLKIT_ENUM(TOperation, opInsert, opRemove)

class TComponent;
class TReader;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  TOOLKIT_CLASS(TComponent, TPersistent)

  // Created with an owner, the component belongs to it and goes with it.
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int Index) const;  // in creation order
  int ComponentIndex() const;               // position in the owner's list; -1 without owner
  TComponent* FindComponent(std::string_view AName) const;  // ignoring case; null when none

  TComponentState ComponentState() const { return state_; }
  const std::string& Name() const { return name_; }
  // An identifier (or empty) that no other component of the owner has; else EComponentError.
  virtual void SetName(const std::string& NewName);
  std::int32_t Tag() const { return tag_; }
  void SetTag(std::int32_t Value) { tag_ = Value; }

  // AComponent will be told (Notification, opRemove) when this component goes, and
  // the other way round. Components of the same owner hear it from the owner anyway.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();  // frees the owned components, last created first
  void Destroying();         // sets csDestroying here and on everything owned
  void SetDesigning(bool Value, bool SetChildren = true);
  void Updating();
  void Updated();

  // The structure form descriptions follow: nested objects are a component's children.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  // The components written nested in this one. A component written as the root lists
  // the components it owns that have no parent, as a data module does.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  virtual TComponent* GetChildOwner() { return nullptr; }  // null: the root owns them
  virtual TComponent* GetChildParent() { return this; }

  std::string GetNamePath() const override { return name_; }

 protected:
  // Called once the whole form description is read and references are resolved.
  // Clears csLoading: code after inherited::Loaded() runs as after loading.
  virtual void Loaded();
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);
  // Points the owner's published field of this name at this component (or clears it).
  void SetReference(bool Enable);
  TPersistent* GetOwner() const override { return owner_; }

 private:
  friend class TReader;
  friend class TWriter;

  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  std::int32_t tag_ = 0;
  TComponentState state_;
};
