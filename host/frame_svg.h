// The frame as a picture: an SVG drawing of every object in its host colour
// on the frame's background, fitted to what was drawn.
#pragma once

#include <ostream>

#include "host/host.h"

namespace orvhost {

void writeFrameSvg(std::ostream& out, const Host& host);

}  // namespace orvhost
