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
    const Vec3& b = area[(i + 1) % area.size()];
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
  for (size_t step = 0; step <= count; ++step)
    bridged.push_back(ring[backwards ? (start + count - step % count) % count : (start + step) % count]);
  bridged.push_back(landing);
  bridged.insert(bridged.end(), area.begin() + static_cast<std::ptrdiff_t>(landingEdge + 1), area.end());
  // A bridge that lands on a corner would repeat it.
  dropRepeatedPoints(bridged, 0);
  area.swap(bridged);
}

}  // namespace

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
