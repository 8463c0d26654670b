// Fuzzes the Windows path normaliser and the file-name helpers. The input is a path, then
// optionally a NUL byte and a base folder. Properties checked on every normalised path:
// it is absolute and clean, and normalising it again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/FileNames.h"
#include "platform/WinPath.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckNormalised(const platform::WinPath& path) {
  const std::string text = path.ToString();
  Check(text.size() >= 3 && text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':' && text[2] == '\\');
  Check(text.find('/') == std::string::npos);
  Check(text.find("\\\\") == std::string::npos);
  Check(path.IsDriveRoot() == (text.size() == 3));
  Check(path.IsDriveRoot() || text.back() != '\\');
  // A device name is a folder the host made on the way, never the last name.
  for (const std::string& name : path.components()) {
    const bool last = &name == &path.components().back();
    Check(platform::CheckFileName(name).ok() || (!last && platform::IsDeviceName(name)));
  }

  // Normalising a normalised path changes nothing, with or without a base.
  const auto again = platform::WinPath::Parse(text);
  Check(again.ok() && *again == path);
  const auto withBase = platform::WinPath::Parse(text, "Q:\\base");
  Check(withBase.ok() && *withBase == path);
  Check(path.Parent().components().size() + (path.IsDriveRoot() ? 0 : 1) ==
        path.components().size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view path = input.substr(0, split);
  const std::string_view base =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  const auto parsed = platform::WinPath::Parse(path, base);
  if (parsed.ok()) {
    CheckNormalised(*parsed);
  } else {
    Check(!parsed.status().message().empty());
  }

  const std::string name = platform::ExtractFileName(path);
  const std::string folder = platform::ExtractFilePath(path);
  Check(folder + name == path);
  Check(platform::ExtractFileDir(path).size() <= folder.size());
  const std::string changed = platform::ChangeFileExt(path, ".cfg");
  Check(platform::ExtractFileExt(changed) == ".cfg");
  return 0;
}
