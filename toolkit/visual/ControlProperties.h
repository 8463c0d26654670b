#pragma once

// Publishing the properties every control class shares. The classic controls keep
// these protected in their base classes and each concrete class publishes the ones
// it shows, in its own order; PublishControlProperties does that by name:
//
//   PublishControlProperties(c, {"Align", "Caption", "Color", "Enabled", "Font"});

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/visual/Controls.h"

namespace toolkit_detail {

// Each returns false for a name it does not know.
template <class T>
bool PublishControlProperty(ClassBuilder<T>& c, std::string_view Name) {
  if (Name == "Left") {
    c.Property("Left", &TControl::Left, &TControl::SetLeft);
  } else if (Name == "Top") {
    c.Property("Top", &TControl::Top, &TControl::SetTop);
  } else if (Name == "Width") {
    c.Property("Width", &TControl::Width, &TControl::SetWidth);
  } else if (Name == "Height") {
    c.Property("Height", &TControl::Height, &TControl::SetHeight);
  } else if (Name == "Align") {
    c.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  } else if (Name == "Caption") {
    c.Property("Caption", &TControl::Caption, &TControl::SetCaption).TypeName("TCaption");
  } else if (Name == "Text") {
    c.Property("Text", &TControl::Text, &TControl::SetText).TypeName("TCaption");
  } else if (Name == "Color") {
    c.Property("Color", &TControl::Color, &TControl::SetColor)
        .Stored([](T* Self) { return !Self->ParentColor(); })
        .NoDefault();
  } else if (Name == "Cursor") {
    c.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
  } else if (Name == "Enabled") {
    c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
  } else if (Name == "Font") {
    c.Property("Font", &TControl::Font, &TControl::SetFont).Stored([](T* Self) {
      return !Self->ParentFont();
    });
  } else if (Name == "Hint") {
    c.Property("Hint", &TControl::Hint, &TControl::SetHint);
  } else if (Name == "AccessibleName") {
    c.Property("AccessibleName", &TControl::AccessibleName, &TControl::SetAccessibleName);
  } else if (Name == "ParentColor") {
    c.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).NoDefault();
  } else if (Name == "ParentFont") {
    c.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  } else if (Name == "ParentShowHint") {
    c.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
        .Default(true);
  } else if (Name == "ShowHint") {
    c.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored([](T* Self) {
      return !Self->ParentShowHint();
    });
  } else if (Name == "Visible") {
    c.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
  } else if (Name == "OnClick") {
    c.Property("OnClick", &TControl::OnClick);
  } else {
    return false;
  }
  return true;
}

template <class T>
bool PublishWinControlProperty(ClassBuilder<T>& c, std::string_view Name) {
  if (Name == "TabOrder") {
    c.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .TypeName("TTabOrder")
        .Default(-1);
  } else if (Name == "TabStop") {
    c.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).NoDefault();
  } else if (Name == "OnEnter") {
    c.Property("OnEnter", &TWinControl::OnEnter);
  } else if (Name == "OnExit") {
    c.Property("OnExit", &TWinControl::OnExit);
  } else if (Name == "OnKeyPress") {
    c.Property("OnKeyPress", &TWinControl::OnKeyPress);
  } else if (Name == "OnKeyDown") {
    c.Property("OnKeyDown", &TWinControl::OnKeyDown);
  } else {
    return false;
  }
  return true;
}

}  // namespace toolkit_detail

// A name the class does not have (a typing error, or a windowed control's property on a
// graphic control) fails at once, when the class is first used.
template <class T>
void PublishControlProperties(ClassBuilder<T>& c, std::initializer_list<std::string_view> Names) {
  for (std::string_view name : Names) {
    if (toolkit_detail::PublishControlProperty(c, name)) continue;
    if constexpr (std::is_base_of_v<TWinControl, T>) {
      if (toolkit_detail::PublishWinControlProperty(c, name)) continue;
    }
    throw EPropertyError("Class " + c.ClassName() + " has no property " + std::string(name) +
                         " to publish");
  }
}
