#include "package/ExComponent.h"

#include "package/UnitVersion.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ExComponent.cpp 1.0");

}  // namespace

TClass TExComponent::StaticClass() {
  return DefineClass<TExComponent>("TExComponent", [](ClassBuilder<TExComponent>&) {});
}
