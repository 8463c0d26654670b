#include "package/SuperForm.h"

#include <algorithm>

#include "package/UnitVersion.h"
#include "package/WindowPlacement.h"
#include "toolkit/model/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("SuperForm.cpp 1.0");

// Start and extent of a window along one side of the screen, moved as little as needed to
// be wholly on it; a window larger than the screen starts at its edge.
int OntoScreen(int Start, int Extent, int ScreenExtent) {
  return std::clamp(Start, 0, std::max(0, ScreenExtent - Extent));
}

}  // namespace

TClass TSuperForm::StaticClass() {
  return DefineClass<TSuperForm>("TSuperForm", [](ClassBuilder<TSuperForm>&) {});
}

std::string TSuperForm::GetWindowStateData() const {
  return FormatWindowPlacement({Left(), Top(), Width(), Height(), WindowState()});
}

void TSuperForm::SetWindowStateData(const std::string& Data) {
  const std::optional<TWindowPlacement> placement = ParseWindowPlacement(Data);
  if (!placement) return;
  const int screenWidth = Screen->Width();
  const int screenHeight = Screen->Height();
  int width = Width();
  int height = Height();
  if (IsSizeable()) {
    width = std::min(placement->Width, screenWidth);
    height = std::min(placement->Height, screenHeight);
  }
  SetPosition(poDesigned);
  SetBounds(OntoScreen(placement->Left, width, screenWidth),
            OntoScreen(placement->Top, height, screenHeight), width, height);
  SetWindowState(placement->State == wsMinimized ? wsNormal : placement->State);
}

bool TSuperForm::IsSizeable() const {
  return BorderStyle() == bsSizeable || BorderStyle() == bsSizeToolWin;
}
