// The UCS rotation and the growth of the drawing's extents.
#pragma once

#include "shell/run.h"

namespace drawport {

// The angle between two vectors, from 0 to pi; not a number when either has
// length 0.
double angleBetween(Vector2 a, Vector2 b);

// Prepares UcsRotation from the header axes: warns (once per call) about
// axes that are not at right angles, and turns the angle between the UCS and
// paper-space x axes into a clockwise rotation, active in 2D imports.
void prepareUcsRotation(Run& run);

inline void rotatePoint(const UcsRotation& rotation, double& x, double& y) {
  const double rotatedX = rotation.cosine * x - rotation.sine * y;
  const double rotatedY = rotation.sine * x + rotation.cosine * y;
  x = rotatedX;
  y = rotatedY;
}

// Rotates (x, y) when the rotation is active.
inline void rotateIfActive(const Run& run, double& x, double& y) {
  if (run.rotation.active) rotatePoint(run.rotation, x, y);
}

// Grows the extents by (x, y), unrotated, unless the header fixed them.
inline void growExtents(Run& run, double x, double y) {
  if (run.header.extentsFixed) return;
  DrawingExtents& extents = run.header.extents;
  if (x < extents.minX) extents.minX = x;
  if (y < extents.minY) extents.minY = y;
  if (x > extents.maxX) extents.maxX = x;
  if (y > extents.maxY) extents.maxY = y;
}

}  // namespace drawport
