#pragma once

// The Windows machine the program works on: the Wine prefix named by the
// environment, with its files, its registry and the program's own folder on it.
// One for the whole process, made on first use; a test puts a machine over a
// temporary prefix (and, where it needs one, a distribution folder of its own)
// in place with Machine::Use and restores the previous one afterwards.
// The window's module is the exception: it holds a platform of its own, and with it
// a current machine of its own (Machine.cpp).

#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/WinRegistry.h"
#include "platform/WinePrefix.h"

namespace platform {

class Machine {
 public:
  // With Writes::KeptInOverlay the machine reads the prefix on disk and keeps its changes to
  // itself (OverlayFiles.h, Registry): a dry run works on such a machine.
  explicit Machine(WinePrefix prefix, RegistryView view = RegistryView::Win32,
                   Writes writes = Writes::ToDisk);
  // A machine over the same prefix and program folder as `real` that keeps its changes.
  static std::unique_ptr<Machine> Overlay(const Machine& real);

  const WinePrefix& prefix() const { return prefix_; }
  FileSystem& files() { return files_; }
  Registry& registry() { return registry_; }

  // The program's own folder, as a Windows path of this machine: the folder of the running
  // executable, or the one put in its place. Worked out once: it does not change while the
  // program runs (Windows, too, records it once at start), and a run asks for every file.
  Result<std::string> ApplicationDir() const;
  // Puts `dir` in place of the program's own folder; empty gives the executable's folder
  // back. The program itself runs from its distribution folder; tests and tools that run
  // elsewhere name the distribution they stand for.
  void SetApplicationDir(std::string dir) { applicationDir_ = std::move(dir); }

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
  std::string applicationDir_;                    // put in place of the program's own
  mutable std::optional<std::string> ownFolder_;  // the executable's, once known
};

}  // namespace platform
