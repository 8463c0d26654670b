#pragma once

// Internal header: for this layer's own sources and tests; not installed with the components.

// A hive file read for the lookups of a few keys only. A prefix's machine hive is megabytes of
// keys, and the program looks up three of them: building the whole tree for that costs more
// than the rest of a start-up's own work.
//
// The slice is a hive text of its own: the file's header, and those of the file's key blocks,
// byte for byte, that a lookup of a path below one of the wanted keys meets:
// - every block of a wanted key and of the keys below it;
// - every block of a key on the way to one (its values, whether it is a link);
// - for each key on the way, the first block below each of its other children, so that the
//   slice knows every child that exists there (whether a "Wow6432Node" is there decides
//   where the 32-bit view goes) and spells it as the file first does.
// Keys, values and spellings below and on the way to the wanted keys are then exactly those of
// the whole file. Anything else in the slice (the rest of the tree) is incomplete and must not
// be asked for.
//
// The slicer only follows files laid out as Wine writes them. Anything else leaves it without a
// slice, and the caller reads the whole file: a key line that is not plain ASCII (escapes,
// other bytes), one that is not closed, one that follows no blank line (it could be more hex
// data), a block that ends inside hex data, a link on the way to a wanted key or below it (the
// lookup would go elsewhere), or a wanted name that is not plain ASCII.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Key paths from the hive's root, each a list of names.
using HiveKeyPaths = std::vector<std::vector<std::string>>;

class HiveSlicer {
 public:
  explicit HiveSlicer(HiveKeyPaths keys);

  // The file's next line, with its line end (the last line may have none). False once the
  // file turned out to be one the slice cannot stand for: feeding more changes nothing.
  bool Feed(std::string_view line);
  // Feeds the whole lines at the start of `text`, which starts a line, as Feed one by one
  // would, and returns where the first line not fed (one without its line end) starts. Lines
  // the slice drops are passed over without being split one by one. Stops once failed.
  size_t FeedLines(std::string_view text);
  bool Failed() const { return failed_; }
  // The slice's text; nothing when the file was not one the slice can stand for.
  std::optional<std::string> Finish();

 private:
  enum class Keep { No, OtherChild, OnTheWay };
  // The wanted keys and the keys on the way to them, as a tree from the root.
  struct Step {
    std::string name;  // lower case
    bool wanted = false;
    std::vector<size_t> next;
    std::string lastOtherChild;  // the last child off the way a block was kept for
  };
  bool KeyLine(std::string_view content);
  Keep Decide(size_t& decidedAt);
  void Append(std::string_view line);
  size_t PassDroppedLines(std::string_view text, size_t pos);
  size_t DroppedKeyLineEnd(std::string_view text, size_t line) const;
  void NoteLastPassedLine(std::string_view text, size_t begin, size_t end);

  std::vector<Step> steps_{1};          // steps_[0] is the root
  std::vector<std::string_view> path_;  // the current key line's names
  std::string out_;
  std::string blank_;     // a blank line, which belongs to the block after it if a key follows
  std::string lastLine_;  // the last line of the current block that was not blank
  // The text of the last key line off the slice up to the end of the name that kept it off:
  // a key line that starts with it, followed by a separator or ']', is off the slice too.
  std::string dropPrefix_;
  bool failed_ = false;
  bool inHeader_ = true;
  bool keeping_ = true;    // the current block goes into the slice (the header always does)
  bool onTheWay_ = false;  // ...as a block a lookup meets
};

// The slice of a whole text.
std::optional<std::string> SliceHiveText(std::string_view text, const HiveKeyPaths& keys);

// Reads the open file `fd` from where it stands to its end through a slicer: `slice` gets the
// slice, or nothing. Returns 0, or the errno of a failed read.
int ReadHiveSlice(int fd, const HiveKeyPaths& keys, std::optional<std::string>& slice);

}  // namespace platform
