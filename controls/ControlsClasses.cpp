#include "controls/ControlsClasses.h"

#include "controls/BrowseFolder.h"
#include "controls/EditEx.h"
#include "controls/FileSelect.h"
#include "controls/MRUComboBox.h"
#include "package/UnitVersion.h"
#include "toolkit/model/ClassRegistry.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ControlsClasses.cpp 1.0");

}  // namespace

void RegisterControlsClasses() {
  RegisterClasses({TComboBoxEx::StaticClass(), TCustomMRUComboBox::StaticClass(),
                   TFileSelect::StaticClass(), TBrowseFolder::StaticClass()});
}
