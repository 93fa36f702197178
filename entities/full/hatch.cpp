// HATCH in the full reading.
#include "entities/full/drawing.h"

namespace drawport::full {

void drawHatch(const EntityDraw&) {}

}  // namespace drawport::full
