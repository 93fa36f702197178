// A filled area of a solid hatch as one outline: its outer boundary with
// each hole joined to it by a zero-width bridge (the keyhole), so that the
// host's fill, whatever its rule, leaves the holes empty.
#include <algorithm>
#include <limits>

#include "entities/full/hatch_geometry.h"

namespace drawport::full {
namespace {

// Twice the area the ring encloses, positive when it runs counter-clockwise.
double turningArea(const Vec3* ring, size_t count) {
  double area = 0;
  for (size_t i = 0, j = count - 1; i < count; j = i++) area += (ring[j].x - ring[i].x) * (ring[j].y + ring[i].y);
  return area;
}

size_t rightmostPoint(const Vec3* ring, size_t count) {
  size_t rightmost = 0;
  for (size_t i = 1; i < count; ++i)
    if (ring[i].x > ring[rightmost].x) rightmost = i;
  return rightmost;
}

// Joins the hole to scratch.area: from the hole's rightmost point straight
// to the right, the outline's nearest crossing is where the bridge lands.
// Holes are bridged in from right to left, so that ray meets the outline and
// the holes already in it, never a hole still to come.
void bridgeHole(HatchScratch& scratch, const HatchRing& hole, bool outlineCounterClockwise) {
  const Vec3* ring = &scratch.ringPoints[hole.first];
  const size_t count = hole.count;
  const size_t start = rightmostPoint(ring, count);
  const Vec3& from = ring[start];
  HeapVector<Vec3>& area = scratch.area;
  size_t landingEdge = area.size();
  double landingX = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < area.size(); ++i) {
    const Vec3& a = area[i];
    const Vec3& b = area[i + 1 < area.size() ? i + 1 : 0];
    if ((a.y > from.y) == (b.y > from.y)) continue;
    const double x = a.x + (from.y - a.y) * (b.x - a.x) / (b.y - a.y);
    if (x >= from.x && x < landingX) {
      landingX = x;
      landingEdge = i;
    }
  }
  if (landingEdge == area.size()) return;
  const Vec3 landing{landingX, from.y, from.z};
  // Out along the bridge, around the hole the other way than the outline,
  // back along the bridge.
  const bool backwards = (turningArea(ring, count) > 0) == outlineCounterClockwise;
  HeapVector<Vec3>& bridged = scratch.bridged;
  bridged.clear();
  bridged.insert(bridged.end(), area.begin(), area.begin() + static_cast<std::ptrdiff_t>(landingEdge + 1));
  bridged.push_back(landing);
  size_t at = start;
  for (size_t step = 0; step <= count; ++step) {
    bridged.push_back(ring[at]);
    if (backwards)
      at = at == 0 ? count - 1 : at - 1;
    else
      at = at + 1 == count ? 0 : at + 1;
  }
  bridged.push_back(landing);
  bridged.insert(bridged.end(), area.begin() + static_cast<std::ptrdiff_t>(landingEdge + 1), area.end());
  // A bridge that lands on a corner would repeat it.
  dropRepeatedPoints(bridged, 0);
  area.swap(bridged);
}

// Where the edge from `p` to `q` crosses the upright line at `x`.
Vec3 crossingAt(const Vec3& p, const Vec3& q, double x) {
  const double t = (x - p.x) / (q.x - p.x);
  return {x, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
}

// The outline clipped to the side of the upright line at `x` that `keep`
// tells (+1 right of it, -1 left of it), into `out`. A concave outline comes
// out as one outline whose parts are joined along the line, with no area
// between the joins.
void clipToSide(const Vec3* points, size_t count, double x, int keep, HeapVector<Vec3>& out) {
  out.clear();
  for (size_t i = 0, previous = count - 1; i < count; previous = i++) {
    const Vec3& p = points[previous];
    const Vec3& q = points[i];
    const bool pIn = (p.x - x) * keep >= 0, qIn = (q.x - x) * keep >= 0;
    if (pIn != qIn) out.push_back(crossingAt(p, q, x));
    if (qIn) out.push_back(q);
  }
}

// Strips are halved at most this many times.
constexpr size_t kDeepestCut = 24;

// The outline clipped to the band from `left` to `right`, kept as one strip
// when it is small enough, else halved at the median x of its points and
// each half cut from it in turn.
bool cutBand(HatchScratch& scratch, PointRun outline, double left, double right, size_t most, size_t depth,
             HatchWork& work) {
  if (!work.take(static_cast<int64_t>(2 * outline.count))) return false;
  HeapVector<Vec3>& band = scratch.bands[depth];
  clipToSide(outline.points, outline.count, left, +1, scratch.bridged);
  clipToSide(scratch.bridged.data(), scratch.bridged.size(), right, -1, band);
  dropRepeatedPoints(band, 0);
  if (band.size() < 3) return true;
  HeapVector<double>& xs = scratch.stripXs;
  xs.clear();
  for (const Vec3& p : band) xs.push_back(p.x);
  const auto middle = xs.begin() + static_cast<std::ptrdiff_t>(xs.size() / 2);
  std::nth_element(xs.begin(), middle, xs.end());
  const double cut = *middle;
  if (band.size() <= most || depth >= kDeepestCut || !(cut > left && cut < right)) {
    scratch.strips.insert(scratch.strips.end(), band.begin(), band.end());
    scratch.stripEnds.push_back(static_cast<uint32_t>(scratch.strips.size()));
    return true;
  }
  const PointRun halves{band.data(), band.size()};
  return cutBand(scratch, halves, left, cut, most, depth + 1, work) &&
         cutBand(scratch, halves, cut, right, most, depth + 1, work);
}

}  // namespace

bool cutIntoStrips(HatchScratch& scratch, PointRun outline, size_t most, HatchWork& work) {
  scratch.strips.clear();
  scratch.stripEnds.clear();
  if (scratch.bands.size() <= kDeepestCut) scratch.bands.resize(kDeepestCut + 1);
  constexpr double kEverything = std::numeric_limits<double>::infinity();
  return cutBand(scratch, outline, -kEverything, kEverything, most, 0, work);
}

bool bridgeHoles(HatchScratch& scratch, uint32_t outer, HatchStyle style, HatchWork& work, PointRun& outline) {
  const HeapVector<HatchRing>& rings = scratch.rings;
  const HatchRing& ring = rings[outer];
  const Vec3* points = &scratch.ringPoints[ring.first];
  outline = {points, ring.count};
  HeapVector<uint32_t>& holes = scratch.holes;
  holes.clear();
  for (uint32_t i = 0; i < rings.size(); ++i) {
    const HatchRing& hole = rings[i];
    if (hole.parent == static_cast<int32_t>(outer) && takesPart(hole, style) && !isOuterBoundary(hole, style))
      holes.push_back(i);
  }
  if (holes.empty()) return true;
  std::sort(holes.begin(), holes.end(), [&rings](uint32_t a, uint32_t b) {
    return rings[a].maxX > rings[b].maxX || (rings[a].maxX == rings[b].maxX && a < b);
  });
  scratch.area.assign(points, points + ring.count);
  const bool counterClockwise = turningArea(points, ring.count) > 0;
  for (uint32_t hole : holes) {
    if (!work.take(static_cast<int64_t>(scratch.area.size() + rings[hole].count))) return false;
    bridgeHole(scratch, rings[hole], counterClockwise);
  }
  outline = {scratch.area.data(), scratch.area.size()};
  return true;
}

}  // namespace drawport::full
