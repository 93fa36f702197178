// LINE: one line segment, 2D or 3D as the import asks.
#include "entities/common.h"
#include "entities/converters.h"
#include "entities/coordinates.h"

namespace drawport {

void convertLine(Run& run) {
  EntityAttributes attributes;
  double start[3] = {0, 0, 0};
  double end[3] = {0, 0, 0};
  bool startSeen[3] = {false, false, false};
  DxfReader& in = run.in;
  // A second 10/20/30 stands for the end point, like 11/21/31.
  const bool complete = readEntityGroups(run, attributes, [&](int32_t code) {
    switch (code) {
      case 10:
      case 20:
      case 30: {
        const int axis = code / 10 - 1;
        const double value = in.readReal();
        (startSeen[axis] ? end[axis] : start[axis]) = value;
        startSeen[axis] = true;
        return true;
      }
      case 11:
      case 21:
      case 31:
        end[code / 10 - 1] = in.readReal();
        return true;
      default:
        return false;
    }
  });
  if (!complete) return;
  takeLayerColourIfNone(run, attributes);
  if (start[0] == end[0] && start[1] == end[1] && start[2] == end[2]) return;
  growExtents(run, start[0], start[1]);
  growExtents(run, end[0], end[1]);
  rotateIfActive(run, start[0], start[1]);
  rotateIfActive(run, end[0], end[1]);
  const OrvGeomID_t line = run.is2D
                               ? OrvUtilGeom2DLineSegmentCreate(0, start[0], start[1], end[0], end[1])
                               : OrvUtilGeom3DLineSegmentCreate(start[0], start[1], start[2], end[0], end[1], end[2]);
  attachGeometryToSelectedZone(run, line);
  OrvUtilGeomSetColor(line, hostColourFor(run, attributes.colour));
}

}  // namespace drawport
