#pragma once

// TSuperForm: the base class of the package's forms. It gives the window's position, size
// and state as one line of text (see WindowPlacement.h), so that a settings component can
// store it and put the window back where the user left it on the next start.

#include <string>

#include "toolkit/forms/Forms.h"

class TSuperForm : public TForm {
  TOOLKIT_CLASS(TSuperForm, TForm)

  explicit TSuperForm(TComponent* AOwner) : TForm(AOwner) {}

  // "Left,Top,Width,Height,State" of the window, e.g. "192,107,513,395,wsNormal".
  std::string GetWindowStateData() const;

  // Restores what GetWindowStateData gave. A text that cannot be read changes nothing.
  // Restoring is sensible rather than literal:
  // - a form that is not sizeable keeps its own size (the text may come from an older
  //   layout), a sizeable one is made no larger than the screen;
  // - the window is moved as far as needed to be wholly on the screen (the top left
  //   corner first, when it is larger than the screen);
  // - the window stays where it is put: a centred form is no longer centred on showing;
  // - a minimized window comes back normal, as a program does not start minimized;
  //   a maximized one comes back maximized over its restored normal bounds.
  void SetWindowStateData(const std::string& Data);

 private:
  bool IsSizeable() const;
};
