// MTEXT in the full reading.
#include "entities/full/drawing.h"

namespace drawport::full {

void drawMText(const EntityDraw&) {}

}  // namespace drawport::full
