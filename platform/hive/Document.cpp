#include "platform/hive/Document.h"

#include <algorithm>
#include <utility>

#include "platform/Unicode.h"
#include "platform/hive/Escaping.h"

namespace platform {

size_t HiveDocument::ChildIndex(KeyId parent, std::u16string_view name, bool& found) {
  // `name` may be a key's name in `names`: that key's parent has read its children, so
  // nothing is added while it is compared.
  const std::vector<KeyId>& children = Children(parent);
  found = false;
  // Files are written in Wine's order, so a new child usually goes last.
  if (children.empty()) return 0;
  const int last = CompareNames(Name(children.back()), name);
  if (last < 0) return children.size();
  if (last == 0) {
    found = true;
    return children.size() - 1;
  }
  size_t low = 0;
  size_t high = children.size() - 1;
  while (low < high) {
    const size_t mid = (low + high) / 2;
    if (CompareNames(Name(children[mid]), name) < 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  found = CompareNames(Name(children[low]), name) == 0;
  return low;
}

std::optional<KeyId> HiveDocument::FindChild(KeyId parent, std::u16string_view name) {
  bool found = false;
  const size_t index = ChildIndex(parent, name, found);
  if (!found) return std::nullopt;
  return keys[parent].children[index];
}

KeyId HiveDocument::FindOrAddChild(KeyId parent, std::u16string_view name, FileTime time) {
  bool found = false;
  const size_t index = ChildIndex(parent, name, found);
  if (found) return keys[parent].children[index];
  const auto id = static_cast<KeyId>(keys.size());
  KeyNode& node = keys.emplace_back();
  node.nameBegin = static_cast<uint32_t>(names.size());
  node.nameLength = static_cast<uint32_t>(name.size());
  node.parent = parent;
  node.time = time;
  names.append(name);
  std::vector<KeyId>& children = keys[parent].children;
  children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), id);
  return id;
}

void HiveDocument::AppendEscapedPath(std::string& out, KeyId key) const {
  std::vector<KeyId> chain;
  for (KeyId k = key; k != Hive::kRoot && k != kNone; k = keys[k].parent)
    chain.push_back(k);
  for (size_t i = chain.size(); i-- > 0;) {
    AppendHiveEscaped(out, Name(chain[i]), '[', ']');
    if (i > 0) out += "\\\\";
  }
}

size_t HiveDocument::ValueIndex(const std::vector<StoredValue>& values, std::u16string_view name,
                                bool& found) {
  size_t low = 0;
  size_t high = values.size();
  if (!values.empty() && CompareNames(values.back().name, name) < 0) low = high;
  while (low < high) {
    const size_t mid = (low + high) / 2;
    if (CompareNames(values[mid].name, name) < 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  found = low < values.size() && CompareNames(values[low].name, name) == 0;
  return low;
}

std::optional<KeyId> HiveDocument::LastKeyWithBlockIn(KeyId subtree) {
  // Reverse pre-order: the children last to first, each with its whole subtree, then the
  // key itself. Iterative, as hand-made files can nest keys very deeply.
  std::vector<std::pair<KeyId, size_t>> stack{{subtree, Children(subtree).size()}};
  while (!stack.empty()) {
    const auto [key, remaining] = stack.back();
    if (remaining > 0) {
      stack.back().second = remaining - 1;
      const KeyId child = keys[key].children[remaining - 1];
      stack.emplace_back(child, Children(child).size());
      continue;
    }
    if (!keys[key].blocks.empty()) return key;
    stack.pop_back();
  }
  return std::nullopt;
}

std::optional<KeyId> HiveDocument::PrecedingKeyWithBlock(KeyId key) {
  for (KeyId current = key; current != Hive::kRoot;) {
    const KeyId parent = keys[current].parent;
    bool found = false;
    size_t index = ChildIndex(parent, Name(current), found);
    while (index-- > 0) {
      if (auto last = LastKeyWithBlockIn(keys[parent].children[index])) return last;
    }
    if (!keys[parent].blocks.empty()) return parent;
    current = parent;
  }
  return std::nullopt;
}

void HiveDocument::Report(size_t offset, std::string message, std::string_view lineText) {
  // Quote the start of the line, as Wine's loader does, with unprintable bytes masked.
  constexpr size_t kExcerpt = 60;
  message += ": '";
  for (size_t i = 0; i < lineText.size() && i < kExcerpt; ++i) {
    const auto c = static_cast<unsigned char>(lineText[i]);
    message += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  if (lineText.size() > kExcerpt) message += "...";
  message += '\'';
  faults.push_back({offset, std::move(message)});
}

void HiveDocument::NumberFaults() {
  std::stable_sort(faults.begin(), faults.end(),
                   [](const Fault& a, const Fault& b) { return a.offset < b.offset; });
  size_t counted = 0;
  int line = 1;
  for (Fault& fault : faults) {
    line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                                        text.begin() + static_cast<std::ptrdiff_t>(fault.offset),
                                        '\n'));
    counted = fault.offset;
    diagnostics.push_back({line, std::move(fault.message)});
  }
  faults.clear();
}

}  // namespace platform
