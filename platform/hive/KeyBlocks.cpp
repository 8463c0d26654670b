#include "platform/hive/KeyBlocks.h"

#include "platform/Unicode.h"
#include "platform/hive/BlockStarts.h"
#include "platform/hive/KeyText.h"
#include "platform/hive/LineWalking.h"
#include "platform/hive/ValueText.h"

namespace platform {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

using Kind = BlockItem::Kind;

// Whether the loader sees every byte of these lines, so that a line written from what it
// reads says the same: it reads a line only up to a NUL byte, and drops bytes that are not
// UTF-8.
bool LoaderReadsAllOf(std::string_view text, size_t begin, size_t end) {
  const std::string_view lines = text.substr(begin, end - begin);
  return lines.find('\0') == std::string_view::npos && IsValidUtf8(lines);
}

// The options the loader knows set the key's state (and are written again from it);
// any other option is kept as it stands.
Kind ReadOption(KeyNode& key, std::string_view content) {
  if (StartsWith(content, "#time=")) return Kind::Option;  // see ResolveFileTimes()
  if (StartsWith(content, "#link")) {
    key.link = true;
    return Kind::Option;
  }
  if (StartsWith(content, "#class=")) {
    std::optional<std::u16string> className = ParseClassOption(content);
    if (!className) return Kind::Raw;
    key.className = std::make_unique<std::u16string>(std::move(*className));
    return Kind::Option;
  }
  return Kind::Raw;
}

// Reads a block's lines. Values the loader would create are passed to `onValue` in file
// order; faults are reported when `report` is set.
template <class OnValue>
std::vector<BlockItem> ReadBlock(HiveDocument& doc, uint32_t blockId, bool report,
                                 OnValue onValue) {
  SettleBlockEnds(doc, blockId);
  const Block& block = doc.blocks[blockId];
  std::vector<BlockItem> items;
  HiveLineCursor cursor(doc.text, block.begin, block.end);
  HiveLine line;
  bool sawKeyLine = false;
  while (cursor.Next(line)) {
    const std::string_view content = line.content.substr(SkipHiveSpace(line.content, 0));
    const unsigned char first = content.empty() ? 0 : static_cast<unsigned char>(content[0]);
    BlockItem item;
    item.begin = line.begin;
    switch (first) {
      case '[':
        // Only the block's first key line: the scan made every other key line a new block.
        item.kind = sawKeyLine ? Kind::Raw : Kind::KeyLine;
        sawKeyLine = true;
        break;
      case '@':
      case '"': {
        ParsedValue value = ParseValueLine(content, cursor, true);
        if (value.outcome == ParsedValue::Outcome::MalformedName) {
          item.kind = Kind::Raw;
          if (report) doc.Report(line.begin, "Malformed value name", line.content);
          break;
        }
        if (value.outcome == ParsedValue::Outcome::MalformedData && report)
          doc.Report(line.begin, "Malformed value", line.content);
        const bool readable = value.outcome == ParsedValue::Outcome::Ok &&
                              LoaderReadsAllOf(doc.text, line.begin, cursor.position());
        item.kind = readable ? Kind::Value : Kind::Unreadable;
        item.unfinished = value.unfinished;
        item.name = value.name;
        onValue(std::move(value), !readable);
        break;
      }
      case '#':
        item.kind = ReadOption(doc.keys[block.key], content);
        if (item.kind == Kind::Raw && report && StartsWith(content, "#class="))
          doc.Report(line.begin, "Malformed class", line.content);
        break;
      case 0:
        item.kind = Kind::Blank;
        break;
      case ';':
        item.kind = Kind::Raw;  // a comment
        break;
      default:
        item.kind = Kind::Raw;
        if (report) doc.Report(line.begin, "Unrecognized input", line.content);
        break;
    }
    item.end = cursor.position();
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

void LoadKey(HiveDocument& doc, KeyId id) {
  if (doc.keys[id].loaded()) return;
  auto values = std::make_unique<std::vector<StoredValue>>();
  for (uint32_t blockId : doc.keys[id].blocks) {
    Block& block = doc.blocks[blockId];
    const bool report = !block.checked;
    block.checked = true;
    auto items = ReadBlock(doc, blockId, report, [&values](ParsedValue parsed, bool unreadable) {
      bool found = false;
      const size_t index = HiveDocument::ValueIndex(*values, parsed.name, found);
      if (found) {
        (*values)[index].value.type = parsed.type;
        (*values)[index].value.data = std::move(parsed.data);
        (*values)[index].fromUnreadable = unreadable;
        return;
      }
      StoredValue stored;
      stored.fromUnreadable = unreadable;
      stored.value.name = Utf16ToUtf8(parsed.name);
      stored.value.type = parsed.type;
      stored.value.data = std::move(parsed.data);
      stored.name = std::move(parsed.name);
      values->insert(values->begin() + static_cast<std::ptrdiff_t>(index), std::move(stored));
    });
    block.items = std::make_unique<std::vector<BlockItem>>(std::move(items));
  }
  doc.keys[id].values = std::move(values);
}

void CheckBlock(HiveDocument& doc, uint32_t blockId) {
  Block& block = doc.blocks[blockId];
  if (block.checked || block.key == kNone) return;
  block.checked = true;
  ReadBlock(doc, blockId, true, [](ParsedValue, bool) {});
}

bool HasLooseLines(const HiveDocument& doc, const KeyNode& key) {
  for (uint32_t blockId : key.blocks) {
    if (!doc.blocks[blockId].items) continue;
    for (const BlockItem& item : *doc.blocks[blockId].items) {
      if (item.kind == Kind::Raw) return true;
    }
  }
  return false;
}

void DropUnreadableLines(HiveDocument& doc, KeyId id, std::u16string_view name) {
  for (uint32_t blockId : doc.keys[id].blocks) {
    if (!doc.blocks[blockId].items) continue;
    for (BlockItem& item : *doc.blocks[blockId].items) {
      if (item.kind == Kind::Unreadable && CompareNames(item.name, name) == 0) {
        item.kind = Kind::Dropped;
      }
    }
  }
}

namespace {

// Lines of the original text, as they stand.
void AppendKept(const HiveDocument& doc, const std::vector<const BlockItem*>& items,
                std::string& out) {
  for (const BlockItem* item : items) {
    out.append(doc.text, item->begin, item->end - item->begin);
    if (out.back() != '\n') out += '\n';
    // The loader would read the next line as more of this hex data; a comment ends it as
    // the end of the text did (the data was unreadable either way).
    if (item->unfinished) out += ";\n";
  }
}

}  // namespace

void AppendChangedKey(const HiveDocument& doc, KeyId id, std::string& out) {
  const KeyNode& key = doc.keys[id];
  if (!IsWrittenByWine(key) && !HasLooseLines(doc, key)) return;

  // What we cannot write from the model is kept as it stands. Loose lines stay after the
  // value they followed (or after the key's options when no value of their section came
  // before them). Unreadable value lines stay at their value's place, before the line we
  // write for it when its data is ours: the loader keeps the last data of a name, so it
  // reads ours, and the bytes it could not read are still there for a person to mend.
  const std::vector<StoredValue>& values = *key.values;
  std::vector<std::vector<const BlockItem*>> after(values.size() + 1);
  std::vector<std::vector<const BlockItem*>> unreadable(values.size());
  for (uint32_t blockId : key.blocks) {
    if (!doc.blocks[blockId].items) continue;
    size_t anchor = 0;
    for (const BlockItem& item : *doc.blocks[blockId].items) {
      if (item.kind == Kind::Raw) {
        after[anchor].push_back(&item);
        continue;
      }
      if (item.kind != Kind::Value && item.kind != Kind::Unreadable) continue;
      bool found = false;
      const size_t index = HiveDocument::ValueIndex(values, item.name, found);
      if (item.kind == Kind::Unreadable)
        (found ? unreadable[index] : after[anchor]).push_back(&item);
      if (found) anchor = index + 1;
    }
  }

  std::string path;
  doc.AppendEscapedPath(path, id);
  AppendKeyHeader(out, path, key.time, key.className.get(), key.link);
  AppendKept(doc, after[0], out);
  for (size_t i = 0; i < values.size(); ++i) {
    const StoredValue& value = values[i];
    // The loader keeps the spelling a name first had: a line of ours comes first when the
    // first kept line spells it otherwise.
    if (!unreadable[i].empty() && unreadable[i].front()->name != value.name)
      AppendValueLine(out, value.name, value.value.type, value.value.data);
    AppendKept(doc, unreadable[i], out);
    if (!value.fromUnreadable) AppendValueLine(out, value.name, value.value.type, value.value.data);
    AppendKept(doc, after[i + 1], out);
  }
}

}  // namespace platform
