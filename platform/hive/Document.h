#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// The model behind Hive: the file's own text cut into a header and key blocks, and the
// tree of keys built from the key lines. A block stays the original text until its key
// changes; a changed key is written again from the model, in Wine's format.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegValue.h"
#include "platform/Unicode.h"
#include "platform/hive/Hive.h"

namespace platform {

using KeyId = Hive::KeyId;
inline constexpr uint32_t kNone = UINT32_MAX;
// A block's key while the tree has not been read that far (see KeyLineOrder.h).
inline constexpr uint32_t kNotReadYet = UINT32_MAX - 1;

struct StoredValue {
  std::u16string name;  // the exact units of its first spelling
  RegValue value;       // value.name is the UTF-8 form of `name`
  // The data is what the loader makes of an unreadable line (BlockItem::Kind::Unreadable),
  // which is written again as it stands instead of a line of our own.
  bool fromUnreadable = false;
};

// A line, or a value's run of lines, inside a key block, as the loader sees it.
struct BlockItem {
  enum class Kind {
    KeyLine,  // "[path] N"
    Option,   // "#time=", "#class=", "#link": written again from the key's state
    Value,
    // A value line we cannot write again from what the loader reads of it: data it cannot
    // read (an empty REG_NONE to Wine), a NUL byte, bytes that are not UTF-8 (which the
    // loader drops). Kept byte for byte, at its value's place.
    Unreadable,
    Dropped,  // an unreadable line of a value since deleted: not written again
    Raw,      // lines the loader ignores: comments, garbage, unknown options, bad names
    Blank,
  };
  Kind kind = Kind::Raw;
  // Hex data that wants another line where the block ends: the loader would read the next
  // line written after it as more of its data.
  bool unfinished = false;
  size_t begin = 0;  // bytes of the original text, with the line ends
  size_t end = 0;
  std::u16string name;  // for Value, Unreadable and Dropped
};

struct Block {
  size_t begin = 0;  // the original text; nothing for a block made for a new key
  size_t end = 0;
  KeyId key = kNone;      // kNone: a key line the loader could not read; or kNotReadYet
  uint32_t next = kNone;  // the block after it in the file
  bool checked = false;   // its lines have been read and their faults reported
  // Its first line is the blank line before its key line, which may yet turn out to be more
  // hex data of the block before (platform/hive/BlockStarts.h).
  bool startUnsettled = false;
  std::unique_ptr<std::vector<BlockItem>> items;  // read when its key is loaded
};

// The blocks of one key, in file order. Nearly every key has exactly one, so that one is
// held in place; a key repeated in the file keeps the others aside.
class BlockList {
 public:
  bool empty() const { return first_ == kNone; }
  uint32_t front() const { return first_; }
  size_t size() const { return empty() ? 0 : 1 + (more_ ? more_->size() : 0); }
  uint32_t operator[](size_t i) const { return i == 0 ? first_ : (*more_)[i - 1]; }
  void push_back(uint32_t block) {
    if (empty()) {
      first_ = block;
    } else {
      if (!more_) more_ = std::make_unique<std::vector<uint32_t>>();
      more_->push_back(block);
    }
  }

  class Iterator {
   public:
    Iterator(const BlockList& list, size_t index) : list_(&list), index_(index) {}
    uint32_t operator*() const { return (*list_)[index_]; }
    Iterator& operator++() { return ++index_, *this; }
    bool operator!=(const Iterator& other) const { return index_ != other.index_; }

   private:
    const BlockList* list_;
    size_t index_;
  };
  Iterator begin() const { return {*this, 0}; }
  Iterator end() const { return {*this, size()}; }

 private:
  uint32_t first_ = kNone;
  std::unique_ptr<std::vector<uint32_t>> more_;
};

// Kept small: a large hive has hundreds of thousands of keys.
struct KeyNode {
  uint32_t nameBegin = 0;  // the name as first created, in HiveDocument::names
  uint32_t nameLength = 0;
  KeyId parent = kNone;
  bool timeSet = false;         // `time` was set by a change, not taken from the file
  bool link = false;            // "#link", known once the key is loaded
  bool changed = false;         // written from the model instead of its original text
  std::vector<KeyId> children;  // Wine's order; see HiveDocument::Children()
  // The run of blocks [unreadBegin, unreadEnd) holds the keys below this one, whose
  // children have not been read from it yet (see KeyLineOrder.h).
  uint32_t unreadBegin = 0;
  uint32_t unreadEnd = 0;
  // The blocks of this key in file order (a key may have several sections); the first
  // is where the key is written once it changes. Empty while the key is not in the file.
  BlockList blocks;
  FileTime time = 0;                          // see HiveDocument::timesKnown
  std::unique_ptr<std::u16string> className;  // "#class", known once the key is loaded
  // Wine's order; read from the key's blocks when the key is first needed.
  std::unique_ptr<std::vector<StoredValue>> values;

  bool loaded() const { return values != nullptr; }
  bool childrenUnread() const { return unreadBegin < unreadEnd; }
  bool hasChildren() const { return !children.empty() || childrenUnread(); }
};

struct HiveDocument;
// Reads a key's children from its run of blocks (KeyLineOrder.cpp).
void ReadUnreadChildren(HiveDocument& doc, KeyId key);

struct HiveDocument {
  std::string text;
  size_t headerEnd = 0;  // the header is text[0, headerEnd)
  uint32_t firstBlock = kNone;
  std::vector<Block> blocks;   // the file's blocks in file order, then those made for new keys
  uint32_t scannedBlocks = 0;  // how many of them come from the file
  std::vector<KeyNode> keys;   // keys[Hive::kRoot] is the branch root
  std::u16string names;        // the keys' names, one after another
  std::string arch;
  std::string refusal;
  FileTime loadTime = 0;    // the loader's clock, for keys the file gives no time
  bool timesKnown = false;  // the keys' times from the file have been worked out
  bool modified = false;
  bool allChecked = false;
  // Faults found so far, by the offset of their line; diagnostics() turns the offsets
  // into line numbers once every block has been read.
  struct Fault {
    size_t offset = 0;
    std::string message;
  };
  std::vector<Fault> faults;
  // The text ends inside hex data continued with a backslash: Wine's loader would take
  // whatever came next as more data, so text added after it must not look like data.
  bool endsInsideValue = false;
  std::vector<HiveDiagnostic> diagnostics;

  bool IsKey(KeyId key) const { return key < keys.size(); }
  // The key's children, read first if they have not been. Reading them adds keys and names:
  // hold no reference into `keys` or `names` across a call.
  const std::vector<KeyId>& Children(KeyId key) {
    if (keys[key].childrenUnread()) ReadUnreadChildren(*this, key);
    return keys[key].children;
  }
  std::u16string_view Name(KeyId key) const {
    return std::u16string_view(names).substr(keys[key].nameBegin, keys[key].nameLength);
  }
  std::optional<KeyId> FindChild(KeyId parent, std::u16string_view name);
  // The existing child of that name, or a new one with the given time.
  KeyId FindOrAddChild(KeyId parent, std::u16string_view name, FileTime time);
  // The key's path from the root, escaped as a key line writes it.
  void AppendEscapedPath(std::string& out, KeyId key) const;
  // Where a value of that name is, or would go, in the key's values.
  static size_t ValueIndex(const std::vector<StoredValue>& values, std::u16string_view name,
                           bool& found);
  // The key that comes last before `key` in Wine's depth-first order among keys with a block.
  std::optional<KeyId> PrecedingKeyWithBlock(KeyId key);
  // Notes a fault in the line that starts at `offset`, quoting the line.
  void Report(size_t offset, std::string message, std::string_view lineText);
  // Turns the faults into diagnostics with line numbers.
  void NumberFaults();

 private:
  size_t ChildIndex(KeyId parent, std::u16string_view name, bool& found);
  std::optional<KeyId> LastKeyWithBlockIn(KeyId subtree);
};

// Wine's order of names (platform::CompareNoCase), with the common all-ASCII case inline.
// Names of bytes must be plain ASCII. The caller may know that the first `same` units are
// equal.
template <class Char>
inline int CompareNames(std::basic_string_view<Char> a, std::basic_string_view<Char> b,
                        size_t same = 0) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t i = same < n ? same : n;
  while (i < n && a[i] == b[i])
    ++i;  // names mostly share a start, which needs no folding
  for (; i < n; ++i) {
    auto x = static_cast<char16_t>(a[i]);
    auto y = static_cast<char16_t>(b[i]);
    if constexpr (sizeof(Char) == 2) {
      if (x >= 0x80 || y >= 0x80) return CompareNoCase(a.substr(i), b.substr(i));
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<char16_t>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}
inline int CompareNames(std::u16string_view a, std::u16string_view b) {
  return CompareNames<char16_t>(a, b);
}

// Wine writes a key when it has values, has no subkeys, has a class or is a link; any
// other key is implicit in its subkeys' paths.
inline bool IsWrittenByWine(const KeyNode& key) {
  return (key.values && !key.values->empty()) || !key.hasChildren() || key.className != nullptr ||
         key.link;
}

}  // namespace platform
