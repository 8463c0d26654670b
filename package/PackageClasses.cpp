#include "package/PackageClasses.h"

#include "package/ButtonPanel.h"
#include "package/LangComboBox.h"
#include "package/Polyverb.h"
#include "package/SuperForm.h"
#include "package/UnitVersion.h"
#include "toolkit/model/ClassRegistry.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("PackageClasses.cpp 1.0");

}  // namespace

void RegisterPackageClasses() {
  RegisterClasses({TPolyverb::StaticClass(), TLangComboBox::StaticClass(),
                   TButtonPanel::StaticClass(), TSuperForm::StaticClass()});
}
