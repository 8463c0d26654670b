#include "tests/support/toolkit/InstallerFormText.h"

#include <sstream>

namespace {

// Every line of Lines indented by Indent.
std::string Indented(const std::string& Indent, const std::string& Lines) {
  std::istringstream in(Lines);
  std::string out;
  for (std::string line; std::getline(in, line);)
    out += Indent + line + "\n";
  return out;
}

}  // namespace

std::string InstallerFormText(const TInstallerFormText& Form) {
  return "object " + Form.Name + ": T" + Form.Name + "\n" +
         "  Left = 192\n"
         "  Top = 107\n"
         "  BorderStyle = bsDialog\n"
         "  Caption = '" +
         Form.Caption + "'\n" + "  ClientHeight = " + std::to_string(Form.ClientHeight) + "\n" +
         "  ClientWidth = 505\n"
         "  Color = clBtnFace\n"
         "  Font.Charset = DEFAULT_CHARSET\n"
         "  Font.Color = clWindowText\n"
         "  Font.Height = -11\n"
         "  Font.Name = 'MS Sans Serif'\n"
         "  Font.Style = []\n" +
         Form.FormLines + Form.Objects + "end\n";
}

std::string ButtonBarBounds(const std::string& Indent) {
  return Indented(Indent,
                  "Left = 0\n"
                  "Top = 328\n"
                  "Width = 505\n"
                  "Height = 40\n"
                  "Align = alBottom\n"
                  "BevelOuter = bvNone\n");
}

std::string FolderCheckBoxText(const std::string& Indent, const std::string& MoreLines) {
  return Indented(Indent,
                  "object BtnFolder: TCheckBox\n"
                  "  Left = 16\n"
                  "  Top = 24\n"
                  "  Width = 113\n"
                  "  Height = 17\n"
                  "  Caption = 'Enabled'\n" +
                      Indented("  ", MoreLines) + "end\n");
}

std::string LanguageLabelText(const std::string& Indent) {
  return Indented(Indent,
                  "object LabelLang: TLabel\n"
                  "  Left = 352\n"
                  "  Top = 8\n"
                  "  Width = 51\n"
                  "  Height = 13\n"
                  "  Caption = 'Language:'\n"
                  "end\n");
}
