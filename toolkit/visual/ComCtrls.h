#pragma once

// TRichEdit: a text control over lines, here used for status lists. Appending a line
// costs the same however long the list has grown.

#include <string>

#include "toolkit/model/StoredStrings.h"
#include "toolkit/visual/Controls.h"

TOOLKIT_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

class TRichEdit;

class TRichEditStrings : public TStoredStrings {
  TOOLKIT_CLASS(TRichEditStrings, TStoredStrings)

  explicit TRichEditStrings(TRichEdit* Edit) : edit_(Edit) {}

 protected:
  // The lines carry no objects, as the classic control's lines carry none.
  void PutObject(int, TObject*) override {}
  void SetUpdateState(bool Updating) override;
  void LinesChanged(TLinesChange Change, int Index) override;

 private:
  friend class TRichEdit;

  TRichEdit* edit_;
};

class TRichEdit : public TWinControl {
  TOOLKIT_CLASS(TRichEdit, TWinControl)

  explicit TRichEdit(TComponent* AOwner);
  ~TRichEdit() override;

  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  bool PlainText() const { return plainText_; }
  void SetPlainText(bool Value) { plainText_ = Value; }

  TNotifyEvent OnChange;

 protected:
  std::string GetText() const override;
  void SetTextValue(const std::string& Value) override;
  HWND CreateWidget(HWND ParentWidget) override;
  void WidgetCreated() override;
  bool ColorIsTextBackground() const override { return true; }

 private:
  friend class TRichEditStrings;

  // A line added at the end is appended to the widget; anything else rebuilds it.
  void LineAppended(const std::string& Line);
  void LinesChanged();
  void ShowAppendedLine(const std::string& Line);
  void ShowLines();
  void UpdateOptions();

  TRichEditStrings* lines_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool plainText_ = false;
};
