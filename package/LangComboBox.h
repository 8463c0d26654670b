#pragma once

// TLangComboBox: a drop-down list of the languages of the language component, bound to one
// TPolyverb by its Polyverb property, both ways:
// - the user's confirmed choice (a pick from the list, or an arrow key on the closed box)
//   sets the language of Polyverb;
// - a language set elsewhere (by program, by loading the stored language) shows in the box.
// The box fills its own items, so a form description holds none of them. Without a language
// component (none bound, or the bound one freed) the box still works and sets nothing.

#include "package/Polyverb.h"
#include "toolkit/visual/StdCtrls.h"

class TLangComboBox : public TCustomComboBox {
  TOOLKIT_CLASS(TLangComboBox, TCustomComboBox)

  explicit TLangComboBox(TComponent* AOwner);
  ~TLangComboBox() override;

  TPolyverb* Polyverb() const { return polyverb_; }
  void SetPolyverb(TPolyverb* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change() override;

 private:
  void FillItems();
  // Shows the language of Polyverb; the handler it calls on every change of language.
  void PolyverbChanged(TObject* Sender);
  void ShowLanguage();

  TPolyverb* polyverb_ = nullptr;
};
