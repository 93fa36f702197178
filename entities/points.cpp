// POINT: gathered in PointList while the file is read, and drawn at the end
// of the pass as small circles whose radius follows the drawing's size.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"
#include "shell/generation.h"

namespace drawport {

void gatherPoint(Run& run) {
  EntityAttributes attributes;
  double x = 0, y = 0;
  DxfReader& in = run.in;
  const bool complete = readEntityGroups(run, attributes, [&](int32_t code) {
    switch (code) {
      case 10: x = in.readReal(); return true;
      case 20: y = in.readReal(); return true;
      default: return false;
    }
  });
  if (!complete) return;
  takeLayerColourIfNone(run, attributes);
  PointList& points = run.tables.points;
  if (points.count == points.entries.capacity() &&
      !points.entries.grow(points.entries.capacity() + PointList::kGrowth)) {
    // The run must not go on with a list that lost points.
    run.runOutOfMemory();
    return;
  }
  growExtents(run, x, y);
  rotateIfActive(run, x, y);
  points.entries[points.count++] = {x, y, hostColourFor(run, attributes.colour)};
}

void drawGatheredPoints(Run& run, const DrawingExtents& extents) {
  const double width = extents.maxX - extents.minX;
  const double height = extents.maxY - extents.minY;
  if (!(width > 0) || !(height > 0)) return;
  const double radius = kGeneration.pointRadius(width, height);
  const PointList& points = run.tables.points;
  for (int32_t i = 0; i < points.count; ++i) {
    const PointEntry& point = points.entries[i];
    const OrvGeomID_t circle = OrvUtilGeomCircleCreate(0, point.x, point.y, radius);
    OrvUtilGeomSetColor(circle, point.hostColour);
    attachGeometryToSelectedZone(run, circle);
  }
}

}  // namespace drawport
