// ELLIPSE and SPLINE in the full reading, and the curve points that HATCH
// boundaries share with them.
#include "entities/full/curves.h"

#include "entities/full/drawing.h"

namespace drawport::full {

void appendEllipsePoints(HeapVector<Vec3>&, const Vec3&, const Vec3&, const Vec3&, double, double) {}

void appendSplinePoints(HeapVector<Vec3>&, const SplineData&) {}

void drawEllipse(const EntityDraw&) {}

void drawSpline(const EntityDraw&) {}

}  // namespace drawport::full
