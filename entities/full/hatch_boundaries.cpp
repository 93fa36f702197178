// A HATCH's boundary paths read into closed rings of points, and how the
// rings nest. The same codes (10, 20, 72, 73) mean different things in
// different places, so the paths are read in order: each path runs from its
// group 92 to the next, each edge of an edge path from its group 72 to the
// next.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "entities/full/hatch_geometry.h"

namespace drawport::full {
namespace {

// Boundary path flags (group 92): a polyline path, else an edge path.
constexpr int32_t kPolylinePath = 2;

// Codes that stand only after the boundary paths: style, pattern, pixel
// size and seed points (codes 41 to 98, a bit each from code 41 on), and the
// gradient settings.
constexpr int32_t kFirstTailCode = 41;
constexpr int32_t kLastTailCode = 98;
constexpr uint64_t bitOf(int32_t code) { return uint64_t{1} << (code - kFirstTailCode); }
constexpr uint64_t kTailCodes =
    bitOf(41) | bitOf(47) | bitOf(52) | bitOf(53) | bitOf(75) | bitOf(76) | bitOf(77) | bitOf(78) | bitOf(98);

bool followsBoundaries(int32_t code) {
  if (code >= kFirstTailCode && code <= kLastTailCode) return (kTailCodes >> (code - kFirstTailCode)) & 1;
  return code >= 450 && code <= 470;
}

// The groups [begin, end) of the hatch.
struct Span {
  size_t begin, end;
};

size_t indexIn(const RecordView& hatch, Span span, int32_t code) {
  for (size_t i = span.begin; i < span.end; ++i)
    if (hatch.code(i) == code) return i;
  return span.end;
}

// The value of the first group `code` in `span`; false when there is none.
bool numberIn(const RecordView& hatch, Span span, int32_t code, double& value) {
  const size_t i = indexIn(hatch, span, code);
  if (i == span.end) return false;
  value = hatch.number(i);
  return true;
}

bool pointIn(const RecordView& hatch, Span span, int32_t code, double elevation, Vec3& point) {
  point.z = elevation;
  return numberIn(hatch, span, code, point.x) && numberIn(hatch, span, code + 10, point.y);
}

// Whether the edge runs counter-clockwise (group 73; 1 when not given).
bool counterClockwise(const RecordView& hatch, Span span) {
  const size_t i = indexIn(hatch, span, 73);
  return i == span.end || hatch.integer(i) != 0;
}

// The included angle, in degrees from above 0 to 360, counter-clockwise from
// `start` to `end`; the same angle twice (or a whole turn apart) is a whole
// turn.
double sweepDegrees(double start, double end) {
  const double sweep = std::fmod(end - start, 360.0);
  return sweep <= 0 ? sweep + 360 : sweep;
}

bool appendLineEdge(const RecordView& hatch, Span span, double elevation, HatchScratch& scratch) {
  Vec3 from, to;
  if (!pointIn(hatch, span, 10, elevation, from) || !pointIn(hatch, span, 11, elevation, to)) return false;
  scratch.edgePoints.push_back(from);
  scratch.edgePoints.push_back(to);
  return true;
}

// A clockwise arc is stored with 360 minus each of its angles: it runs
// clockwise from 360 - start to 360 - end.
bool appendArcEdge(const RecordView& hatch, Span span, double elevation, HatchScratch& scratch) {
  Vec3 centre;
  double radius = 0, start = 0, end = 0;
  if (!pointIn(hatch, span, 10, elevation, centre) || !numberIn(hatch, span, 40, radius) ||
      !numberIn(hatch, span, 50, start) || !numberIn(hatch, span, 51, end) || !(radius > 0))
    return false;
  const double sweep = radians(sweepDegrees(start, end));
  if (counterClockwise(hatch, span))
    appendArcPoints(scratch.edgePoints, centre, radius, radians(start), sweep);
  else
    appendArcPoints(scratch.edgePoints, centre, radius, radians(360 - start), -sweep);
  return true;
}

// Parameters as an arc's angles; the minor axis a quarter turn
// counter-clockwise from the major one.
bool appendEllipseEdge(const RecordView& hatch, Span span, double elevation, HatchScratch& scratch) {
  Vec3 centre, major;
  double ratio = 0, start = 0, end = 0;
  if (!pointIn(hatch, span, 10, elevation, centre) || !pointIn(hatch, span, 11, 0, major) ||
      !numberIn(hatch, span, 40, ratio) || !numberIn(hatch, span, 50, start) || !numberIn(hatch, span, 51, end))
    return false;
  const Vec3 minor{-major.y * ratio, major.x * ratio, 0};
  const double sweep = radians(sweepDegrees(start, end));
  HeapVector<Vec3>& points = scratch.edgePoints;
  if (counterClockwise(hatch, span)) {
    appendEllipsePoints(points, centre, major, minor, radians(start), radians(start) + sweep);
    return true;
  }
  // Clockwise from 360 - start to 360 - end: the counter-clockwise run from
  // 360 - end, backwards.
  const double from = radians(360 - end);
  appendEllipsePoints(points, centre, major, minor, from, from + sweep);
  std::reverse(points.begin(), points.end());
  return true;
}

// 94 degree, 73 rational, 74 periodic, 95 knot count, 96 control point
// count, then the 40 knots, the 10/20 control points (each followed by its
// 42 weight when rational), the 11/21 fit points and the 12/22 and 13/23
// tangents at the first and last of them.
bool appendSplineEdge(const RecordView& hatch, Span span, double elevation, HatchScratch& scratch) {
  SplineData& spline = scratch.spline;
  spline.knots.clear();
  spline.control.clear();
  spline.weights.clear();
  spline.fit.clear();
  double degree = 3, rational = 0, periodic = 0, knots = 0, controls = 0;
  numberIn(hatch, span, 94, degree);
  numberIn(hatch, span, 73, rational);
  numberIn(hatch, span, 74, periodic);
  spline.startTangent = spline.endTangent = {};
  pointIn(hatch, span, 12, 0, spline.startTangent);
  pointIn(hatch, span, 13, 0, spline.endTangent);
  if (!numberIn(hatch, span, 95, knots) || !numberIn(hatch, span, 96, controls)) return false;
  for (size_t i = span.begin; i < span.end; ++i) {
    const double value = hatch.number(i);
    switch (hatch.code(i)) {
      case 40: spline.knots.push_back(value); break;
      case 10: spline.control.push_back({value, 0, elevation}); break;
      case 20:
        if (!spline.control.empty()) spline.control.back().y = value;
        break;
      case 42: spline.weights.push_back(value); break;
      case 11: spline.fit.push_back({value, 0, elevation}); break;
      case 21:
        if (!spline.fit.empty()) spline.fit.back().y = value;
        break;
      default: break;
    }
  }
  if (!(knots >= 0 && controls >= 0) || spline.knots.size() < knots || spline.control.size() < controls) return false;
  spline.knots.resize(static_cast<size_t>(knots));
  spline.control.resize(static_cast<size_t>(controls));
  if (rational == 0 || spline.weights.size() != spline.control.size()) spline.weights.clear();
  spline.degree = degree >= 1 && degree <= 32 ? static_cast<int32_t>(degree) : 3;
  spline.periodic = periodic != 0;
  spline.closed = false;
  appendSplinePoints(scratch.edgePoints, spline, scratch.splineWork, scratch.curveSteps);
  return true;
}

using EdgeReader = bool (*)(const RecordView&, Span, double, HatchScratch&);
// By edge type (group 72): 1 line, 2 circular arc, 3 elliptic arc, 4 spline.
constexpr EdgeReader kEdgeReaders[] = {nullptr, appendLineEdge, appendArcEdge, appendEllipseEdge, appendSplineEdge};

// Whether points[first ...] hold a third point apart from the first two.
bool holdsThreeDistinctPoints(const HeapVector<Vec3>& points, size_t first) {
  if (points.size() - first < 3) return false;
  const Vec3& a = points[first];
  const Vec3& b = points[first + 1];
  for (size_t i = first + 2; i < points.size(); ++i)
    if (!samePlace(points[i], a) && !samePlace(points[i], b)) return true;
  return false;
}

// The ring of points[first ...] and its box.
HatchRing boxedRing(const HeapVector<Vec3>& points, size_t first) {
  HatchRing ring;
  ring.first = static_cast<uint32_t>(first);
  ring.count = static_cast<uint32_t>(points.size() - first);
  ring.minX = ring.maxX = points[first].x;
  ring.minY = ring.maxY = points[first].y;
  for (size_t i = first; i < points.size(); ++i) {
    const Vec3& p = points[i];
    ring.minX = std::min(ring.minX, p.x);
    ring.maxX = std::max(ring.maxX, p.x);
    ring.minY = std::min(ring.minY, p.y);
    ring.maxY = std::max(ring.maxY, p.y);
  }
  return ring;
}

// Keeps points[first ...] as a ring when they hold three distinct finite
// points; drops them otherwise.
void finishRing(HatchScratch& scratch, size_t first) {
  HeapVector<Vec3>& points = scratch.ringPoints;
  if (!dropRepeatedPoints(points, first) || !holdsThreeDistinctPoints(points, first)) return points.resize(first);
  scratch.rings.push_back(boxedRing(points, first));
}

// Reads the edges of an edge path, one after the other, into
// scratch.pathPoints (each ending at the next of scratch.edgeEnds): 93 edge
// count, then each edge from its 72 edge type to the next.
bool readEdges(const RecordView& hatch, Span path, double elevation, HatchScratch& scratch) {
  scratch.pathPoints.clear();
  scratch.edgeEnds.clear();
  const size_t firstEdge = indexIn(hatch, {path.begin + 1, path.end}, 72);
  const size_t countAt = indexIn(hatch, {path.begin + 1, firstEdge}, 93);
  if (countAt == firstEdge) return false;
  const int32_t promised = hatch.integer(countAt);
  size_t edgeAt = firstEdge;
  for (int32_t n = 0; n < promised; ++n) {
    if (edgeAt >= path.end) return false;  // the path holds fewer edges than it says
    const size_t next = indexIn(hatch, {edgeAt + 1, path.end}, 72);
    const int32_t type = hatch.integer(edgeAt);
    if (type < 1 || type > 4) return false;
    scratch.edgePoints.clear();
    if (!kEdgeReaders[type](hatch, {edgeAt + 1, next}, elevation, scratch)) return false;
    scratch.pathPoints.insert(scratch.pathPoints.end(), scratch.edgePoints.begin(), scratch.edgePoints.end());
    if (scratch.pathPoints.size() + scratch.ringPoints.size() > kMostRingPoints) return false;
    scratch.edgeEnds.push_back(static_cast<uint32_t>(scratch.pathPoints.size()));
    edgeAt = next;
  }
  return true;
}

// How far apart two ends of a path's edges may lie and still meet: a
// billionth of the path's size, or of their distance from the origin when
// that is more (rounding grows with it).
struct Meeting {
  double tolerance = 0;
  bool operator()(const Vec3& a, const Vec3& b) const {
    return samePlace(a, b) || (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance);
  }
};

Meeting meetingOf(const HeapVector<Vec3>& points) {
  if (points.empty()) return {};
  double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
  for (const Vec3& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  return {1e-9 * std::max(maxX - minX, maxY - minY)};
}

// An edge path holds one or more loops: an edge that meets the end of the
// loop being built (at its start, or written backwards at its end) joins
// it; any other edge starts the next loop once this one has come back to
// its start. A loop that has not is carried on across the gap, as CAD
// programs read it: a gap in a boundary is no second boundary. The second
// edge of a loop may meet the first one's start: the first was written
// backwards.
bool appendEdgePath(const RecordView& hatch, Span path, double elevation, HatchScratch& scratch) {
  if (!readEdges(hatch, path, elevation, scratch)) return false;
  const HeapVector<Vec3>& edges = scratch.pathPoints;
  const Meeting meet = meetingOf(edges);
  HeapVector<Vec3>& points = scratch.ringPoints;
  size_t loopFirst = points.size(), edgesInLoop = 0, begin = 0;
  for (const uint32_t end : scratch.edgeEnds) {
    const auto from = edges.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto to = edges.begin() + static_cast<std::ptrdiff_t>(end);
    begin = end;
    if (from == to) continue;
    if (edgesInLoop == 1 && !meet(points.back(), *from) && !meet(points.back(), *(to - 1)) &&
        (meet(points[loopFirst], *from) || meet(points[loopFirst], *(to - 1))))
      std::reverse(points.begin() + static_cast<std::ptrdiff_t>(loopFirst), points.end());
    if (edgesInLoop > 0 && meet(points.back(), *from)) {
      points.insert(points.end(), from + 1, to);
    } else if (edgesInLoop > 0 && meet(points.back(), *(to - 1))) {
      points.insert(points.end(), std::make_reverse_iterator(to - 1), std::make_reverse_iterator(from));
    } else if (edgesInLoop > 0 && !meet(points.back(), points[loopFirst])) {
      points.insert(points.end(), from, to);
    } else {
      if (edgesInLoop > 0) finishRing(scratch, loopFirst);
      loopFirst = points.size();
      edgesInLoop = 0;
      points.insert(points.end(), from, to);
    }
    ++edgesInLoop;
  }
  if (edgesInLoop > 0) finishRing(scratch, loopFirst);
  return true;
}

// 72 has-bulge flag and 73 closed flag, 93 vertex count, then each vertex:
// 10/20 and its 42 bulge. A boundary is closed whatever its flag says: the
// last vertex's bulge bends the way back to the first.
bool appendPolylinePath(const RecordView& hatch, Span path, double elevation, HatchScratch& scratch) {
  HeapVector<BulgeVertex>& vertices = scratch.vertices;
  vertices.clear();
  int64_t promised = -1;
  for (size_t i = path.begin + 1; i < path.end; ++i) {
    const int32_t code = hatch.code(i);
    if (code == 97) break;  // the source objects that follow the vertices
    if (code == 93 && vertices.empty()) {
      promised = hatch.integer(i);
    } else if (code == 10) {
      if (static_cast<int64_t>(vertices.size()) == promised) break;
      vertices.push_back({{hatch.number(i), 0, elevation}, 0});
    } else if (code == 20 && !vertices.empty()) {
      vertices.back().at.y = hatch.number(i);
    } else if (code == 42 && !vertices.empty()) {
      vertices.back().bulge = hatch.number(i);
    }
  }
  if (promised < 1 || static_cast<int64_t>(vertices.size()) < promised) return false;
  HeapVector<Vec3>& points = scratch.ringPoints;
  points.push_back(vertices.front().at);
  for (size_t i = 0; i < vertices.size(); ++i) {
    const Vec3& next = vertices[i + 1 < vertices.size() ? i + 1 : 0].at;
    appendBulgePoints(points, vertices[i].at, next, vertices[i].bulge);
    if (points.size() > kMostRingPoints) return false;
  }
  return true;
}

// Reads one path into its rings; a path that cannot be read leaves nothing.
void readBoundary(const RecordView& hatch, Span path, double elevation, HatchScratch& scratch) {
  HeapVector<Vec3>& points = scratch.ringPoints;
  const size_t first = points.size(), firstRing = scratch.rings.size();
  if (hatch.integer(path.begin) & kPolylinePath) {
    if (!appendPolylinePath(hatch, path, elevation, scratch)) return points.resize(first);
    return finishRing(scratch, first);
  }
  if (appendEdgePath(hatch, path, elevation, scratch)) return;
  points.resize(first);
  scratch.rings.resize(firstRing);
}

// Whether `outer`'s box holds `inner`'s.
bool boxHolds(const HatchRing& outer, const HatchRing& inner) {
  return outer.minX <= inner.minX && outer.minY <= inner.minY && outer.maxX >= inner.maxX && outer.maxY >= inner.maxY;
}

double boxArea(const HatchRing& ring) { return (ring.maxX - ring.minX) * (ring.maxY - ring.minY); }

// Odd parity: whether the ray from `p` to the right crosses the ring an odd
// number of times.
bool ringHolds(const Vec3* ring, size_t count, const Vec3& p) {
  bool inside = false;
  for (size_t i = 0, j = count - 1; i < count; j = i++) {
    const Vec3& a = ring[i];
    const Vec3& b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
  }
  return inside;
}

}  // namespace

HatchStyle hatchStyleOf(int32_t group75) {
  constexpr HatchStyle kStyles[] = {HatchStyle::OddParity, HatchStyle::Outermost, HatchStyle::Ignore};
  return group75 >= 0 && group75 <= 2 ? kStyles[group75] : HatchStyle::OddParity;
}

bool dropRepeatedPoints(HeapVector<Vec3>& points, size_t first) {
  // The points before the first repeat stay where they are.
  const size_t size = points.size();
  bool finite = first == size || points[first].finite();
  size_t i = first + 1;
  for (; i < size && !samePlace(points[i - 1], points[i]); ++i) finite &= points[i].finite();
  size_t kept = std::min(i, size);
  for (; i < size; ++i) {
    finite &= points[i].finite();
    if (!samePlace(points[kept - 1], points[i])) points[kept++] = points[i];
  }
  while (kept - first > 1 && samePlace(points[kept - 1], points[first])) --kept;
  points.resize(kept);
  return finite;
}

size_t readBoundaries(const RecordView& hatch, double elevation, HatchScratch& scratch) {
  scratch.rings.clear();
  scratch.ringPoints.clear();
  const size_t countAt = hatch.find(91);
  if (countAt == hatch.size()) return countAt;
  size_t end = countAt + 1;
  while (end < hatch.size() && !followsBoundaries(hatch.code(end))) ++end;
  const int32_t promised = hatch.integer(countAt);
  size_t pathAt = indexIn(hatch, {countAt + 1, end}, 92);
  for (int32_t n = 0; n < promised && pathAt < end; ++n) {
    const size_t next = indexIn(hatch, {pathAt + 1, end}, 92);
    readBoundary(hatch, {pathAt, next}, elevation, scratch);
    pathAt = next;
  }
  return end;
}

bool nestRings(HatchScratch& scratch, HatchWork& work) {
  HeapVector<HatchRing>& rings = scratch.rings;
  for (size_t j = 0; j < rings.size(); ++j) {
    HatchRing& inner = rings[j];
    inner.depth = 0;
    inner.parent = -1;
    const Vec3& probe = scratch.ringPoints[inner.first];
    for (size_t i = 0; i < rings.size(); ++i) {
      if (!work.take(1)) return false;
      const HatchRing& outer = rings[i];
      if (i == j || !boxHolds(outer, inner)) continue;
      if (!work.take(outer.count)) return false;
      if (!ringHolds(&scratch.ringPoints[outer.first], outer.count, probe)) continue;
      ++inner.depth;
      // Rings nest, so the nearest that holds it has the smallest box.
      if (inner.parent < 0 || boxArea(outer) < boxArea(rings[static_cast<size_t>(inner.parent)]))
        inner.parent = static_cast<int32_t>(i);
    }
  }
  return true;
}

bool takesPart(const HatchRing& ring, HatchStyle style) {
  switch (style) {
    case HatchStyle::Outermost: return ring.depth <= 1;
    case HatchStyle::Ignore: return ring.depth == 0;
    case HatchStyle::OddParity: break;
  }
  return true;
}

bool isOuterBoundary(const HatchRing& ring, HatchStyle style) { return takesPart(ring, style) && ring.depth % 2 == 0; }

}  // namespace drawport::full
