#include "dxf/layer_table.h"

#include <chrono>
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

// FNV-1a over the name's bytes, each first passed through `fold`, from a
// starting value of the table's own.
template <char (*fold)(char)>
uint32_t hashOf(std::string_view name, uint32_t seed) {
  uint32_t hash = 2166136261u ^ seed;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(fold(c))) * 16777619u;
  return hash;
}

char unchanged(char c) { return c; }

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

// The slot of `slots` (open addressing, linear probing) that holds the
// record whose name `matches`, or the empty slot where it would go.
template <class Matches>
int32_t slotFor(const HeapArray<int32_t>& slots, uint32_t hash, Matches&& matches) {
  const uint32_t mask = static_cast<uint32_t>(slots.capacity()) - 1;
  for (uint32_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const int32_t entry = slots[static_cast<int32_t>(slot)];
    if (entry == 0 || matches(entry - 1)) return static_cast<int32_t>(slot);
  }
}

// Puts record `index` into a slot of a fresh index with room to spare.
void place(HeapArray<int32_t>& slots, uint32_t hash, int32_t index) {
  slots[slotFor(slots, hash, [](int32_t) { return false; })] = index + 1;
}

bool LayerTable::allocate() {
  // Each table hashes from a starting value of its own, so that no file
  // can be written whose names all fall into one run of slots: the order of
  // the slots is never seen, only how long the lookups take.
  const auto now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  seed_ = static_cast<uint32_t>(now ^ (now >> 32) ^ reinterpret_cast<uintptr_t>(this));
  return records_.allocate(kGrowth);
}

uint32_t LayerTable::exactHash(std::string_view name) const { return hashOf<unchanged>(name, seed_); }
uint32_t LayerTable::foldedHash(std::string_view name) const { return hashOf<asciiUpper>(name, seed_); }

int32_t LayerTable::firstWithFoldedName(std::string_view name, uint32_t hash) const {
  if (!foldedSlots_.allocated()) return -1;
  const int32_t slot =
      slotFor(foldedSlots_, hash, [&](int32_t index) { return equalsIgnoringCase(nameOf(records_[index]), name); });
  return foldedSlots_[slot] - 1;
}

int32_t LayerTable::withExactName(std::string_view name, uint32_t hash) const {
  if (!exactSlots_.allocated()) return -1;
  const int32_t slot = slotFor(exactSlots_, hash, [&](int32_t index) { return nameOf(records_[index]) == name; });
  return exactSlots_[slot] - 1;
}

bool LayerTable::growIndexesFor(int32_t count) {
  // Keep the slots at most half full: the folded index holds no more
  // records than the exact one, and both grow together.
  const int64_t needed = int64_t{count} * 2;
  if (exactSlots_.allocated() && needed <= exactSlots_.capacity()) return true;
  int64_t size = exactSlots_.allocated() ? int64_t{exactSlots_.capacity()} * 2 : 1024;
  while (size < needed) size *= 2;
  if (size > INT32_MAX) return false;
  HeapArray<int32_t> exact, folded;
  if (!exact.allocate(static_cast<int32_t>(size)) || !folded.allocate(static_cast<int32_t>(size))) return false;
  for (int32_t index = 0; index < count_; ++index) place(exact, exactHash(nameOf(records_[index])), index);
  // Only the first record of each folded name is in the folded index, and
  // records keep their order: rehashing its entries keeps the first.
  for (int32_t slot = 0; slot < foldedSlots_.capacity(); ++slot) {
    const int32_t entry = foldedSlots_[slot];
    if (entry != 0) place(folded, foldedHash(nameOf(records_[entry - 1])), entry - 1);
  }
  exactSlots_.swap(exact);
  foldedSlots_.swap(folded);
  return true;
}

bool LayerTable::store(const LayerRecord& record) {
  const std::string_view name = nameOf(record);
  const uint32_t hash = exactHash(name);
  const int32_t same = withExactName(name, hash);
  if (same >= 0) {
    records_[same] = record;  // the same name: the same folded name, still first or not
    return true;
  }
  if (count_ == records_.capacity() && !records_.grow(records_.capacity() + kGrowth)) return false;
  if (!growIndexesFor(count_ + 1)) return false;
  const int32_t index = count_++;
  records_[index] = record;
  const std::string_view stored = nameOf(records_[index]);
  place(exactSlots_, hash, index);
  const uint32_t folded = foldedHash(stored);
  if (firstWithFoldedName(stored, folded) < 0) place(foldedSlots_, folded, index);
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
