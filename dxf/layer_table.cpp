#include "dxf/layer_table.h"

#include <cstring>

#include "dxf/reader.h"

namespace drawport {
namespace {

// Layers without a colour of their own take 1, 2, ..., 9, 1, 2, ... over the
// add-on's whole life: the counter goes on across tables, passes and runs.
int32_t gLayerColourCounter = 1;

int32_t nextLayerColour() {
  const int32_t colour = gLayerColourCounter > 9 ? 1 : gLayerColourCounter;
  gLayerColourCounter = colour + 1;
  return colour;
}

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

uint32_t foldedHash(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(asciiUpper(c))) * 16777619u;
  return hash;
}

std::string_view nameOf(const LayerRecord& record) { return std::string_view(record.name, record.nameLength); }

// Names longer than a record holds are cut to its 254 characters.
void setName(LayerRecord& record, std::string_view name) {
  const size_t length = name.size() < LayerRecord::kNameCapacity ? name.size() : LayerRecord::kNameCapacity - 1;
  if (length > 0) std::memcpy(record.name, name.data(), length);
  record.name[length] = '\0';
  // A name holds no NUL: the reader ends every line's text at the first.
  record.nameLength = static_cast<uint8_t>(strnlen(record.name, length));
}

LayerRecord startLayerRecord() {
  LayerRecord record{};
  setName(record, "0");
  record.colour = nextLayerColour();
  return record;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  return true;
}

}  // namespace

int32_t LayerTable::firstWithFoldedName(std::string_view name, uint32_t hash) const {
  if (!slots_.allocated()) return -1;
  const uint32_t mask = static_cast<uint32_t>(slots_.capacity()) - 1;
  for (uint32_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const int32_t entry = slots_[static_cast<int32_t>(slot)];
    if (entry == 0) return -1;
    if (equalsIgnoringCase(nameOf(records_[entry - 1]), name)) return entry - 1;
  }
}

bool LayerTable::growIndexFor(int32_t count) {
  if (nextAlike_.capacity() < records_.capacity() && !nextAlike_.grow(records_.capacity())) return false;
  // Keep the hash slots at most half full.
  if (slots_.allocated() && count * 2 <= slots_.capacity()) return true;
  int32_t size = slots_.allocated() ? slots_.capacity() * 2 : 1024;
  while (size < count * 2) size *= 2;
  HeapArray<int32_t> slots;
  if (!slots.allocate(size)) return false;
  // Rehash the chain heads: the first record of every folded name.
  const uint32_t mask = static_cast<uint32_t>(size) - 1;
  for (int32_t slot = 0; slot < slots_.capacity(); ++slot) {
    const int32_t entry = slots_[slot];
    if (entry == 0) continue;
    uint32_t target = foldedHash(nameOf(records_[entry - 1])) & mask;
    while (slots[static_cast<int32_t>(target)] != 0) target = (target + 1) & mask;
    slots[static_cast<int32_t>(target)] = entry;
  }
  slots_.swap(slots);
  return true;
}

bool LayerTable::store(const LayerRecord& record) {
  const std::string_view name = nameOf(record);
  const uint32_t hash = foldedHash(name);
  int32_t last = -1;
  for (int32_t index = firstWithFoldedName(name, hash); index >= 0; index = nextAlike_[index] - 1) {
    if (nameOf(records_[index]) == name) {
      records_[index] = record;
      return true;
    }
    last = index;
  }
  if (count_ == records_.capacity() && !records_.grow(records_.capacity() + kGrowth)) return false;
  if (!growIndexFor(count_ + 1)) return false;
  const int32_t index = count_++;
  records_[index] = record;
  nextAlike_[index] = 0;
  if (last >= 0) {
    nextAlike_[last] = index + 1;
  } else {
    const uint32_t mask = static_cast<uint32_t>(slots_.capacity()) - 1;
    uint32_t slot = hash & mask;
    while (slots_[static_cast<int32_t>(slot)] != 0) slot = (slot + 1) & mask;
    slots_[static_cast<int32_t>(slot)] = index + 1;
  }
  return true;
}

bool LayerTable::findColour(std::string_view name, int32_t* colour) const {
  const LayerRecord* record = find(name);
  if (!record) return false;
  *colour = record->colour;
  return true;
}

const LayerRecord* LayerTable::find(std::string_view name) const {
  if (name.size() >= LayerRecord::kNameCapacity) return nullptr;  // no record holds so long a name
  const int32_t index = firstWithFoldedName(name, foldedHash(name));
  return index < 0 ? nullptr : &records_[index];
}

void setLayerName(LayerRecord& record, std::string_view name) { setName(record, name); }

bool readLayerTable(DxfReader& in, LayerTable& layers) {
  LayerRecord record = startLayerRecord();
  bool namePending = false;
  // Stores the record in hand; on a failed growth reading stops for good.
  auto store = [&] {
    if (layers.store(record)) return true;
    in.halt();
    return false;
  };
  while (!in.endOfFile()) {
    in.readToken();
    if (in.endOfFile()) break;  // the entry in hand is not stored
    if (in.tokenIs("0")) {
      // The keyword after it ("LAYER" or "ENDTAB") comes as the next token.
      if (!store()) return false;
    } else if (in.tokenIs("2")) {
      // A second name within one entry: the entry so far is stored, and the
      // new name starts the next one.
      if (namePending && !store()) return false;
      in.readToken();
      if (in.endOfFile()) break;
      setName(record, in.token());
      namePending = true;
      if (in.tokenIs("ENDTAB")) return true;
    } else if (in.tokenIs("62")) {
      in.readToken();
      record.colour = in.codeNumber();
      if (in.tokenIs("ENDTAB")) return true;
    } else if (in.tokenIs("ENDTAB")) {
      return true;
    } else if (in.tokenIs("LAYER")) {
      namePending = false;
      record = startLayerRecord();
    } else {
      // "70" (the layer's flags) and every other group: its value is unused.
      in.readToken();
      if (in.tokenIs("ENDTAB")) return true;
    }
  }
  return true;
}

}  // namespace drawport
