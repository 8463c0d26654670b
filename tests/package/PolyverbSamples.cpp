#include "tests/package/PolyverbSamples.h"

TClass TSampleControl::StaticClass() {
  return DefineClass<TSampleControl>("TSampleControl", [](ClassBuilder<TSampleControl>& c) {
    c.Property("Caption", &TSampleControl::Caption);
    c.Property("Hint", &TSampleControl::Hint);
  });
}

TClass TSampleButton::StaticClass() {
  return DefineClass<TSampleButton>("TSampleButton", [](ClassBuilder<TSampleButton>& c) {
    c.Property("Caption", &TSampleButton::Caption);
  });
}

void TSampleButton::Assign(TPersistent* Source) {
  if (auto* button = dynamic_cast<TSampleButton*>(Source)) {
    Caption = button->Caption;
    return;
  }
  inherited::Assign(Source);
}

TClass TSampleButtonBar::StaticClass() {
  return DefineClass<TSampleButtonBar>("TSampleButtonBar", [](ClassBuilder<TSampleButtonBar>& c) {
    c.Property("Buttons", &TSampleButtonBar::Buttons, &TSampleButtonBar::SetButtons);
  });
}

TSampleButtonBar::TSampleButtonBar(TComponent* AOwner)
    : TComponent(AOwner), buttons_(new TOwnedCollection(this, TSampleButton::StaticClass())) {}

TSampleButtonBar::~TSampleButtonBar() {
  buttons_->Free();
}

std::string TSampleButtonBar::ButtonCaption(int Index) const {
  return static_cast<TSampleButton*>(buttons_->Items(Index))->Caption;
}

TClass TSampleLanguageLoader::StaticClass() {
  return DefineClass<TSampleLanguageLoader>(
      "TSampleLanguageLoader", [](ClassBuilder<TSampleLanguageLoader>& c) {
        c.Property("Polyverb", &TSampleLanguageLoader::Polyverb);
        c.Property("Stored", &TSampleLanguageLoader::Stored);
      });
}

void TSampleLanguageLoader::Loaded() {
  inherited::Loaded();
  if (Polyverb != nullptr && !Stored.empty()) Polyverb->SetLanguage(Stored);
}

TClass TSampleLangForm::StaticClass() {
  return DefineClass<TSampleLangForm>("TSampleLangForm", [](ClassBuilder<TSampleLangForm>& c) {
    c.Property("Caption", &TSampleLangForm::Caption);
    c.Field("Polyverb", &TSampleLangForm::Polyverb);
    c.Field("BtnInstall", &TSampleLangForm::BtnInstall);
    c.Field("FolderSelect", &TSampleLangForm::FolderSelect);
    c.Field("ButtonPanel", &TSampleLangForm::ButtonPanel);
    c.Method("PolyverbChange", &TSampleLangForm::PolyverbChange);
  });
}

void TSampleLangForm::PolyverbChange(TObject* Sender) {
  auto* polyverb = dynamic_cast<TPolyverb*>(Sender);
  Changes.push_back(polyverb->Language() + ": " + BtnInstall->Caption);
}

void RegisterPolyverbSamples() {
  RegisterClasses({TPolyverb::StaticClass(), TSampleControl::StaticClass(),
                   TSampleButtonBar::StaticClass(), TSampleLanguageLoader::StaticClass(),
                   TSampleLangForm::StaticClass()});
}
