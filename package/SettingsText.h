#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The text of a settings file as a document of lines (SettingsLine.h gives one line's form).
//
// The document keeps every byte it was given: rendered without changes it is the same text,
// and a change touches only the line of the entry it sets (or adds one line, or a section at
// the end). Comments, blank lines, other programs' sections and entries, lines it cannot read,
// a byte order mark, invalid UTF-8 and NUL bytes all stay where and as they are. New lines
// take the file's line end (CR LF or LF; LF for a new file), and a file without a final line
// break keeps having none.
//
// Sections and entries are found ignoring the case of A to Z (CompareText); a name keeps the
// spelling it was first written with. Where a name appears twice, the first one counts, as
// in the classic stores. Entries before the first section belong to none and are never read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package/SettingsLine.h"

// A hint shown beside an entry: its text, starting at a column (1-based).
struct SettingsHint {
  std::string text;
  int position = 0;
};

class SettingsText {
 public:
  static SettingsText Parse(std::string_view text);

  std::string Render() const;

  // The value of the first entry Name in a section Section; nothing when there is none.
  std::optional<std::string> Read(std::string_view section, std::string_view name) const;

  // Gives that entry the value Value, adding the entry (at the end of its section's entries)
  // or the section (at the end of the text) where they are missing; with a hint, it stands
  // beside the entry instead of an earlier one. An entry that already holds Value (and the
  // same hint, when one is given) is left as it stands. Returns whether the text changed.
  bool Write(std::string_view section, std::string_view name, std::string_view value,
             const std::optional<SettingsHint>& hint = std::nullopt);

  // Every readable entry, in the order of the text (a repeated one as often as it appears).
  struct Entry {
    std::string section;
    std::string name;
    std::string value;
  };
  std::vector<Entry> Entries() const;

 private:
  struct Line {
    std::string content;  // without its line end
    std::string end;      // "\n", "\r\n", or for the last line "" or a lone "\r"
    SettingsLine parsed;
  };

  // Calls visit(index, section) for every line; section is null before the first section and
  // after a line that begins like a section and is none.
  template <class Visit>
  void Walk(Visit visit) const;
  std::optional<size_t> FindEntry(std::string_view section, std::string_view name) const;
  // The line after which a new entry of Section goes: the last entry of the section's first
  // block, or its header; nothing when the section is missing.
  std::optional<size_t> InsertionPoint(std::string_view section) const;
  void SetLine(size_t index, std::string content);
  void InsertLine(size_t index, std::string content);

  std::string bom_;
  std::vector<Line> lines_;
  std::string newline_ = "\n";
};
