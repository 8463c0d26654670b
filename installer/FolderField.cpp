#include "installer/FolderField.h"

#include <algorithm>

#include "package/UnitVersion.h"
#include "platform/Strings.h"
#include "toolkit/ClassBuilder.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("FolderField.cpp 1.0");

}  // namespace

TClass TFolderField::StaticClass() {
  return DefineClass<TFolderField>("TFolderField", [](ClassBuilder<TFolderField>& c) {
    c.Property("HistoryListCount", &TFolderField::HistoryListCount,
               &TFolderField::SetHistoryListCount)
        .Default(8);
    c.Property("History", &TFolderField::History, &TFolderField::SetHistory);
  });
}

TFolderField::TFolderField(TComponent* AOwner) : TComboBox(AOwner) {}

std::string TFolderField::History() const {
  std::string text;
  for (int i = 0; i < Items()->Count(); ++i)
    text += Items()->Strings(i) + ";";
  return text;
}

void TFolderField::SetHistory(const std::string& Value) {
  Items()->Clear();
  std::string::size_type start = 0;
  while (start < Value.size()) {
    std::string::size_type end = Value.find(';', start);
    if (end == std::string::npos) end = Value.size();
    const std::string entry = platform::Trim(Value.substr(start, end - start));
    if (!entry.empty()) Items()->Add(entry);
    start = end + 1;
  }
  TrimHistory();
}

void TFolderField::SetHistoryListCount(int Value) {
  historyListCount_ = std::max(1, Value);
  TrimHistory();
}

bool TFolderField::ApplyText() {
  SetDroppedDown(false);
  const std::string folder = platform::Trim(Text());
  if (folder.empty()) return false;
  Commit(folder);
  return true;
}

void TFolderField::Loaded() {
  inherited::Loaded();
  if (Items()->Count() > 0) Commit(Items()->Strings(0));
}

void TFolderField::Commit(const std::string& Folder) {
  for (int i = Items()->Count() - 1; i >= 0; --i) {
    if (platform::SameText(Items()->Strings(i), Folder)) Items()->Delete(i);
  }
  Items()->Insert(0, Folder);
  TrimHistory();
  fileName_ = Folder;
  SetText(Folder);
}

void TFolderField::TrimHistory() {
  while (Items()->Count() > historyListCount_)
    Items()->Delete(Items()->Count() - 1);
}
