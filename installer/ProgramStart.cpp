#include "installer/ProgramStart.h"

#include "config/ConfigClasses.h"
#include "controls/ControlsClasses.h"
#include "installer/MachineReadAhead.h"
#include "installer/PolyverbInstallMain.h"
#include "package/PackageClasses.h"
#include "package/UnitVersion.h"
#include "package/Utils.h"
#include "platform/Machine.h"
#include "toolkit/forms/Forms.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("ProgramStart.cpp 1.0");

}  // namespace

void RegisterSetupClasses() {
  RegisterPackageClasses();
  RegisterControlsClasses();
  RegisterConfigClasses();
}

void CreateSetupForm() {
  // The prefix's hives are read while the window system and its fonts start.
  StartReadingTheMachine();
  Application->SetTitle("Setup");
  Application->Initialize();
  RegisterSetupClasses();
  Application->SetShowMainForm(false);
  Application->CreateForm(PolyverbInstallForm);
  // The start-up's lookups are done; a run reads again what it needs.
  platform::Machine::Current().registry().Release();
}

int RunSetupProgram(const std::function<void(TPolyverbInstallForm&)>& WhenShown,
                    const std::function<void(TPolyverbInstallForm&)>& WhenDone) {
  CreateSetupForm();
  const bool ready = PolyverbInstallForm->FReady;
  if (ready) {
    PolyverbInstallForm->Show();
    if (WhenShown) WhenShown(*PolyverbInstallForm);
  } else {
    Application->Terminate();
  }
  Application->Run();
  if (WhenDone) WhenDone(*PolyverbInstallForm);
  // Program end: the form goes, whether or not it was ever shown.
  DeleteClass(PolyverbInstallForm);
  return ready ? 0 : 1;
}
