// The full reading's colours: every DXF colour number (ACI 1 to 255), the
// true colours of group 420, BYLAYER and BYBLOCK, brought to the host's
// colours through the colour map.
#pragma once

#include <cstdint>

#include "dxf/layer_table.h"
#include "shell/run.h"

namespace drawport::full {

inline constexpr int32_t kByBlock = 0;
inline constexpr int32_t kByLayer = 256;

// A colour as an entity or a layer states it: group 62 and group 420.
struct StatedColour {
  int32_t index = kByLayer;  // 0 BYBLOCK, 1 to 255 a colour number, 256 BYLAYER
  int32_t trueColour = -1;   // 0x00RRGGBB, or -1 when not given
};

// A colour as it is drawn.
struct Colour {
  enum class Kind : uint8_t { Foreground, Index, True };
  Kind kind = Kind::Foreground;
  int32_t value = 0;  // the colour number (1 to 255) or 0x00RRGGBB

  static Colour index(int32_t number) { return {Kind::Index, number}; }
  static Colour rgb(int32_t value) { return {Kind::True, value}; }
};

// What a layer draws its BYLAYER entities in: its true colour, else its
// colour number (a layer that is off carries it negative); the foreground
// for a layer the table does not hold.
Colour layerColour(const LayerRecord* layer);
// A layer that is off (negative colour) or frozen (flags bit 0).
bool layerHidden(const LayerRecord* layer);

// The colour an entity is drawn in: a true colour wins over the colour
// number; BYLAYER (or no colour at all) is its layer's; BYBLOCK is the
// colour of the block reference that draws it (`blockColour`), or the
// foreground outside any block.
Colour resolveColour(const StatedColour& stated, const Colour& layer, const Colour* blockColour);

// The host colour of a drawn colour: 1 to 8 through the colour map, 9 (light
// grey) as dark grey, 10 to 249 and true colours by their hue, greys as dark
// grey or the foreground.
OrvColorIndex_t hostColourOf(const ColourMap& colours, const Colour& colour);

// The nearest of the colour numbers 1 to 6 (red, yellow, green, cyan, blue,
// magenta) to a hue in degrees; a hue halfway between two goes to the lower.
int32_t nearestPrimaryColour(double hue);

}  // namespace drawport::full
