#include "tests/config/ConfigTestForms.h"

#include "config/ConfigClasses.h"
#include "package/PackageClasses.h"
#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ClassRegistry.h"

TClass TConfigTestForm::StaticClass() {
  return DefineClass<TConfigTestForm>("TConfigTestForm", [](ClassBuilder<TConfigTestForm>& c) {
    c.Field("Config", &TConfigTestForm::Config);
    c.Field("Sample", &TConfigTestForm::Sample);
    c.Field("Other", &TConfigTestForm::Other);
  });
}

TClass TCountedComponent::StaticClass() {
  return DefineClass<TCountedComponent>(
      "TCountedComponent", [](ClassBuilder<TCountedComponent>& c) {
        c.Property("Text", &TCountedComponent::Text, &TCountedComponent::SetText);
      });
}

TClass TPlainConfigForm::StaticClass() {
  return DefineClass<TPlainConfigForm>("TPlainConfigForm", [](ClassBuilder<TPlainConfigForm>& c) {
    c.Field("Config", &TPlainConfigForm::Config);
    c.Field("Sample", &TPlainConfigForm::Sample);
  });
}

TClass TWindowSettings::StaticClass() {
  return DefineClass<TWindowSettings>("TWindowSettings", [](ClassBuilder<TWindowSettings>& c) {
    using T = TWindowSettings;
    c.Property("Window", &T::Window).Index(1).Stored(false);
    c.Property("Paths", &T::Paths).Index(2).Stored(false);
    const auto counted = [](auto Member) {
      return [Member](T* Self, auto Value) {
        ++Self->SetCalls;
        Self->*Member = Value;
      };
    };
    c.Property("Left", &T::Left, counted(&T::Left)).Index(1);
    c.Property("Top", &T::Top, counted(&T::Top)).Index(1);
    c.Property("LastFolder", &T::LastFolder, counted(&T::LastFolder)).Index(2);
    c.Property("Volume", &T::Volume, counted(&T::Volume));
    c.Property("Zoom", &T::Zoom, counted(&T::Zoom));
  });
}

void RegisterConfigTestClasses() {
  RegisterPackageClasses();
  RegisterConfigClasses();
  RegisterSampleClasses();
  RegisterClasses({TConfigTestForm::StaticClass(), TPlainConfigForm::StaticClass()});
}
