// Curves of the full reading, as polyline points: ellipses and elliptic
// arcs, and B-splines (NURBS). HATCH boundaries use them too.
#pragma once

#include <cstdint>

#include "entities/full/geometry.h"
#include "entities/full/step_count.h"
#include "shell/heap.h"

namespace drawport::full {

// The points of the ellipse of centre `centre`, major axis `major` (from the
// centre to the end of the major axis) and minor axis `minor` (from the
// centre to the end of the minor axis), at parameters from `start` to `end`
// (radians, end > start) stepped by the arc rule, both ends included,
// appended to `points`.
void appendEllipsePoints(HeapVector<Vec3>& points, const Vec3& centre, const Vec3& major, const Vec3& minor,
                         double start, double end);

// A spline as a file gives it: degree, knots, control points with their
// weights (none when not rational), fit points, and whether it is closed or
// periodic.
struct SplineData {
  int32_t degree = 3;
  HeapVector<double> knots;
  HeapVector<Vec3> control;
  HeapVector<double> weights;  // empty, or one per control point
  HeapVector<Vec3> fit;
  bool closed = false;
  bool periodic = false;
  // The directions of the curve through the fit points at its first and
  // last fit point; (0, 0, 0) when not given.
  Vec3 startTangent, endTangent;
};

// Room for the work behind a spline's points (a periodic spline's wrapped
// control points, the curve fitted through fit points, the samples),
// reused from spline to spline.
struct SplineWork {
  SplineData made;
  HeapVector<double> parameters;
  HeapVector<double> coefficients;
  HeapVector<Vec3> values;
  struct Sample {
    double u;
    int32_t span;
    Vec3 at;
  };
  HeapVector<Sample> samples;
};

// The spline's points, appended to `points`: the curve through its control
// points by its degree and knots (or through its fit points when it has no
// control points), fine enough to stay within 0.1 % of its size of the
// curve, both ends exact; a closed or periodic spline ends at its first
// point. A spline that cannot be evaluated gives the polyline of its control
// points (nothing when it has fewer than two).
void appendSplinePoints(HeapVector<Vec3>& points, const SplineData& spline);
// The same, with the room for the work given: no allocation once the room
// has grown to the splines drawn. Its evaluations count against `steps`,
// when given: once it ends the work, no points are appended.
void appendSplinePoints(HeapVector<Vec3>& points, const SplineData& spline, SplineWork& work,
                        StepCounter* steps = nullptr);

}  // namespace drawport::full
