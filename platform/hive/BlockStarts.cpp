#include "platform/hive/BlockStarts.h"

#include "platform/hive/HiveBody.h"

namespace platform {

void SettleBlockStart(HiveDocument& doc, uint32_t id) {
  if (id == 0 || id >= doc.blocks.size() || !doc.blocks[id].startUnsettled) return;
  Block& block = doc.blocks[id];
  block.startUnsettled = false;
  // Neither block has had its lines read: reading either settles this first.
  Block& before = doc.blocks[id - 1];
  const HiveBody body(doc.text);
  const size_t keyLine = body.FindLineStarting('[', before.begin, before.begin, before.end);
  if (!body.IsContinuation(block.begin, body.LineEnd(keyLine))) return;
  before.end = block.begin = body.LineEnd(block.begin);
}

void SettleBlockEnds(HiveDocument& doc, uint32_t id) {
  SettleBlockStart(doc, id);
  SettleBlockStart(doc, id + 1);
}

}  // namespace platform
