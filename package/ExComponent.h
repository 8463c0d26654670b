#pragma once

// TExComponent: the base class of the package's non-visual components. It adds the
// questions about the component's state that their property setters keep asking.

#include "toolkit/model/Component.h"

class TExComponent : public TComponent {
  TOOLKIT_CLASS(TExComponent, TComponent)

  explicit TExComponent(TComponent* AOwner) : TComponent(AOwner) {}

  // Being read from a form description: Loaded has not run yet.
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
};
