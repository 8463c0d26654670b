#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// One line of a settings file, as a person reads and writes it:
//
//   [Section]                          a section; ["odd ] name"] where the name needs quotes
//   Name=Value                         an entry: the value is the rest of the line, without
//                                      the blanks around it and without a comment, which
//                                      starts at a ";" after a blank
//   Name="  two\nlines"                a quoted value, with the escapes \\ \" \n \r \t \xHH;
//                                      any other backslash stands for itself
//   Name=Value              ; string   a comment beside the entry (where hints go)
//   ; a comment, # a comment           never read; neither is anything that is none of these
//
// Names and values are written plain wherever they read back exactly as they are; only what
// would not (blanks at either end, control characters, bytes that are not UTF-8, a leading
// quote, " ;" in a value, "=" in a name, "]" in a section name) is quoted.

#include <cstddef>
#include <string>
#include <string_view>

struct SettingsLine {
  enum Kind {
    Other,          // blank, a comment, or what we cannot read: kept, never read
    Section,        // "[Name]"
    BrokenSection,  // begins with "[" but is no section: what follows belongs to none
    Entry,          // "Name=Value"
  };
  static constexpr size_t npos = std::string_view::npos;

  Kind kind = Other;
  std::string name;       // of a section or an entry, quotes and escapes resolved
  std::string value;      // of an entry, quotes and escapes resolved
  size_t indent = 0;      // of an entry: where its name begins
  size_t comment = npos;  // of an entry: where the blanks before its comment begin
};

SettingsLine ParseSettingsLine(std::string_view content);

// "[Section]" with the quoting the name needs.
std::string SectionLine(std::string_view section);
// "Name=Value" with the quoting each part needs.
std::string EntryLine(std::string_view name, std::string_view value);

// The text of a comment beside an entry ("   ; string" gives "string").
std::string CommentText(std::string_view comment);
// A hint as a comment shows it: on one line, as UTF-8 (control characters become blanks,
// bytes that are not UTF-8 are dropped), without blanks at either end.
std::string HintText(std::string_view hint);
// `line` with the comment "; hint" starting at column `position` (1-based, counted in
// characters), or after one blank where the line reaches that far.
std::string WithHint(std::string line, std::string_view hint, int position);
