// LEADER and MULTILEADER in the full reading.
#include "entities/full/drawing.h"

namespace drawport::full {

void drawLeader(const EntityDraw&) {}

void drawMultiLeader(const EntityDraw&) {}

}  // namespace drawport::full
