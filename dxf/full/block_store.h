// The block definitions of the BLOCKS section, as the full reading keeps
// them: each block's name, base point and entities, the entities as records
// in one compact store. Drawing a block reference replays the block's records
// through the converters; nothing is copied per reference, so the memory
// held follows the size of the BLOCKS section alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dxf/full/entity_record.h"
#include "shell/heap.h"

namespace drawport::full {

struct StoredBlock {
  uint32_t nameOffset = 0, nameLength = 0;
  double base[3] = {0, 0, 0};
  int32_t flags = 0;
  // The layouts' blocks (*Model_Space, *Paper_Space...) are never drawn, and
  // their entities are not kept.
  bool layout = false;
  uint32_t firstEntity = 0, entityCount = 0;
  // The host objects one drawing of the block creates and the polyline
  // points it hands the host, its references included: worked out when
  // first asked for (objects -1 until then).
  int64_t objects = -1;
  int64_t points = 0;
  int64_t textBytes = 0;  // and the text bytes, and the entities and cells it visits
  int64_t visits = 0;
  bool counting = false;  // being worked out: a block that reaches itself
};

class BlockStore {
 public:
  // The BLOCK entity that opens a definition; its entities follow with
  // add(), and end() closes it. A second definition of a name already held
  // is kept but not found: the first one wins.
  void begin(const RecordView& block);
  void add(const RecordView& entity);
  void end();
  bool open() const { return open_; }

  // The block named `name` without regard to case, or -1.
  int32_t find(std::string_view name) const;
  // The block whose block record has handle `handle` (the BLOCK's group 330),
  // or -1.
  int32_t findByHandle(std::string_view handle) const;

  size_t count() const { return blocks_.size(); }
  StoredBlock& block(int32_t index) { return blocks_[static_cast<size_t>(index)]; }
  const StoredBlock& block(int32_t index) const { return blocks_[static_cast<size_t>(index)]; }
  std::string_view name(const StoredBlock& block) const {
    return std::string_view(texts_.data() + block.nameOffset, block.nameLength);
  }
  RecordView entity(uint32_t index) const;
  // The bytes the store holds, for the benchmark's report.
  size_t bytesHeld() const;

 private:
  struct StoredEntity {
    uint32_t nameOffset, nameLength;
    size_t firstGroup, groupCount;
  };
  uint32_t keepText(std::string_view text);

  HeapVector<Group> groups_;
  HeapVector<char> texts_;
  HeapVector<StoredEntity> entities_;
  HeapVector<StoredBlock> blocks_;
  std::unordered_map<std::string, int32_t> byName_;    // upper-cased names
  std::unordered_map<std::string, int32_t> byHandle_;  // upper-cased handles
  bool open_ = false;
};

// Upper-cases letters a to z: block names and handles compare without
// regard to case.
std::string foldedName(std::string_view name);

}  // namespace drawport::full
