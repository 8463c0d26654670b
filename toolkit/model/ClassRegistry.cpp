#include "toolkit/model/ClassRegistry.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Identifiers.h"

namespace {

struct Registry {
  std::mutex lock;
  std::vector<TClass> classes;
  std::map<int, TFindGlobalComponent> finders;
  int nextHandle = 1;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterClass(TClass AClass) {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  for (TClass known : registry.classes) {
    if (known == AClass) return;
    if (SameIdent(known->ClassName(), AClass->ClassName())) {
      throw EFilerError("A class named " + AClass->ClassName() + " already exists");
    }
  }
  registry.classes.push_back(AClass);
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass cls : Classes)
    RegisterClass(cls);
}

void UnRegisterClass(TClass AClass) {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  std::erase(registry.classes, AClass);
}

TClass GetClass(std::string_view ClassName) {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  for (TClass known : registry.classes) {
    if (SameIdent(known->ClassName(), ClassName)) return known;
  }
  return nullptr;
}

TClass FindClass(std::string_view ClassName) {
  TClass found = GetClass(ClassName);
  if (found == nullptr) throw EClassNotFound("Class " + std::string(ClassName) + " not found");
  return found;
}

int RegisterFindGlobalComponentProc(TFindGlobalComponent Proc) {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  registry.finders[registry.nextHandle] = std::move(Proc);
  return registry.nextHandle++;
}

void UnregisterFindGlobalComponentProc(int Handle) {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  registry.finders.erase(Handle);
}

TComponent* FindGlobalComponent(std::string_view Name) {
  std::vector<TFindGlobalComponent> finders;
  {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    for (const auto& [handle, finder] : registry.finders)
      finders.push_back(finder);
  }
  for (const TFindGlobalComponent& finder : finders) {
    if (TComponent* found = finder(Name)) return found;
  }
  return nullptr;
}
