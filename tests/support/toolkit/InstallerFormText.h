#pragma once

// The form description of a window of the installer's shape, for the test forms of every layer:
// the dialog frame (its place, caption, width and classic font), the button bar along its foot, the
// language label and the folder check box. Each layer's test form puts its own controls between
// them.

#include <string>

struct TInstallerFormText {
  std::string Name{};  // the form's object name; its class is "T" + Name
  std::string Caption = "Zav Polyverb - Installation";
  int ClientHeight = 368;
  std::string FormLines{};  // more properties of the form, each "  Name = Value\n"
  std::string Objects{};    // the objects inside, indented by two
};
std::string InstallerFormText(const TInstallerFormText& Form);

// "Left = 0 ... BevelOuter = bvNone": the bounds of the bar that holds the buttons, at Indent.
std::string ButtonBarBounds(const std::string& Indent);

// The folder check box at Indent, with more lines of its own (State, TabOrder, handlers).
std::string FolderCheckBoxText(const std::string& Indent, const std::string& MoreLines);

// The label above the language choice, at Indent.
std::string LanguageLabelText(const std::string& Indent);
