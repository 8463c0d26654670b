#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// Windows environment strings: "%USERPROFILE%\Documents" and the like, expanded as Windows's
// ExpandEnvironmentStrings does, and the environment Wine gives the programs of a prefix.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class Registry;

// A set of environment variables; names compare without case, as on Windows.
class Environment {
 public:
  // Defines or replaces a variable.
  void Set(std::string_view name, std::string value);
  std::optional<std::string> Find(std::string_view name) const;

  // Every %NAME% of a defined variable replaced by its value. The rest stays as written, as
  // Windows leaves it: an undefined "%NAME%" keeps its percent signs, and the second of them
  // may open the next name ("%X%WINDIR%" with X undefined gives "%XC:\windows"); a "%" without
  // a closing one is plain text.
  std::string Expand(std::string_view text) const;

 private:
  std::vector<std::pair<std::string, std::string>> variables_;
};

// The environment a program started in the prefix sees, as far as the registry says it, built
// in Wine's order (a later source wins, each value expanded against what came before):
// SystemDrive, SystemRoot and windir; ALLUSERSPROFILE, ProgramData, PUBLIC and USERPROFILE
// from the profile list; the machine's environment (Session Manager); the user's Environment
// and Volatile Environment. A prefix Wine never started has no profile list: the profile then
// lies where Wine will create it, C:\users\<the user's login name>. Unreadable keys count as
// empty: the result is always usable.
Environment WineEnvironment(Registry& registry);

}  // namespace platform
