#include "platform/hive/Scanning.h"

#include "platform/hive/HiveBody.h"
#include "platform/hive/KeyLineOrder.h"
#include "platform/hive/KeyLineReading.h"
#include "platform/hive/KeyText.h"
#include "platform/hive/LineWalking.h"

namespace platform {

namespace {

// The scan does not read every line: inside a key's block it jumps from one '[' at the
// start of a line to the next, since only key lines shape the tree (options and values
// are read when a key is first needed). Lines before the first key, and after a key line
// the loader cannot read, are read one by one: "#arch=" means something there.
class Scanner {
 public:
  Scanner(HiveDocument& doc, Hive::KeyReading reading)
      : doc_(doc),
        text_(doc.text),
        body_(doc.text),
        inOrder_(reading == Hive::KeyReading::AsNeeded),
        settleLater_(reading == Hive::KeyReading::AsNeeded) {}

  void Run() {
    if (!ReadSignature()) return;
    Next next = ReadLoose(body_.LineEnd(0));  // the header
    while (!next.stop && next.keyLine != HiveBody::kEnd)
      next = ReadBlock(next);
    CloseSegment(text_.size());
    doc_.scannedBlocks = static_cast<uint32_t>(doc_.blocks.size());
    if (inOrder_) TakeRunsOfBlocks(doc_, doc_.scannedBlocks);
    for (uint32_t i = 0; i + 1 < doc_.scannedBlocks; ++i)
      doc_.blocks[i].next = i + 1;
    if (!doc_.blocks.empty()) doc_.firstBlock = 0;
    if (doc_.arch.empty() && doc_.refusal.empty()) {
      // Wine 8 writes "#arch=" in every hive; without it Wine takes the prefix for 32-bit.
      doc_.refusal = "the hive has no #arch line";
    }
  }

 private:
  // Where the next block starts: its key line, and the blank line before it that Wine
  // writes there, when there is one.
  struct Next {
    size_t keyLine = HiveBody::kEnd;
    size_t blockBegin = 0;
    bool unsettled = false;  // the blank line at blockBegin may be more hex data before it
    bool stop = false;       // the loader gives up on the file here
  };

  bool ReadSignature() {
    const std::string_view first = body_.Content(0, body_.LineEnd(0));
    if (text_.empty() || CutAtNul(first) != kHiveSignature) {
      doc_.refusal = "the file does not start with \"WINE REGISTRY Version 2\"";
      doc_.Report(0, "Not a registry file", first);
      doc_.headerEnd = text_.size();
      return false;
    }
    return true;
  }

  // Lines outside any key, one by one, up to the next key line.
  Next ReadLoose(size_t pos) {
    Next next;
    bool previousBlank = false;
    size_t previousBegin = pos;
    while (pos < text_.size()) {
      const size_t end = body_.LineEnd(pos);
      const std::string_view line = body_.Content(pos, end);
      const std::string_view content = line.substr(SkipHiveSpace(line, 0));
      switch (content.empty() ? 0 : content[0]) {
        case '[':
          next.keyLine = pos;
          next.blockBegin = previousBlank ? previousBegin : pos;
          CloseSegment(next.blockBegin);
          return next;
        case '#':
          if (!GlobalOption(pos, content)) {
            next.stop = true;
            return next;
          }
          break;
        case '"':
        case '@':
          doc_.Report(pos, "Value without key", line);
          break;
        case ';':
        case 0:
          break;
        default:
          doc_.Report(pos, "Unrecognized input", line);
          break;
      }
      previousBlank = line.empty();
      previousBegin = pos;
      pos = end;
    }
    return next;
  }

  // Reads the key line at `at.keyLine` and finds where the next block starts.
  Next ReadBlock(const Next& at) {
    const size_t lineEnd = body_.LineEnd(at.keyLine);
    Block block;
    block.begin = at.blockBegin;
    block.startUnsettled = at.unsettled;
    const bool read = ReadKeyLine(body_.Trimmed(at.keyLine, lineEnd), block);
    doc_.blocks.push_back(std::move(block));
    if (!read) {
      doc_.Report(at.keyLine, "Malformed key", body_.Content(at.keyLine, lineEnd));
      return ReadLoose(lineEnd);  // the loader has no key until the next key line
    }
    const Next next = FindKeyLine(lineEnd);
    CloseSegment(next.keyLine == HiveBody::kEnd ? text_.size() : next.blockBegin);
    if (next.keyLine == HiveBody::kEnd) doc_.endsInsideValue = body_.EndsInsideValue(lineEnd);
    return next;
  }

  // Reads the key line of a block about to be added: false when the loader cannot read it.
  // While the lines come in order only their order is checked; the first that does not
  // makes the reader read every key line so far, and the rest as they come.
  bool ReadKeyLine(std::string_view content, Block& block) {
    if (inOrder_) {
      if (order_.Follows(content.substr(1))) {
        block.key = kNotReadYet;
        return true;
      }
      inOrder_ = false;
      for (uint32_t id = 0; id < doc_.blocks.size(); ++id) {
        // Each of them followed in order, which only a line the reader reads can.
        const KeyId key = keyLines_.Read(KeyLineOf(doc_, id)).value();
        doc_.blocks[id].key = key;
        doc_.keys[key].blocks.push_back(id);
      }
    }
    const std::optional<KeyId> key = keyLines_.Read(content);
    block.key = key.value_or(kNone);
    if (key) doc_.keys[*key].blocks.push_back(static_cast<uint32_t>(doc_.blocks.size()));
    return key.has_value();
  }

  // The next key line after `from` (the first line of a block's body), skipping lines
  // that hex data goes on over.
  Next FindKeyLine(size_t from) const {
    Next next;
    for (size_t pos = from;;) {
      const size_t start = body_.FindLineStarting('[', from, pos, text_.size());
      if (start == HiveBody::kEnd) return next;
      // Wine writes a blank line before every key; it belongs to that key's block (and
      // a line after a blank one is never more hex data).
      const size_t previous = BlankLineBefore(start, from);
      const bool afterBlank = previous != HiveBody::kEnd;
      if (!afterBlank && body_.IsContinuation(start, from)) {
        pos = body_.LineEnd(start);
        continue;
      }
      next.keyLine = start;
      // Whether the blank line is more hex data of the block it ends is left to when either
      // block is read: asking here, for every key, would cost as much as the rest of the load.
      next.unsettled = afterBlank && settleLater_;
      next.blockBegin =
          afterBlank && (settleLater_ || !body_.IsContinuation(previous, from)) ? previous : start;
      return next;
    }
  }

  // The start of the line before `line` when that line is empty ("\n" or "\r\n") and lies
  // in the body that starts at `from`.
  size_t BlankLineBefore(size_t line, size_t from) const {
    if (line >= from + 1 && text_[line - 1] == '\n') {
      if (line == from + 1 || text_[line - 2] == '\n') return line - 1;
      if (line >= from + 2 && text_[line - 2] == '\r' &&
          (line == from + 2 || text_[line - 3] == '\n'))
        return line - 2;
    }
    return HiveBody::kEnd;
  }

  // Outside a key, "#arch=" must name the architecture, the same every time.
  bool GlobalOption(size_t line, std::string_view content) {
    if (content.substr(0, 6) != "#arch=") return true;
    const std::string_view arch = CutAtNul(content.substr(6));
    if (arch != "win32" && arch != "win64") {
      doc_.refusal = "the hive names an unknown architecture (#arch=" + std::string(arch) + ")";
      doc_.arch = arch;
      doc_.Report(line, "Unknown architecture", content);
      return false;
    }
    if (!doc_.arch.empty() && doc_.arch != arch) {
      doc_.refusal = "the hive names two architectures";
      doc_.Report(line, "Mismatched architecture", content);
      return false;
    }
    doc_.arch = arch;
    return true;
  }

  // Ends the header, or the last block, at `end`.
  void CloseSegment(size_t end) {
    if (doc_.blocks.empty()) {
      doc_.headerEnd = end;
    } else {
      doc_.blocks.back().end = end;
    }
  }

  HiveDocument& doc_;
  std::string_view text_;
  HiveBody body_;
  bool inOrder_;
  bool settleLater_;
  HiveKeyLineOrder order_;
  HiveKeyLineReader keyLines_{doc_};
};

}  // namespace

void ScanHiveText(HiveDocument& doc, Hive::KeyReading reading) {
  Scanner(doc, reading).Run();
}

}  // namespace platform
