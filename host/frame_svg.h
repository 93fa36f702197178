// The frame as a picture: an SVG drawing of every object in its host colour
// on the frame's background, fitted to what was drawn.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "host/host.h"

namespace orvhost {

// Writes the frame of `host` as one SVG document, streamed object by object
// in creation order, in time linear in the number of objects and points:
// - the background in the frame's background colour
//   (HostConfig.backgroundColor);
// - each object in its host colour (hostColourRgb), a neutral grey when it
//   has none; filled polylines filled with their fill colour (their colour
//   when no fill colour was set);
// - polylines at their anchor plus their points, 3D objects projected onto
//   x/y; arcs counter-clockwise from start to end angle (degrees), a sweep of
//   a whole turn as a full circle; texts at their position with their height
//   as font size, turned counter-clockwise by their angle (degrees);
// - y up, the view fitted to the drawn objects with a margin. Coordinates are
//   mapped into a picture about 1000 units across, so that drawings far from
//   the origin or of any size show alike.
// Objects that cannot be drawn are left out: a non-finite number or an extent
// beyond the range of doubles, a radius or text height that is not positive,
// an empty text, a line or polyline without points.
void writeFrameSvg(std::ostream& out, const Host& host);

// "#rrggbb" for a host colour number. 0 to 15 have their own colours (0
// black, 1 red, 2 green, 3 blue, 4 cyan, 5 yellow, 6 purple, 7 white, 8 dark
// grey, 9 light grey, 10 orange, 11 brown, 12 dark blue, 13 dark green, 14
// magenta, 15 dark red); any other number a vivid pink that shows on black
// and on white.
const char* hostColourRgb(int colour);

// Appends `text` as XML character data fit for element content and quoted
// attribute values: markup characters as entity references, tab, line feed
// and carriage return as character references, well-formed UTF-8 as it is;
// each byte that starts no well-formed UTF-8 sequence, and each character
// that XML cannot carry (other control characters, U+FFFE, U+FFFF), as U+FFFD.
void appendXmlText(std::string& out, std::string_view text);

// A number for SVG attributes: at most seven significant digits, the same
// under any locale, exponent form only for very small or large values.
std::string svgNumber(double value);

}  // namespace orvhost
