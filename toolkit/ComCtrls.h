#pragma once

// TRichEdit: a text control over lines, here used for status lists. Appending a line
// costs the same however long the list has grown.

#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Strings.h"

TOOLKIT_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

class TRichEdit;

class TRichEditStrings : public TStrings {
  TOOLKIT_CLASS(TRichEditStrings, TStrings)

  explicit TRichEditStrings(TRichEdit* Edit) : edit_(Edit) {}

  int Add(const std::string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;

 protected:
  std::string Get(int Index) const override;
  int GetCount() const override { return static_cast<int>(lines_.size()); }
  void Put(int Index, const std::string& S) override;
  void SetUpdateState(bool Updating) override;

 private:
  friend class TRichEdit;
  void CheckIndex(int Index, int Limit) const;

  TRichEdit* edit_;
  std::vector<std::string> lines_;
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
  void UpdateOptions();

  TRichEditStrings* lines_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool plainText_ = false;
};
