#include "platform/hive/Hive.h"

#include <utility>

#include "platform/Unicode.h"
#include "platform/hive/BlockStarts.h"
#include "platform/hive/Document.h"
#include "platform/hive/KeyBlocks.h"
#include "platform/hive/KeyLineOrder.h"
#include "platform/hive/KeyText.h"
#include "platform/hive/KeyTimes.h"
#include "platform/hive/Scanning.h"

namespace platform {

struct Hive::Impl {
  HiveDocument doc;

  // The key is written from the model from now on; a key Wine would write that has no
  // block yet gets one where Wine's depth-first order puts it.
  void MarkChanged(KeyId key) {
    LoadKey(doc, key);
    doc.keys[key].changed = true;
    doc.modified = true;
    if (!doc.keys[key].blocks.empty() || !IsWrittenByWine(doc.keys[key])) return;
    const auto blockId = static_cast<uint32_t>(doc.blocks.size());
    Block block;
    block.key = key;
    block.checked = true;
    if (const std::optional<KeyId> before = doc.PrecedingKeyWithBlock(key)) {
      const uint32_t previousId = doc.keys[*before].blocks.front();
      // Its text stays as it is, so it keeps any blank line its hex data goes on over.
      SettleBlockStart(doc, previousId + 1);
      Block& previous = doc.blocks[previousId];
      block.next = previous.next;
      previous.next = blockId;
    } else {
      block.next = doc.firstBlock;
      doc.firstBlock = blockId;
    }
    doc.blocks.push_back(std::move(block));
    doc.keys[key].blocks.push_back(blockId);
  }

  // Wine's touch_key: a new time, and the key is written again.
  void Touch(KeyId key, FileTime now) {
    LoadKey(doc, key);
    doc.keys[key].time = now;
    doc.keys[key].timeSet = true;
    MarkChanged(key);
  }

  std::optional<KeyId> FindPath(KeyId parent, std::string_view path) {
    const std::u16string units = Utf8ToUtf16(path);
    KeyId key = parent;
    for (std::u16string_view component : SplitKeyPath(units)) {
      const std::optional<KeyId> child = doc.FindChild(key, component);
      if (!child) return std::nullopt;
      key = *child;
    }
    return key;
  }

  StoredValue* FindStored(KeyId key, std::string_view name) {
    LoadKey(doc, key);
    bool found = false;
    std::vector<StoredValue>& values = *doc.keys[key].values;
    const size_t index = HiveDocument::ValueIndex(values, Utf8ToUtf16(name), found);
    return found ? &values[index] : nullptr;
  }
};

namespace {

HiveDocument ReadDocument(std::string text, Hive::KeyReading reading) {
  HiveDocument doc;
  doc.loadTime = FileTimeNow();
  doc.text = std::move(text);
  // Wine's files hold a key every few hundred bytes. Room that is never used costs
  // nothing (the pages are not touched); growing a large array costs a copy of it.
  doc.keys.reserve(doc.text.size() / 64 + 16);
  doc.blocks.reserve(doc.text.size() / 64 + 16);
  doc.names.reserve(doc.text.size() / 4 + 16);
  doc.keys.emplace_back();  // the branch root
  ScanHiveText(doc, reading);
  return doc;
}

}  // namespace

Hive::Hive(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Hive::Hive(Hive&&) noexcept = default;
Hive& Hive::operator=(Hive&&) noexcept = default;
Hive::~Hive() = default;

Hive Hive::Parse(std::string text, KeyReading reading) {
  auto impl = std::make_unique<Impl>();
  impl->doc = ReadDocument(std::move(text), reading);
  return Hive(std::move(impl));
}

Hive Hive::CreateEmpty(std::string_view relativeTo, std::string_view arch) {
  return Parse(NewHiveHeader(relativeTo, arch));
}

bool Hive::writable() const {
  return impl_->doc.refusal.empty();
}
const std::string& Hive::refusal() const {
  return impl_->doc.refusal;
}
const std::string& Hive::arch() const {
  return impl_->doc.arch;
}

const std::vector<HiveDiagnostic>& Hive::diagnostics() const {
  HiveDocument& doc = impl_->doc;
  if (!doc.allChecked) {
    // Values are read lazily, so their faults are found here on first request.
    ReadAllKeys(doc);
    for (uint32_t block = 0; block < doc.blocks.size(); ++block)
      CheckBlock(doc, block);
    doc.allChecked = true;
    doc.NumberFaults();
  }
  return doc.diagnostics;
}

bool Hive::modified() const {
  return impl_->doc.modified;
}

std::string Hive::Render() const {
  const HiveDocument& doc = impl_->doc;
  if (!doc.modified) return doc.text;
  std::string out;
  out.reserve(doc.text.size() + doc.text.size() / 8 + 256);
  out.append(doc.text, 0, doc.headerEnd);
  bool afterOriginalEnd = false;  // the output ends with the end of the original text
  for (uint32_t id = doc.firstBlock; id != kNone; id = doc.blocks[id].next) {
    const Block& block = doc.blocks[id];
    if (block.key == kNone || block.key == kNotReadYet || !doc.keys[block.key].changed) {
      out.append(doc.text, block.begin, block.end - block.begin);
      afterOriginalEnd = block.end == doc.text.size();
      continue;
    }
    // A changed key is written whole at its first block; its other sections go with it.
    if (doc.keys[block.key].blocks.front() != id) continue;
    std::string key;
    AppendChangedKey(doc, block.key, key);
    if (key.empty()) continue;  // implicit in its subkeys' paths
    if (!out.empty() && out.back() != '\n') out += '\n';
    if (afterOriginalEnd && doc.endsInsideValue) {
      // The original text ends inside hex data that Wine would continue on the next line:
      // a line that is not hex data ends the value as the end of the file did.
      out += ";\n";
    }
    out += key;
    afterOriginalEnd = false;
  }
  return out;
}

std::optional<Hive::KeyId> Hive::FindChild(KeyId parent, std::string_view name) const {
  if (!impl_->doc.IsKey(parent)) return std::nullopt;
  return impl_->FindPath(parent, name);
}

Hive::KeyId Hive::CreateChild(KeyId parent, std::string_view name, FileTime now) {
  HiveDocument& doc = impl_->doc;
  if (!doc.IsKey(parent)) return parent;
  const std::u16string units = Utf8ToUtf16(name);
  KeyId key = parent;
  // Like RegCreateKeyEx, a path creates each missing level in turn.
  for (std::u16string_view component : SplitKeyPath(units)) {
    if (const std::optional<KeyId> child = doc.FindChild(key, component)) {
      key = *child;
      continue;
    }
    const KeyId created = doc.FindOrAddChild(key, component, now);
    doc.keys[created].timeSet = true;
    impl_->Touch(key, now);  // Wine's create_key touches the parent
    impl_->MarkChanged(created);
    key = created;
  }
  return key;
}

std::string Hive::KeyName(KeyId key) const {
  if (!impl_->doc.IsKey(key)) return {};
  return Utf16ToUtf8(impl_->doc.Name(key));
}

std::optional<Hive::KeyId> Hive::Parent(KeyId key) const {
  if (!impl_->doc.IsKey(key) || key == kRoot) return std::nullopt;
  return impl_->doc.keys[key].parent;
}

std::vector<std::string> Hive::SubKeyNames(KeyId key) const {
  std::vector<std::string> names;
  if (!impl_->doc.IsKey(key)) return names;
  for (KeyId child : impl_->doc.Children(key))
    names.push_back(Utf16ToUtf8(impl_->doc.Name(child)));
  return names;
}

bool Hive::IsLink(KeyId key) const {
  if (!impl_->doc.IsKey(key)) return false;
  LoadKey(impl_->doc, key);
  return impl_->doc.keys[key].link;
}

std::optional<std::string> Hive::ClassName(KeyId key) const {
  if (!impl_->doc.IsKey(key)) return std::nullopt;
  LoadKey(impl_->doc, key);
  if (!impl_->doc.keys[key].className) return std::nullopt;
  return Utf16ToUtf8(*impl_->doc.keys[key].className);
}

FileTime Hive::ModificationTime(KeyId key) const {
  if (!impl_->doc.IsKey(key)) return 0;
  ResolveFileTimes(impl_->doc);
  return impl_->doc.keys[key].time;
}

const RegValue* Hive::FindValue(KeyId key, std::string_view name) const {
  if (!impl_->doc.IsKey(key)) return nullptr;
  const StoredValue* stored = impl_->FindStored(key, name);
  return stored ? &stored->value : nullptr;
}

std::vector<const RegValue*> Hive::Values(KeyId key) const {
  std::vector<const RegValue*> values;
  if (!impl_->doc.IsKey(key)) return values;
  LoadKey(impl_->doc, key);
  for (const StoredValue& stored : *impl_->doc.keys[key].values)
    values.push_back(&stored.value);
  return values;
}

bool Hive::SetValue(KeyId key, RegValue value, FileTime now) {
  HiveDocument& doc = impl_->doc;
  if (!doc.IsKey(key)) return false;
  LoadKey(doc, key);
  std::u16string name = Utf8ToUtf16(value.name);
  // Wine refuses any value in a link key but the link's target.
  if (doc.keys[key].link &&
      (value.type != REG_LINK || CompareNoCase(name, u"SymbolicLinkValue") != 0)) {
    return false;
  }
  bool found = false;
  std::vector<StoredValue>& values = *doc.keys[key].values;
  const size_t index = HiveDocument::ValueIndex(values, name, found);
  if (found) {
    RegValue& held = values[index].value;
    if (held.SameData(value)) return false;
    // A value read from a line we cannot read keeps that line: ours is written after it, and
    // the loader, which keeps a name's last data, reads ours, while the bytes it could not
    // read stay for a person to recover instead of being lost to the change.
    values[index].fromUnreadable = false;
    held.type = value.type;
    held.data = std::move(value.data);
  } else {
    StoredValue stored;
    stored.value.name = Utf16ToUtf8(name);
    stored.value.type = value.type;
    stored.value.data = std::move(value.data);
    stored.name = std::move(name);
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(index), std::move(stored));
  }
  impl_->Touch(key, now);
  return true;
}

bool Hive::DeleteValue(KeyId key, std::string_view name, FileTime now) {
  HiveDocument& doc = impl_->doc;
  if (!doc.IsKey(key)) return false;
  LoadKey(doc, key);
  bool found = false;
  std::vector<StoredValue>& values = *doc.keys[key].values;
  const size_t index = HiveDocument::ValueIndex(values, Utf8ToUtf16(name), found);
  if (!found) return false;
  // Its unreadable lines go with it: kept, they would make the value again.
  DropUnreadableLines(doc, key, values[index].name);
  values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
  impl_->Touch(key, now);
  return true;
}

}  // namespace platform
