// ImportSettings: the one record of import options. The Load DXF File
// dialog edits it, the instruction-string parser sets it at the start of
// every run, and the load run and the converters read it. It keeps its
// values for as long as the host keeps the add-on loaded.
#pragma once

#include <cstdint>

namespace drawport {

// The entity kinds an import can select, in the order of the kind switches
// (which is also the bit order of the compact instruction string).
enum class EntityKind : uint8_t { Text, Lines, Arcs, Circles, Points, Solids, Faces3D };
inline constexpr int kEntityKindCount = 7;

struct ImportSettings {
  // The file name lives in the host string "DXF filename" (AddOnState).
  int32_t fileSize = 0;
  int32_t fontNumber = 1;  // 1 to 12; 1 is the host's default font
  int32_t dimension = 1;   // 1 imports as 2D, 2 as 3D
  int32_t zoneNumber = 1;  // 0: attach to no zone
  bool kinds[kEntityKindCount] = {true, true, true, true, true, true, true};
  // True: entities of invisible layers are shown; false: hidden (the full
  // reading leaves them out, the classic one draws them in the background
  // colour).
  bool showInvisibleLayers = true;
  // True: the full reading (group pairs, colours, object coordinate systems,
  // blocks, curves) draws the drawing; false: the classic reading.
  bool fullReading = true;

  bool selects(EntityKind kind) const { return kinds[static_cast<int>(kind)]; }
  bool& kind(EntityKind kind) { return kinds[static_cast<int>(kind)]; }
  bool allKindsSelected() const;
  bool noKindSelected() const;
  // Sets the seven kind switches and the invisible-layers switch together;
  // the reading switch is left as it is.
  void setAllSwitches(bool on);
};

ImportSettings& importSettings();

}  // namespace drawport
