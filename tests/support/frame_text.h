// Compact renderings of what the host saw, for tests to compare with one
// literal.
#pragma once

#include <string>

#include "host/host.h"

namespace drawport::testing {

// One line per object, e.g.
//   line2 (0,-1)-(0,-2) c0
//   poly3 @(5,5,1) (0,0,0) (1,0,1) c2 fill2 z3
//   circle (10,5) r2 c0
//   arc (0,0) r1 300..30 c0
//   text (1,2) h2.5 a45 f5 "Hello" c0 z4
// An attribute never set is left out; c? marks a colour never set.
std::string renderObject(const orvhost::Frame& frame, const orvhost::FrameObject& object);
std::string renderObjects(const orvhost::Frame& frame);
// One line per message: "error: ..." or "box: ...", newlines as \n.
std::string renderMessages(const orvhost::Host& host);

}  // namespace drawport::testing
