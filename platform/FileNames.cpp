#include "platform/FileNames.h"

namespace platform {

namespace {

constexpr std::string_view kPathDelimiters = "\\:";
constexpr std::string_view kExtensionDelimiters = ".\\:";

}  // namespace

std::string ExtractFileName(std::string_view fileName) {
  const size_t i = fileName.find_last_of(kPathDelimiters);
  return std::string(i == std::string_view::npos ? fileName : fileName.substr(i + 1));
}

std::string ExtractFilePath(std::string_view fileName) {
  const size_t i = fileName.find_last_of(kPathDelimiters);
  return std::string(i == std::string_view::npos ? std::string_view() : fileName.substr(0, i + 1));
}

std::string ExtractFileDir(std::string_view fileName) {
  size_t i = fileName.find_last_of(kPathDelimiters);
  if (i == std::string_view::npos) return {};
  // Keep the backslash when it is the first character or follows another delimiter:
  // then it is the root ("\", "C:\"), not a separator.
  if (i > 0 && fileName[i] == '\\' &&
      kPathDelimiters.find(fileName[i - 1]) == std::string_view::npos) {
    --i;
  }
  return std::string(fileName.substr(0, i + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
  const size_t i = fileName.find_last_of(kExtensionDelimiters);
  if (i == std::string_view::npos || fileName[i] != '.') return {};
  return std::string(fileName.substr(i));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
  const size_t i = fileName.find_last_of(kExtensionDelimiters);
  const bool hasExtension = i != std::string_view::npos && fileName[i] == '.';
  std::string result(hasExtension ? fileName.substr(0, i) : fileName);
  result += extension;
  return result;
}

}  // namespace platform
