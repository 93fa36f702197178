#include "shell/run.h"

namespace drawport {

bool RunTables::allocate() {
  // Each block is asked for even when an earlier one is missing.
  const bool haveLayers = layers.allocate();
  const bool havePoints = points.entries.allocate(PointList::kGrowth);
  const bool haveX = vertices.x.allocate(VertexArrays::kSize);
  const bool haveY = vertices.y.allocate(VertexArrays::kSize);
  const bool haveZ = vertices.z.allocate(VertexArrays::kSize);
  return haveLayers && havePoints && haveX && haveY && haveZ;
}

void ColourMap::setBackground(OrvColorIndex_t colour) {
  background = colour;
  const OrvColorIndex_t foreground = colour == 0 ? 7 : 0;
  entries[0] = foreground;
  entries[7] = foreground;
}

}  // namespace drawport
