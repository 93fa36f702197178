// One converter per entity kind. Each is called by the dispatcher right
// after its entity's name line and creates its host objects at once, except
// points, which are gathered and drawn at the end of the pass.
#pragma once

namespace drawport {

struct Run;

void convertLine(Run& run);
void convertText(Run& run);
void convertCircle(Run& run);
void convertArc(Run& run);
void convertPolyline(Run& run);
void convertSolid(Run& run);
void convert3DFace(Run& run);
// POINT entities go to PointList; the points pass draws them as circles
// sized from the drawing's extents (nothing when these are no box of
// positive width and height).
struct DrawingExtents;
void gatherPoint(Run& run);
void drawGatheredPoints(Run& run, const DrawingExtents& extents);

}  // namespace drawport
