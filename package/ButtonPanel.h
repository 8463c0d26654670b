#pragma once

// TButtonPanel: a panel that holds a row of buttons, described as items of its Buttons
// collection rather than as controls of the form:
//
//   object ButtonPanel: TButtonPanel
//     Align = alBottom
//     Buttons = <
//       item
//         Caption = '&Continue'
//         Kind = bkOK
//         OnClick = ButtonPanelContinueClick
//       end>
//   end
//
// Each item has a real TBitBtn on the panel (owned by the panel), which follows the item's
// Caption, Kind, Enabled and Visible. The buttons sit at the right, each 128 by 32, 8 apart
// and 8 from the right edge of the inside of the panel (within its bevels), centred
// vertically; an invisible button takes no room. They are laid out again whenever the panel
// is resized or an item changes, and their tab order is the items' order. A button of kind
// bkOK is the default button (Enter), one of kind bkCancel the cancel button (Escape).

#include <string>

#include "toolkit/model/Collection.h"
#include "toolkit/visual/Buttons.h"
#include "toolkit/visual/ExtCtrls.h"

class TButtonPanel;

// The property indexes of SetBool and GetBool.
constexpr int kButtonItemEnabled = 2;
constexpr int kButtonItemVisible = 3;

class TButtonItem : public TCollectionItem {
  TOOLKIT_CLASS(TButtonItem, TCollectionItem)

  explicit TButtonItem(TCollection* Collection);
  ~TButtonItem() override;
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override;

  // The caption; empty shows the caption of the button's Kind ("OK", "Cancel", ...).
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Value);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind Value);

  // A boolean property by index: kButtonItemEnabled (2) or kButtonItemVisible (3); any other index
  // raises ECriticalError.
  bool GetBool(int Index) const;
  void SetBool(int Index, bool Value);
  bool Enabled() const { return enabled_; }
  bool Visible() const { return visible_; }

  // The item's button; null for an item outside a button panel.
  TBitBtn* Button() const { return button_; }
  TButtonPanel* Panel() const;

  // Fired when the button is clicked (by the user, Enter or Escape, or Click).
  TNotifyEvent OnClick;
  void Click();

 private:
  friend class TButtonPanel;

  void ButtonClicked(TObject* Sender);
  void ShowCaption();

  std::string caption_;
  TBitBtnKind kind_ = bkCustom;
  bool enabled_ = true;
  bool visible_ = true;
  TBitBtn* button_ = nullptr;
};

class TButtonCollection : public TOwnedCollection {
  TOOLKIT_CLASS(TButtonCollection, TOwnedCollection)

  explicit TButtonCollection(TButtonPanel* Panel);

  TButtonItem* GetItem(int Index) const;
  TButtonPanel* Panel() const { return panel_; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TButtonPanel* panel_;
};

class TButtonPanel : public TPanel {
  TOOLKIT_CLASS(TButtonPanel, TPanel)

  explicit TButtonPanel(TComponent* AOwner);
  ~TButtonPanel() override;

  TButtonCollection* Buttons() const { return buttons_; }
  void SetButtons(TButtonCollection* Value) { buttons_->Assign(Value); }

  // Places the buttons and sets their tab order; done by the panel itself whenever needed.
  void LayoutButtons();

 protected:
  void Loaded() override;
  void Resize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TButtonCollection* buttons_;
};
