#pragma once

// Status lists as the tests expect them, written out from the product's file names rather
// than taken from the program's own tables, so that a wrong table shows.

#include <initializer_list>
#include <string>
#include <vector>

namespace installer_test {

using Lines = std::vector<std::string>;

// The lines as a program prints them, each ended by a newline.
inline std::string Text(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  return text;
}
using Names = std::vector<std::string>;

inline const Names kD3Package = {"ZavPolyverb30.dpl", "ZavPolyverb30.dcp", "ZavPolyverb30.dcu"};
inline const Names kD4Package = {"ZavPolyverb40.bpl", "ZavPolyverb40.dcp", "ZavPolyverb40.dcu"};
inline const Names kD5Package = {"ZavPolyverb50.bpl", "ZavPolyverb50.dcp", "ZavPolyverb50.dcu"};
inline const Names kD3Design = {"ZavPolyverb30Design.dpl"};
inline const Names kD4Design = {"ZavPolyverb40Design.bpl"};
inline const Names kD5Design = {"ZavPolyverb50Design.bpl"};
inline const Names kHelp = {"ZavPolyverbEng.hlp", "ZavPolyverbGer.hlp"};
inline const Names kExtra = {
    "Polyverb - History.txt", "Polyverb.int", "Demo.zip", "Demo.exe", "Install.exe",
    "ReadMeEng.txt",          "ReadMeGer.txt"};
inline const Names kD3Vcl = {"vcl30.dpl", "vcl30.de"};
inline const Names kD4Vcl = {"vcl40.bpl", "vcl40.de"};
inline const Names kD5Vcl = {"vcl50.bpl", "vcl50.de"};

inline const std::string kDefaultFolder = "C:\\Programme\\Zav Polyverb";
inline const std::string kWindows = "C:\\windows";
inline std::string BinFolder(int version) {
  return "C:\\Program Files\\Borland\\Delphi" + std::to_string(version) + "\\Bin";
}

// The names of several sets, in order.
inline Names Join(std::initializer_list<Names> sets) {
  Names all;
  for (const Names& set : sets)
    all.insert(all.end(), set.begin(), set.end());
  return all;
}

// Builds a list line by line in one language.
class Expected {
 public:
  explicit Expected(bool german = false) : german_(german) {}

  Expected& Line(const std::string& text) {
    lines_.push_back(text);
    return *this;
  }
  Expected& Header(bool install) {
    if (german_)
      return Line(install ? "Status der Installation:" : "Status der Deinstallation:").Line("");
    return Line(install ? "Status of installation:" : "Status of uninstallation:").Line("");
  }
  Expected& Copied(const Names& names, const std::string& folder) {
    for (const std::string& name : names) {
      Line(german_ ? "Datei '" + name + "' nach '" + folder + "' kopiert."
                   : "File '" + name + "' copied to '" + folder + "'.");
    }
    return *this;
  }
  Expected& CopyFailed(const Names& names, const std::string& folder) {
    for (const std::string& name : names) {
      Line(german_
               ? "Fehler: Datei '" + name + "' konnte nicht nach '" + folder + "' kopiert werden."
               : "Error: File '" + name + "' could not be copied to '" + folder + "'.");
    }
    return *this;
  }
  // Delete lines name the whole path.
  Expected& Deleted(const Names& names, const std::string& folder) {
    for (const std::string& name : names) {
      const std::string path = folder + "\\" + name;
      Line(german_ ? "Datei '" + path + "' gelöscht." : "File '" + path + "' deleted.");
    }
    return *this;
  }
  Expected& DeleteFailed(const Names& names, const std::string& folder) {
    for (const std::string& name : names) {
      const std::string path = folder + "\\" + name;
      Line(german_ ? "Fehler: Datei '" + path + "' konnte nicht gelöscht werden."
                   : "Error: File '" + path + "' could not be deleted.");
    }
    return *this;
  }
  Expected& Registered(const std::string& package) {
    return Line(german_ ? "Package '" + package + "' bei Delphi registriert."
                        : "Package '" + package + "' registered to Delphi.");
  }
  Expected& NotRegistered(const std::string& package) {
    return Line(german_ ? "Package '" + package + "' konnte nicht bei Delphi registriert werden."
                        : "Package '" + package + "' could not be registered to Delphi.");
  }
  Expected& DirExists(const std::string& folder) {
    return Line(german_ ? "Verzeichnis '" + folder + "' existiert bereits."
                        : "Directory '" + folder + "' already exists.");
  }
  Expected& DirCreated(const std::string& folder) {
    return Line(german_ ? "Verzeichnis '" + folder + "' erstellt."
                        : "Directory '" + folder + "' created.");
  }
  Expected& DirNotCreated(const std::string& folder) {
    return Line(german_ ? "Fehler: Verzeichnis '" + folder + "' konnte nicht erstellt werden."
                        : "Error: Directory '" + folder + "' could not be created.");
  }
  Expected& DirNotFound(const std::string& folder) {
    return Line(german_ ? "Fehler: Verzeichnis '" + folder + "' nicht gefunden."
                        : "Error: Directory '" + folder + "' not found.");
  }
  Expected& DirDeleted(const std::string& folder) {
    return Line(german_ ? "Verzeichnis '" + folder + "' gelöscht."
                        : "Directory '" + folder + "' deleted.");
  }
  Expected& DirNotDeleted(const std::string& folder) {
    return Line(german_ ? "Fehler: Verzeichnis '" + folder + "' konnte nicht gelöscht werden."
                        : "Error: Directory '" + folder + "' could not be deleted.");
  }
  Expected& NotUnregistered(const std::string& package) {
    return Line(german_ ? "Package '" + package + "' konnte nicht aus Delphi entfernt werden."
                        : "Package '" + package + "' could not be removed from Delphi.");
  }
  Expected& Finished() { return Line("").Line(german_ ? "Abgeschlossen." : "Finished."); }

  const Lines& lines() const { return lines_; }

 private:
  bool german_;
  Lines lines_;
};

}  // namespace installer_test
