#pragma once

// The Windows machine the program works on: the Wine prefix named by the
// environment, with its files and its registry. One for the whole process,
// made on first use; a test puts a machine over a temporary prefix in place
// with Machine::Use and restores the previous one afterwards.

#include <memory>
#include <string>

#include "platform/Files.h"
#include "platform/WinRegistry.h"
#include "platform/WinePrefix.h"

namespace platform {

class Machine {
 public:
  explicit Machine(WinePrefix prefix, RegistryView view = RegistryView::Win32);

  const WinePrefix& prefix() const { return prefix_; }
  FileSystem& files() { return files_; }
  Registry& registry() { return registry_; }

  // The machine in use: the environment's prefix unless a test said otherwise.
  static Machine& Current();

  // Puts `machine` in use until the returned guard goes.
  class Scope {
   public:
    ~Scope();
    Scope(Scope&&) noexcept;
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    Scope& operator=(Scope&&) = delete;

   private:
    friend class Machine;
    explicit Scope(std::unique_ptr<Machine> previous) : previous_(std::move(previous)) {}
    std::unique_ptr<Machine> previous_;
    bool active_ = true;
  };
  [[nodiscard]] static Scope Use(std::unique_ptr<Machine> machine);

 private:
  WinePrefix prefix_;
  FileSystem files_;
  Registry registry_;
};

}  // namespace platform
