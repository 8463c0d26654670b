#pragma once

// Small components of the kind a form translates: controls with a caption and a hint, a
// bar whose buttons are collection items, a component that sets the language from its
// Loaded as a settings component does, and a form that records its language handler.

#include <string>
#include <vector>

#include "package/Polyverb.h"
#include "toolkit/model/Classes.h"

class TSampleControl : public TComponent {
  TOOLKIT_CLASS(TSampleControl, TComponent)

  explicit TSampleControl(TComponent* AOwner) : TComponent(AOwner) {}

  std::string Caption;
  std::string Hint;
};

class TSampleButton : public TCollectionItem {
  TOOLKIT_CLASS(TSampleButton, TCollectionItem)

  explicit TSampleButton(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  std::string Caption;
};

class TSampleButtonBar : public TComponent {
  TOOLKIT_CLASS(TSampleButtonBar, TComponent)

  explicit TSampleButtonBar(TComponent* AOwner);
  ~TSampleButtonBar() override;

  TCollection* Buttons() const { return buttons_; }
  void SetButtons(TCollection* Value) { buttons_->Assign(Value); }
  std::string ButtonCaption(int Index) const;

 private:
  TOwnedCollection* buttons_;
};

// Sets the language of Polyverb from its Loaded, as a settings component loads a stored
// language while the form is still being built.
class TSampleLanguageLoader : public TComponent {
  TOOLKIT_CLASS(TSampleLanguageLoader, TComponent)

  explicit TSampleLanguageLoader(TComponent* AOwner) : TComponent(AOwner) {}

  TPolyverb* Polyverb = nullptr;
  std::string Stored;

 protected:
  void Loaded() override;
};

class TSampleLangForm : public TComponent {
  TOOLKIT_CLASS(TSampleLangForm, TComponent)

  explicit TSampleLangForm(TComponent* AOwner) : TComponent(AOwner) {}

  std::string Caption;
  TPolyverb* Polyverb = nullptr;
  TSampleControl* BtnInstall = nullptr;
  TSampleControl* FolderSelect = nullptr;
  TSampleButtonBar* ButtonPanel = nullptr;
  // What PolyverbChange saw each time: the language and the caption of BtnInstall.
  std::vector<std::string> Changes;

  void PolyverbChange(TObject* Sender);
};

void RegisterPolyverbSamples();
