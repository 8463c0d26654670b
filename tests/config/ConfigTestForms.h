#pragma once

// Forms that own a configuration component and the sample components it persists, and a
// settings object whose properties are grouped into sections by their index.

#include <functional>
#include <string>

#include "config/ConfigFile.h"
#include "package/SuperForm.h"
#include "tests/toolkit/SampleComponents.h"
#include "toolkit/forms/Forms.h"

class TConfigTestForm : public TSuperForm {
  TOOLKIT_CLASS(TConfigTestForm, TSuperForm)

  explicit TConfigTestForm(TComponent* AOwner) : TSuperForm(AOwner) {}

  TConfigFile* Config = nullptr;
  TSampleComponent* Sample = nullptr;
  TSampleComponent* Other = nullptr;
};

// A component whose Text counts how often it is set, and may do more when it is (AfterSet).
class TCountedComponent : public TComponent {
  TOOLKIT_CLASS(TCountedComponent, TComponent)

  explicit TCountedComponent(TComponent* AOwner) : TComponent(AOwner) {}

  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value) {
    text_ = Value;
    ++Sets;
    if (AfterSet) AfterSet();
  }
  int Sets = 0;
  std::function<void()> AfterSet;

 private:
  std::string text_;
};

// The same with an owner that cannot give its window state.
class TPlainConfigForm : public TForm {
  TOOLKIT_CLASS(TPlainConfigForm, TForm)

  explicit TPlainConfigForm(TComponent* AOwner) : TForm(AOwner) {}

  TConfigFile* Config = nullptr;
  TSampleComponent* Sample = nullptr;
};

// Stored properties with index 1 go to section "Window", with index 2 to "Paths" (the names of
// the not-stored properties with those indexes); Volume has no index.
class TWindowSettings : public TPersistent {
  TOOLKIT_CLASS(TWindowSettings, TPersistent)

  std::string Window;
  std::string Paths;
  std::int32_t Left = 10;
  std::int32_t Top = 20;
  std::string LastFolder = "C:\\Work";
  std::int32_t Volume = 5;
  double Zoom = 1.5;
  std::int32_t SetCalls = 0;  // how often a value was set by a load
};

void RegisterConfigTestClasses();
