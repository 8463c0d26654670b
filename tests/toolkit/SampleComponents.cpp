#include "tests/toolkit/SampleComponents.h"

std::vector<TLoadedCall>& LoadedCalls() {
  static std::vector<TLoadedCall> calls;
  return calls;
}

namespace {

// Records one Loaded call of Self, with the state of every component of its root.
template <class Inherited>
void RecordLoaded(TComponent* Self, Inherited&& callInherited) {
  TLoadedCall call;
  call.Name = Self->Name();
  call.LoadingOnEntry = Self->ComponentState().Contains(csLoading);
  callInherited();
  call.LoadingAfterInherited = Self->ComponentState().Contains(csLoading);
  TComponent* root = Self->Owner() != nullptr ? Self->Owner() : Self;
  if (root->ComponentState().Contains(csLoading)) call.StillLoading.push_back(root->Name());
  for (int i = 0; i < root->ComponentCount(); ++i) {
    if (root->Components(i)->ComponentState().Contains(csLoading)) {
      call.StillLoading.push_back(root->Components(i)->Name());
    }
  }
  LoadedCalls().push_back(call);
}

}  // namespace

TClass TSampleFont::StaticClass() {
  return DefineClass<TSampleFont>("TSampleFont", [](ClassBuilder<TSampleFont>& c) {
    c.Property("Name", &TSampleFont::Name).Default(std::string("Sans"));
    c.Property("Size", &TSampleFont::Size).Default(8);
    c.Property("Style", &TSampleFont::Style).Default(TSampleOptions{});
  });
}

void TSampleFont::Assign(TPersistent* Source) {
  if (auto* font = dynamic_cast<TSampleFont*>(Source)) {
    Name = font->Name;
    Size = font->Size;
    Style = font->Style;
    return;
  }
  inherited::Assign(Source);
}

TClass TSampleItem::StaticClass() {
  return DefineClass<TSampleItem>("TSampleItem", [](ClassBuilder<TSampleItem>& c) {
    c.Property("Caption", &TSampleItem::Caption);
    c.Property("Width", &TSampleItem::Width).Default(64);
    c.Property("Ref", &TSampleItem::Ref);
    c.Property("Flags", &TSampleItem::Flags).Default(TSampleOptions{});
  });
}

void TSampleItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TSampleItem*>(Source)) {
    Caption = item->Caption;
    Width = item->Width;
    Ref = item->Ref;
    Flags = item->Flags;
    return;
  }
  inherited::Assign(Source);
}

TClass TSampleComponent::StaticClass() {
  return DefineClass<TSampleComponent>("TSampleComponent", [](ClassBuilder<TSampleComponent>& c) {
    c.Property("Caption", &TSampleComponent::Caption);
    c.Property("Count", &TSampleComponent::Count).Default(3);
    c.Property("Enabled", &TSampleComponent::Enabled).Default(true);
    c.Property("Mode", &TSampleComponent::Mode).Default(smFast);
    c.Property("Options", &TSampleComponent::Options).Default(TSampleOptions{soBold});
    c.Property("Ratio", &TSampleComponent::Ratio);
    c.Property("Letter", &TSampleComponent::Letter).Default('x');
    c.Property("Hidden", &TSampleComponent::Hidden).Stored(false);
    c.Property("Level", &TSampleComponent::Level).Stored(&TSampleComponent::IsLevelStored);
    c.Property("Always", &TSampleComponent::Always);
    c.Property("Data", &TSampleComponent::Data);
    c.Property("Buddy", &TSampleComponent::Buddy, &TSampleComponent::SetBuddy);
    c.Property("Font", &TSampleComponent::Font, &TSampleComponent::SetFont);
    c.Property("Lines", &TSampleComponent::Lines, &TSampleComponent::SetLines);
    c.Property("Items", &TSampleComponent::Items, &TSampleComponent::SetItems);
    c.Property("OnChange", &TSampleComponent::OnChange);
    c.Property("OnCheck", &TSampleComponent::OnCheck);
  });
}

TSampleComponent::TSampleComponent(TComponent* AOwner)
    : TComponent(AOwner),
      LoadingInConstructor(ComponentState().Contains(csLoading)),
      font_(new TSampleFont),
      lines_(new TStringList),
      items_(new TOwnedCollection(this, TSampleItem::StaticClass())),
      entries_(new TOwnedCollection(this, TSampleItem::StaticClass())) {}

TSampleComponent::~TSampleComponent() {
  entries_->Free();
  items_->Free();
  lines_->Free();
  font_->Free();
}

void TSampleComponent::SetBuddy(TSampleComponent* Value) {
  if (buddy_ == Value) return;
  if (buddy_ != nullptr) buddy_->RemoveFreeNotification(this);
  buddy_ = Value;
  if (buddy_ != nullptr) buddy_->FreeNotification(this);
}

void TSampleComponent::Loaded() {
  RecordLoaded(this, [this] { inherited::Loaded(); });
}

void TSampleComponent::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == buddy_) buddy_ = nullptr;
}

void TSampleComponent::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty("Numbers", this, &TSampleComponent::ReadNumbers,
                        &TSampleComponent::WriteNumbers, !Numbers.empty());
  Filer->DefineBinaryProperty(
      "Blob", [this](const TBytes& Bytes) { Blob = Bytes; }, [this] { return Blob; },
      !Blob.empty());
  Filer->DefineProperty("Entries", this, &TSampleComponent::ReadEntries,
                        &TSampleComponent::WriteEntries, entries_->Count() > 0);
}

void TSampleComponent::ReadNumbers(TReader* Reader) {
  Numbers.clear();
  Reader->ReadListBegin();
  while (!Reader->EndOfList())
    Numbers.push_back(Reader->ReadInteger());
  Reader->ReadListEnd();
}

void TSampleComponent::WriteNumbers(TWriter* Writer) {
  Writer->WriteListBegin();
  for (std::int32_t number : Numbers)
    Writer->WriteInteger(number);
  Writer->WriteListEnd();
}

// As the configuration component reads its entries: the start marker, then the items.
void TSampleComponent::ReadEntries(TReader* Reader) {
  Reader->ReadValue();
  Reader->ReadCollection(entries_);
}

void TSampleComponent::WriteEntries(TWriter* Writer) {
  Writer->WriteCollection(entries_);
}

TClass TSampleForm::StaticClass() {
  return DefineClass<TSampleForm>("TSampleForm", [](ClassBuilder<TSampleForm>& c) {
    c.Field("First", &TSampleForm::First);
    c.Field("Second", &TSampleForm::Second);
    c.Method("FirstChange", &TSampleForm::FirstChange);
    c.Method("CheckValues", &TSampleForm::CheckValues);
  });
}

void TSampleForm::FirstChange(TObject* Sender) {
  Events.push_back("FirstChange(" + dynamic_cast<TComponent*>(Sender)->Name() + ")");
}

void TSampleForm::CheckValues(TObject*, bool& OK) {
  Events.push_back("CheckValues");
  OK = false;
}

void TSampleForm::Loaded() {
  RecordLoaded(this, [this] { inherited::Loaded(); });
}

void RegisterSampleClasses() {
  RegisterClasses({TSampleComponent::StaticClass(), TSampleForm::StaticClass()});
}
