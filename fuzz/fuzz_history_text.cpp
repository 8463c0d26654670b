// Fuzzes the history text of the history combo box: any text written as History, under any
// list sizes, must never fail loudly, and must give the list a model reads from the text:
// the segments between ";" and line breaks, at most HistoryListCount of them, with the trimmed
// first one committed on top. Read back, History is the list with ";" after each entry, and
// written again it stays the same. The field has a parent but no window, as before a form is
// shown, so no display is needed.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "controls/MRUComboBox.h"
#include "platform/StringFunctions.h"
#include "toolkit/model/ScopeGuards.h"
#include "toolkit/visual/ExtCtrls.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

class TFuzzField : public TCustomMRUComboBox {
 public:
  explicit TFuzzField(TComponent* AOwner) : TCustomMRUComboBox(AOwner) {}
  using TCustomMRUComboBox::CommittedText;
};

// The text's segments: a ";", CR LF, CR or LF ends one; nothing after the last end is no entry.
std::vector<std::string> Segments(std::string_view text) {
  std::vector<std::string> segments;
  std::string current;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ';' || c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      segments.push_back(current);
      current.clear();
      open = false;
    } else {
      current += c;
      open = true;
    }
  }
  if (open) segments.push_back(current);
  return segments;
}

std::vector<std::string> Expected(std::string_view text, int maxCount) {
  std::vector<std::string> list = Segments(text);
  if (static_cast<int>(list.size()) > maxCount) list.resize(static_cast<std::size_t>(maxCount));
  if (list.empty()) return list;
  const std::string first = platform::Trim(list.front());
  if (first.empty()) return list;
  bool removed = false;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (platform::SameText(*it, first)) {
      list.erase(it);
      removed = true;
      break;
    }
  }
  list.insert(list.begin(), first);
  if (!removed && static_cast<int>(list.size()) > maxCount) list.pop_back();
  return list;
}

std::vector<std::string> Entries(const TFuzzField& field) {
  std::vector<std::string> entries;
  for (int i = 0; i < field.HistoryList()->Count(); ++i)
    entries.push_back(field.HistoryList()->Strings(i));
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // Small counts, negative ones included, so that full lists are common.
  const int dropDownCount = static_cast<int>(data[0] % 16) - 2;
  const int historyListCount = static_cast<int>(data[1] % 24) - 4;
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  auto* parent = new TPanel(nullptr);
  const ScopeExit freeParent([parent] { parent->Free(); });
  auto* field = new TFuzzField(parent);
  field->SetParent(parent);
  field->SetDropDownCount(dropDownCount);
  field->SetHistoryListCount(historyListCount);
  field->SetHistory(std::string(text));

  const int maxCount = field->HistoryListCount();
  Check(field->DropDownCount() >= 4 && maxCount >= field->DropDownCount());
  Check(maxCount == std::max(historyListCount, field->DropDownCount()));
  const std::vector<std::string> entries = Entries(*field);
  Check(static_cast<int>(entries.size()) <= maxCount);
  Check(entries == Expected(text, maxCount));

  std::string joined;
  for (const std::string& entry : entries)
    joined += entry + ";";
  const std::string history = field->History();
  Check(history == joined);
  const std::string committed = field->CommittedText();
  Check(committed == platform::Trim(committed));
  Check(committed.empty() || entries.front() == committed);

  field->SetHistory(history);
  Check(field->History() == history);
  Check(field->CommittedText() == committed);
  return 0;
}
