#include "platform/Machine.h"

namespace platform {

namespace {

// The current machine. The window's module (PolyverbSetupWindow) links the platform again and
// binds its own symbols inside itself, so it has a slot of its own: a machine the program made
// or put in place here is not the module's. The program hands the module only its command
// line, before anything asks for a machine, and the module makes its own from the same
// environment; anything else the module is to know must be handed over the same way.
std::unique_ptr<Machine>& Slot() {
  static std::unique_ptr<Machine> current;
  return current;
}

}  // namespace

Machine::Machine(WinePrefix prefix, RegistryView view, Writes writes)
    : prefix_(std::move(prefix)),
      files_(prefix_, writes),
      registry_(prefix_.folder(), view, writes) {}

std::unique_ptr<Machine> Machine::Overlay(const Machine& real) {
  auto overlay =
      std::make_unique<Machine>(real.prefix_, real.registry_.view(), Writes::KeptInOverlay);
  overlay->applicationDir_ = real.applicationDir_;
  overlay->ownFolder_ = real.ownFolder_;
  return overlay;
}

Result<std::string> Machine::ApplicationDir() const {
  if (!applicationDir_.empty()) return applicationDir_;
  if (!ownFolder_) {
    Result<std::string> dir = prefix_.ApplicationDir();
    if (!dir) return dir;
    ownFolder_ = std::move(dir).value();
  }
  return *ownFolder_;
}

Machine& Machine::Current() {
  std::unique_ptr<Machine>& current = Slot();
  if (current == nullptr) current = std::make_unique<Machine>(WinePrefix::FromEnvironment());
  return *current;
}

Machine::Scope Machine::Use(std::unique_ptr<Machine> machine) {
  std::unique_ptr<Machine> previous = std::move(Slot());
  Slot() = std::move(machine);
  return Scope(std::move(previous));
}

Machine::Scope::Scope(Scope&& other) noexcept
    : previous_(std::move(other.previous_)), active_(other.active_) {
  other.active_ = false;
}

Machine::Scope::~Scope() {
  if (active_) Slot() = std::move(previous_);
}

}  // namespace platform
