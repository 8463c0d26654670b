#include "package/SettingsText.h"

#include "package/UnitVersion.h"
#include "platform/StringFunctions.h"

namespace {

[[maybe_unused]] const bool kUnitVersion = UnitVersion("SettingsText.cpp 1.0");

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlankLine(std::string_view content) {
  return content.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

SettingsText SettingsText::Parse(std::string_view text) {
  SettingsText document;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    document.bom_ = kByteOrderMark;
    text.remove_prefix(kByteOrderMark.size());
  }
  bool styleFound = false;
  while (!text.empty()) {
    Line line;
    const size_t newline = text.find('\n');
    if (newline == std::string_view::npos) {
      line.content = text;
      // A lone CR at the very end is a line end too, kept as it is.
      if (line.content.back() == '\r') line.content.pop_back(), line.end = "\r";
      text = {};
    } else {
      const bool crlf = newline > 0 && text[newline - 1] == '\r';
      line.content = text.substr(0, crlf ? newline - 1 : newline);
      line.end = crlf ? "\r\n" : "\n";
      text.remove_prefix(newline + 1);
      if (!styleFound) document.newline_ = line.end, styleFound = true;
    }
    line.parsed = ParseSettingsLine(line.content);
    document.lines_.push_back(std::move(line));
  }
  return document;
}

std::string SettingsText::Render() const {
  std::string text = bom_;
  for (const Line& line : lines_)
    text += line.content, text += line.end;
  return text;
}

template <class Visit>
void SettingsText::Walk(Visit visit) const {
  const std::string* section = nullptr;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const SettingsLine& parsed = lines_[i].parsed;
    if (parsed.kind == SettingsLine::Section) section = &parsed.name;
    if (parsed.kind == SettingsLine::BrokenSection) section = nullptr;
    visit(i, section);
  }
}

std::optional<size_t> SettingsText::FindEntry(std::string_view section,
                                              std::string_view name) const {
  std::optional<size_t> found;
  Walk([&](size_t i, const std::string* in) {
    const SettingsLine& parsed = lines_[i].parsed;
    if (!found && in != nullptr && parsed.kind == SettingsLine::Entry &&
        platform::SameText(*in, section) && platform::SameText(parsed.name, name)) {
      found = i;
    }
  });
  return found;
}

std::optional<size_t> SettingsText::InsertionPoint(std::string_view section) const {
  std::optional<size_t> header;
  std::optional<size_t> last;
  Walk([&](size_t i, const std::string* in) {
    const SettingsLine& parsed = lines_[i].parsed;
    if (parsed.kind == SettingsLine::Section && !header &&
        platform::SameText(parsed.name, section)) {
      header = last = i;
    } else if (header && in == &lines_[*header].parsed.name && parsed.kind == SettingsLine::Entry) {
      last = i;
    }
  });
  return last;
}

std::optional<std::string> SettingsText::Read(std::string_view section,
                                              std::string_view name) const {
  const std::optional<size_t> entry = FindEntry(section, name);
  if (!entry) return std::nullopt;
  return lines_[*entry].parsed.value;
}

bool SettingsText::Write(std::string_view section, std::string_view name, std::string_view value,
                         const std::optional<SettingsHint>& hint) {
  if (const std::optional<size_t> entry = FindEntry(section, name)) {
    const Line& line = lines_[*entry];
    const SettingsLine& parsed = line.parsed;
    const std::string_view comment = parsed.comment == SettingsLine::npos
                                         ? std::string_view()
                                         : std::string_view(line.content).substr(parsed.comment);
    const bool sameHint = !hint || CommentText(comment) == HintText(hint->text);
    if (parsed.value == value && sameHint) return false;

    // The entry keeps its indentation and the spelling of its name; without a new hint, the
    // comment beside it stays too (one blank before it, so it cannot join a plain value).
    std::string content = line.content.substr(0, parsed.indent) + EntryLine(parsed.name, value);
    if (hint) {
      content = WithHint(std::move(content), hint->text, hint->position);
    } else if (!comment.empty()) {
      if (comment.front() != ' ' && comment.front() != '\t') content += ' ';
      content += comment;
    }
    SetLine(*entry, std::move(content));
    return true;
  }

  std::string content = EntryLine(name, value);
  if (hint) content = WithHint(std::move(content), hint->text, hint->position);
  if (const std::optional<size_t> after = InsertionPoint(section)) {
    InsertLine(*after + 1, std::move(content));
    return true;
  }
  // A new section goes at the end, after a blank line that sets it apart.
  if (!lines_.empty() && !IsBlankLine(lines_.back().content)) InsertLine(lines_.size(), "");
  InsertLine(lines_.size(), SectionLine(section));
  InsertLine(lines_.size(), std::move(content));
  return true;
}

std::vector<SettingsText::Entry> SettingsText::Entries() const {
  std::vector<Entry> entries;
  Walk([&](size_t i, const std::string* in) {
    const SettingsLine& parsed = lines_[i].parsed;
    if (in != nullptr && parsed.kind == SettingsLine::Entry)
      entries.push_back({*in, parsed.name, parsed.value});
  });
  return entries;
}

void SettingsText::SetLine(size_t index, std::string content) {
  Line& line = lines_[index];
  line.content = std::move(content);
  line.parsed = ParseSettingsLine(line.content);
}

void SettingsText::InsertLine(size_t index, std::string content) {
  Line line;
  line.content = std::move(content);
  line.parsed = ParseSettingsLine(line.content);
  line.end = newline_;
  if (index == lines_.size() && !lines_.empty()) {
    // The old last line gets a whole line end; the new one ends the text as the old one did.
    Line& last = lines_.back();
    if (last.end.empty() || last.end == "\r") {
      last.end = last.end.empty() ? newline_ : "\r\n";
      line.end.clear();
    }
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}
