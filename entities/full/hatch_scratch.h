// The room the HATCH converter works in, kept by the run and reused from
// hatch to hatch, so that a drawing of many small hatches allocates nothing
// once the first few have grown it.
#pragma once

#include <cstdint>

#include "entities/full/curves.h"
#include "entities/full/geometry.h"
#include "shell/heap.h"

namespace drawport::full {

// One boundary of a hatch as a closed ring of points in the hatch's object
// coordinates: its points, its box, and where it stands among the others.
struct HatchRing {
  uint32_t first = 0;  // its first point in HatchScratch::ringPoints
  uint32_t count = 0;  // its points; the ring returns to the first by itself
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  int32_t depth = 0;    // how many other rings hold it
  int32_t parent = -1;  // the nearest ring that holds it, -1 for none
};

// A vertex of a polyline boundary as read: where it is, and the bulge of the
// segment that starts at it.
struct BulgeVertex {
  Vec3 at;
  double bulge = 0;
};

// One line of a hatch pattern, as the file gives it (already scaled and
// turned): the lines through `base` at `angle` (radians), each next one
// shifted by `offset`, dashed by dashes[firstDash ...].
struct PatternLine {
  double angle = 0;
  Vec3 base;
  Vec3 offset;
  uint32_t firstDash = 0;
  uint32_t dashCount = 0;
};

// A boundary edge as the pattern's lines meet it: its two ends in the
// lines' coordinates (s across the lines, t along them), the end of the
// lower s first.
struct ScanEdge {
  double sLow, tLow, sHigh, tHigh;
};

struct HatchScratch {
  HeapVector<Vec3> ringPoints;  // every ring's points, ring after ring
  HeapVector<HatchRing> rings;
  HeapVector<BulgeVertex> vertices;  // one polyline boundary's vertices
  HeapVector<Vec3> edgePoints;       // one edge's points, before it joins its ring
  HeapVector<Vec3> pathPoints;       // one edge path's points, edge after edge
  HeapVector<uint32_t> edgeEnds;     // where each edge ends in `pathPoints`
  SplineData spline;                 // one spline edge
  SplineWork splineWork;
  StepCounter* curveSteps = nullptr;   // what a spline edge's evaluations count against
  HeapVector<Vec3> area;               // one filled area, its holes bridged in
  HeapVector<Vec3> bridged;            // the area while a hole is bridged in, or a strip half cut
  HeapVector<uint32_t> holes;          // the holes of one area, in bridging order
  HeapVector<Vec3> strips;             // one large area cut into strips, strip after strip
  HeapVector<uint32_t> stripEnds;      // where each strip ends in `strips`
  HeapVector<HeapVector<Vec3>> bands;  // the area clipped to a band of x, by how often it was halved
  HeapVector<double> stripXs;          // the x of one strip's points, for its median
  HeapVector<PatternLine> patternLines;
  HeapVector<double> dashes;
  HeapVector<ScanEdge> scanEdges;
  HeapVector<uint32_t> activeEdges;
  HeapVector<double> crossings;
  HeapVector<Vec3> segments;  // the pattern's segments, two ends each
};

}  // namespace drawport::full
