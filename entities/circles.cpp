// CIRCLE and ARC: one host circle or arc in the frame's plane, 2D and 3D
// imports alike.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"

namespace drawport {
namespace {

struct RoundShape {
  double x = 0, y = 0, radius = 0;
  double startAngle = 0, endAngle = 0;  // degrees, arcs only
};

// Reads a circle's or an arc's groups; false when the file ended first.
bool readRoundShape(Run& run, EntityAttributes& attributes, RoundShape& shape, bool arc) {
  DxfReader& in = run.in;
  return readEntityGroups(run, attributes, [&](int32_t code) {
    switch (code) {
      case 10: shape.x = in.readReal(); return true;
      case 20: shape.y = in.readReal(); return true;
      case 40: shape.radius = in.readReal(); return true;
      case 50: if (!arc) return false; shape.startAngle = in.readReal(); return true;
      case 51: if (!arc) return false; shape.endAngle = in.readReal(); return true;
      default: return false;
    }
  });
}

// One step into range, at most once each way: 720 becomes 360, -400 -40.
double angleInRange(double angle) {
  if (angle > 360) angle -= 360;
  if (angle < 0) angle += 360;
  return angle;
}

void finishRoundShape(Run& run, OrvGeomID_t shape, const EntityAttributes& attributes) {
  OrvUtilGeomSetColor(shape, hostColourFor(run, attributes.colour));
  attachGeometryToSelectedZone(run, shape);
}

}  // namespace

void convertCircle(Run& run) {
  EntityAttributes attributes;
  RoundShape circle;
  if (!readRoundShape(run, attributes, circle, false)) return;
  takeLayerColourIfNone(run, attributes);
  if (!(circle.radius > 0)) return;
  // Only the centre counts towards the extents, not the radius.
  growExtents(run, circle.x, circle.y);
  rotateIfActive(run, circle.x, circle.y);
  finishRoundShape(run, OrvUtilGeomCircleCreate(0, circle.x, circle.y, circle.radius), attributes);
}

void convertArc(Run& run) {
  EntityAttributes attributes;
  RoundShape arc;
  if (!readRoundShape(run, attributes, arc, true)) return;
  takeLayerColourIfNone(run, attributes);
  if (!(arc.radius > 0) || arc.startAngle == arc.endAngle) return;
  growExtents(run, arc.x, arc.y);
  if (run.rotation.active) {
    rotatePoint(run.rotation, arc.x, arc.y);
    arc.startAngle += run.rotation.degrees;
    arc.endAngle += run.rotation.degrees;
  }
  const double startAngle = angleInRange(arc.startAngle);
  const double endAngle = angleInRange(arc.endAngle);
  finishRoundShape(run, OrvUtilGeomArcCreate(0, arc.x, arc.y, arc.radius, startAngle, endAngle), attributes);
}

}  // namespace drawport
