#pragma once

// Reading and writing whole form descriptions.
//
// A form reads its own description in its constructor:
//   TInstallForm::TInstallForm(TComponent* AOwner) : TForm(AOwner) {
//     ReadComponentText(this, kInstallFormText);
//   }

#include <string>
#include <string_view>

class TComponent;

// Reads Text into Root (see TReader for the order of events). Raises EReadError
// naming the line and column; the components read so far are freed again.
void ReadComponentText(TComponent* Root, std::string_view Text);
// Creates the root of the class Text names (a registered class) with Owner, and reads it.
TComponent* CreateComponentFromText(std::string_view Text, TComponent* Owner = nullptr);
// Root, its properties and its children as a form description.
std::string WriteComponentText(TComponent* Root);
// The description read and written back in the classic layout, without components.
std::string FormatComponentText(std::string_view Text);
