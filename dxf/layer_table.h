// LayerTable: the layers of the file with their colour numbers, read from
// the LAYER table of the TABLES section. Entities without a colour of their
// own take their layer's colour; a negative colour marks a layer that is off.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/heap.h"

namespace drawport {

class DxfReader;

struct LayerRecord {
  static constexpr size_t kNameCapacity = 255;  // 254 characters and the terminator
  char name[kNameCapacity];
  uint8_t nameLength;  // the name's characters before its terminator
  int32_t colour;
  // Read by the full reading only: the layer's flags (bit 0: frozen) and its
  // true colour (0x00RRGGBB), when it has one.
  int32_t flags;
  int32_t trueColour;
  bool hasTrueColour;
};

class LayerTable {
 public:
  static constexpr int32_t kGrowth = 255;

  // Room for the first 255 layers; false when the heap cannot give it.
  bool allocate();
  int32_t count() const { return count_; }
  const LayerRecord& operator[](int32_t index) const { return records_[index]; }

  // StoreLayer: replaces the record of exactly the same name (case
  // included) in its place, or appends. False when the table could not grow.
  bool store(const LayerRecord& record);
  // The colour of the first layer, in table order, whose name equals `name`
  // without regard to case; false when none does.
  bool findColour(std::string_view name, int32_t* colour) const;
  // The first layer, in table order, whose name equals `name` without
  // regard to case; null when none does.
  const LayerRecord* find(std::string_view name) const;

 private:
  // Two hash indexes of record numbers (+ 1, 0 for an empty slot): every
  // record by its exact name, which StoreLayer replaces in place, and the
  // first record of each case-folded name, which the lookups find. Names
  // that differ only in case cost neither a walk of the others.
  uint32_t exactHash(std::string_view name) const;
  uint32_t foldedHash(std::string_view name) const;
  bool growIndexesFor(int32_t count);
  int32_t firstWithFoldedName(std::string_view name, uint32_t hash) const;
  int32_t withExactName(std::string_view name, uint32_t hash) const;

  HeapArray<LayerRecord> records_;
  int32_t count_ = 0;
  HeapArray<int32_t> exactSlots_;
  HeapArray<int32_t> foldedSlots_;
  uint32_t seed_ = 0;
};

// ReadLayerTable: reads one LAYER table, from right after its name up to its
// "ENDTAB" or the end of the file, storing each layer in `layers`. On a
// failed growth of the table it halts the reader and returns false.
bool readLayerTable(DxfReader& in, LayerTable& layers);

// Sets a record's name, cut to the 254 characters a record holds.
void setLayerName(LayerRecord& record, std::string_view name);

}  // namespace drawport
