#include "platform/hive/KeyTimes.h"

#include "platform/FileTime.h"
#include "platform/hive/Escaping.h"
#include "platform/hive/HiveBody.h"
#include "platform/hive/KeyLineOrder.h"
#include "platform/hive/KeyText.h"

namespace platform {

namespace {

// Wine's update_key_time(): a key made for a path gets the first time met for it or for
// a key below it.
void Stamp(std::vector<FileTime>& times, const HiveDocument& doc, KeyId key, FileTime time) {
  while (key != kNone && times[key] == 0) {
    times[key] = time;
    key = doc.keys[key].parent;
  }
}

}  // namespace

void ResolveFileTimes(HiveDocument& doc) {
  if (doc.timesKnown) return;
  doc.timesKnown = true;
  ReadAllKeys(doc);
  // Replay the file's blocks in order, as the loader reads them.
  std::vector<FileTime> times(doc.keys.size(), 0);
  times[Hive::kRoot] = doc.loadTime;  // the branch key exists before the file is read
  const HiveBody body(doc.text);
  for (uint32_t id = 0; id < doc.scannedBlocks; ++id) {
    const Block& block = doc.blocks[id];
    if (block.key == kNone) continue;
    const size_t keyLine = body.FindLineStarting('[', block.begin, block.begin, block.end);
    const size_t from = body.LineEnd(keyLine);
    for (size_t pos = from;;) {
      const size_t option = body.FindLineStarting('#', from, pos, block.end);
      if (option == HiveBody::kEnd) break;
      pos = body.LineEnd(option);
      const std::string_view content = body.Trimmed(option, pos);
      if (content.substr(0, 6) == "#time=" && !body.IsContinuation(option, from))
        Stamp(times, doc, block.key, ParseTimeOption(content));
    }
    // The key line's seconds count when the next key line comes, if nothing came first.
    const std::string_view keyText = body.Trimmed(keyLine, from);
    const size_t close = ParseHiveEscaped(keyText.substr(1), ']', nullptr);
    const std::optional<uint32_t> seconds =
        close == std::string_view::npos ? std::nullopt : ParseKeySeconds(keyText.substr(1 + close));
    Stamp(times, doc, block.key, seconds ? FileTimeFromUnixSeconds(*seconds) : doc.loadTime);
  }
  for (KeyId key = 0; key < doc.keys.size(); ++key) {
    if (!doc.keys[key].timeSet) doc.keys[key].time = times[key];
  }
}

}  // namespace platform
