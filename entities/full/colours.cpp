#include "entities/full/colours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace drawport::full {
namespace {

constexpr int32_t kDarkGrey = 8;
constexpr int32_t kFrozen = 1;
// Colour numbers 10 to 249 run through 24 hues in steps of 15 degrees, ten
// shades each.
constexpr int32_t kFirstHueNumber = 10;
constexpr int32_t kLastHueNumber = 249;
constexpr int32_t kFirstGrey = 250;
constexpr int32_t kWhite = 255;
// A true colour whose components differ by less than this share of the
// largest is a grey; greys this dark or this light show as the foreground.
constexpr double kGreyShare = 0.2;
constexpr int kDarkestGrey = 40;
constexpr int kLightestGrey = 230;

OrvColorIndex_t foreground(const ColourMap& colours) { return colours.entries[0]; }

OrvColorIndex_t hostColourOfNumber(const ColourMap& colours, int32_t number) {
  if (number >= 1 && number <= 8) return colours.entries[number];
  if (number == 9) return colours.entries[kDarkGrey];
  if (number >= kFirstHueNumber && number <= kLastHueNumber) {
    const double hue = 15.0 * ((number - kFirstHueNumber) / 10);
    return colours.entries[nearestPrimaryColour(hue)];
  }
  if (number >= kFirstGrey && number < kWhite) return colours.entries[kDarkGrey];
  return foreground(colours);
}

OrvColorIndex_t hostColourOfRgb(const ColourMap& colours, int32_t value) {
  const int r = (value >> 16) & 255, g = (value >> 8) & 255, b = value & 255;
  const int largest = std::max({r, g, b});
  const int smallest = std::min({r, g, b});
  const int spread = largest - smallest;
  if (spread < kGreyShare * largest || largest == 0) {
    if (largest < kDarkestGrey || largest >= kLightestGrey) return foreground(colours);
    return colours.entries[kDarkGrey];
  }
  double hue;
  if (largest == r)
    hue = 60.0 * (g - b) / spread;
  else if (largest == g)
    hue = 60.0 * (b - r) / spread + 120;
  else
    hue = 60.0 * (r - g) / spread + 240;
  if (hue < 0) hue += 360;
  return colours.entries[nearestPrimaryColour(hue)];
}

}  // namespace

int32_t nearestPrimaryColour(double hue) {
  // Rounded half down to a sixth of the circle: 30 degrees is red, not yellow.
  const int sixth = static_cast<int>(std::ceil(hue / 60 - 0.5));
  return ((sixth % 6) + 6) % 6 + 1;
}

Colour layerColour(const LayerRecord* layer) {
  if (!layer) return {};
  if (layer->hasTrueColour) return Colour::rgb(layer->trueColour);
  const int32_t number = std::abs(layer->colour);
  if (number >= 1 && number <= 255) return Colour::index(number);
  return {};
}

bool layerHidden(const LayerRecord* layer) { return layer && (layer->colour < 0 || (layer->flags & kFrozen) != 0); }

Colour resolveColour(const StatedColour& stated, const Colour& layer, const Colour* blockColour) {
  if (stated.trueColour >= 0) return Colour::rgb(stated.trueColour & 0xFFFFFF);
  if (stated.index == kByBlock) return blockColour ? *blockColour : Colour{};
  if (stated.index >= 1 && stated.index <= 255) return Colour::index(stated.index);
  return layer;
}

OrvColorIndex_t hostColourOf(const ColourMap& colours, const Colour& colour) {
  switch (colour.kind) {
    case Colour::Kind::Index: return hostColourOfNumber(colours, colour.value);
    case Colour::Kind::True: return hostColourOfRgb(colours, colour.value);
    case Colour::Kind::Foreground: break;
  }
  return foreground(colours);
}

}  // namespace drawport::full
