#include "platform/hive/KeyLineOrder.h"

#include <algorithm>
#include <cstring>

#include "platform/hive/HiveBody.h"

namespace platform {

namespace {

std::string_view TextOf(std::string_view path, const PathSpan& span) {
  return path.substr(span.begin, span.end - span.begin);
}

}  // namespace

bool HiveKeyLineOrder::Precedes(std::string_view path, const PathSpan& span,
                                std::string_view otherPath, const PathSpan& other, size_t same) {
  // Plain names compare as they stand, which most do.
  if (span.plain && other.plain)
    return CompareNames<char>(TextOf(path, span), TextOf(otherPath, other), same) < 0;
  ReadKeyName(path, span, before_);
  ReadKeyName(otherPath, other, name_);
  return CompareNames(before_, name_) < 0;
}

bool HiveKeyLineOrder::Follows(std::string_view path) {
  // Lines mostly differ only in their last name, so the text before it is compared first, as
  // a whole, which is quicker than finding where the two part.
  const size_t last = components_.empty() ? 0 : components_.back().begin;
  const bool sameBefore =
      last > 0 && path.size() >= last && std::memcmp(path.data(), previous_.data(), last) == 0;
  const size_t same = sameBefore
                          ? last + SharedPrefixLength(path.substr(last), previous_.substr(last))
                          : SharedPrefixLength(path, previous_);
  if (sameBefore) {
    // Only the last name differs, or goes on: when the new one is plain, it is the line's last.
    // The bytes it shares with a plain name before it are plain too, and compare equal.
    const PathSpan& before = components_.back();
    const size_t known = before.plain ? std::min(same, before.end) - last : 0;
    const size_t close = NextKeyPathSpecial(path, last + known);
    if (close < path.size() && path[close] == ']') {
      const PathSpan name{last, close, true};
      const bool after = Precedes(previous_, before, path, name, known);
      previous_ = path.substr(0, close + 1);
      components_.back() = name;
      return after;
    }
  }
  const size_t reused = SameComponents(path, same, components_.size(),
                                       [this](size_t i) { return components_[i].end; });
  size_t close = 0;
  const size_t from = reused == 0 ? 0 : components_[reused - 1].end;
  if (!FindKeyPathComponents(path, from, spans_, close)) return false;

  // The key comes after the previous one when it lies below it, or when the first name in
  // which the two differ comes later.
  for (const PathSpan& span : spans_) {
    if (!span.plain && ReadKeyName(path, span, name_) != KeyNameReading::Name) return false;
  }
  const bool first = previous_.empty();  // every line taken leaves at least its ']'
  bool after = first || (reused == components_.size() && !spans_.empty());
  if (!first && reused < components_.size() && !spans_.empty())
    after = Precedes(previous_, components_[reused], path, spans_.front());
  previous_ = path.substr(0, close + 1);
  components_.resize(reused);
  components_.insert(components_.end(), spans_.begin(), spans_.end());
  return after;
}

std::string_view KeyLineOf(const HiveDocument& doc, uint32_t block) {
  const HiveBody body(doc.text);
  const size_t line = body.FindLineStarting('[', doc.blocks[block].begin, doc.blocks[block].begin,
                                            doc.blocks[block].end);
  return body.Trimmed(line, body.LineEnd(line));
}

namespace {

// The names in the key lines of blocks, read one line at a time.
class KeyLineNames {
 public:
  explicit KeyLineNames(const HiveDocument& doc) : doc_(doc) {}

  // How many names the block's key line holds.
  size_t Depth(uint32_t block) {
    Read(block);
    return components_.size();
  }
  // The name at `depth` in the block's key line.
  const std::u16string& Name(uint32_t block, size_t depth) {
    Read(block);
    ReadKeyName(path_, components_.at(depth), name_);
    return name_;
  }

 private:
  void Read(uint32_t block) {
    if (block == block_) return;
    block_ = block;
    path_ = KeyLineOf(doc_, block).substr(1);
    size_t close = 0;
    // Every key line of a run was read this way when the file was loaded.
    FindKeyPathComponents(path_, 0, components_, close);
  }

  const HiveDocument& doc_;
  uint32_t block_ = kNone;
  std::string_view path_;
  std::vector<PathSpan> components_;
  std::u16string name_;
};

size_t DepthOf(const HiveDocument& doc, KeyId key) {
  size_t depth = 0;
  for (; key != Hive::kRoot; key = doc.keys[key].parent)
    ++depth;
  return depth;
}

// The end of the run that starts at `first` and holds `name` at `depth`: the keys of one child
// lie together, so the run is found by doubling steps and then halving them.
uint32_t EndOfRun(KeyLineNames& lines, uint32_t first, uint32_t end, size_t depth,
                  const std::u16string& name) {
  auto inRun = [&](uint32_t block) { return CompareNames(lines.Name(block, depth), name) == 0; };
  uint32_t low = first;  // in the run
  uint32_t high = end;   // past it
  for (uint32_t step = 1; step < high - low; step *= 2) {
    if (!inRun(low + step)) {
      high = low + step;
      break;
    }
    low += step;
  }
  while (high - low > 1) {
    const uint32_t middle = low + (high - low) / 2;
    (inRun(middle) ? low : high) = middle;
  }
  return high;
}

}  // namespace

void ReadUnreadChildren(HiveDocument& doc, KeyId key) {
  uint32_t block = doc.keys[key].unreadBegin;
  const uint32_t end = doc.keys[key].unreadEnd;
  doc.keys[key].unreadBegin = doc.keys[key].unreadEnd = 0;
  const size_t depth = DepthOf(doc, key);
  KeyLineNames lines(doc);
  std::u16string name;
  while (block < end) {
    // Every line of the run names this key first, and at least one more name.
    const bool own = lines.Depth(block) == depth + 1;
    name = lines.Name(block, depth);
    const uint32_t runEnd = EndOfRun(lines, block, end, depth, name);
    const KeyId child = doc.FindOrAddChild(key, name, 0);  // the last child so far
    KeyNode& node = doc.keys[child];
    if (own) {
      node.blocks.push_back(block);
      doc.blocks[block].key = child;
    }
    node.unreadBegin = own ? block + 1 : block;
    node.unreadEnd = runEnd;
    block = runEnd;
  }
}

void TakeRunsOfBlocks(HiveDocument& doc, uint32_t count) {
  if (count == 0) return;
  KeyNode& root = doc.keys[Hive::kRoot];
  KeyLineNames lines(doc);
  uint32_t first = 0;
  if (lines.Depth(0) == 0) {  // "[]", the branch root itself
    root.blocks.push_back(0);
    doc.blocks[0].key = Hive::kRoot;
    first = 1;
  }
  root.unreadBegin = first;
  root.unreadEnd = count;
}

void ReadAllKeys(HiveDocument& doc) {
  for (KeyId key = 0; key < doc.keys.size(); ++key)
    doc.Children(key);
}

}  // namespace platform
