// A hatch pattern's lines clipped to the hatch's area: each pattern line is
// a family of parallel lines, each next one shifted by the line's offset;
// each line is cut where it crosses the boundaries (odd parity), and the
// pieces inside are dashed. The lines are met in order across the area, so
// each meets only the boundary edges that reach it.
#include <algorithm>
#include <cmath>

#include "entities/full/hatch_geometry.h"

namespace drawport::full {
namespace {

// A family's lines: point = base + across x s + along x t; line k of the
// family stands at s = k x spacing, and its dashes start at t = k x shift.
struct LineFamily {
  Vec3 base, along, across;
  double spacing = 0, shift = 0;
  const double* dashes = nullptr;
  uint32_t dashCount = 0;
  double period = 0;  // the length of one run of the dashes
};

bool addSegment(HatchScratch& scratch, const LineFamily& family, double s, double from, double to, double elevation) {
  if (scratch.segments.size() / 2 >= kMostPatternSegments) return false;
  Vec3 start = family.base + family.across * s + family.along * from;
  Vec3 end = family.base + family.across * s + family.along * to;
  start.z = end.z = elevation;
  scratch.segments.push_back(start);
  scratch.segments.push_back(end);
  return true;
}

// The dashes of line k that fall between `from` and `to` along it: positive
// lengths are drawn, negative ones are gaps; a dot (0) draws nothing.
bool dashPiece(HatchScratch& scratch, const LineFamily& family, double k, double from, double to, double elevation,
               HatchWork& work) {
  if (!(to > from)) return true;  // a line that only touches the boundary
  const double s = k * family.spacing;
  if (family.dashCount == 0 || !(family.period > 0))
    return work.take(1) && addSegment(scratch, family, s, from, to, elevation);
  const double origin = k * family.shift;
  double at = origin + std::floor((from - origin) / family.period) * family.period;
  for (uint32_t d = 0; at < to; d = (d + 1) % family.dashCount) {
    if (!work.take(1)) return false;  // also ends a run that rounding keeps from moving on
    const double dash = family.dashes[d];
    const double length = std::fabs(dash);
    const double start = std::max(at, from), end = std::min(at + length, to);
    if (dash > 0 && end > start && !addSegment(scratch, family, s, start, end, elevation)) return false;
    at += length;
  }
  return true;
}

// The box of the boundaries in a family's coordinates.
struct FamilyBox {
  double lowS = 0, highS = 0, lowT = 0, highT = 0;
};

// The boundary edges of the rings that take part, in the family's
// coordinates; edges along the lines are left out (the lines cross them
// nowhere). Sets the box of the boundaries. False when a coordinate is
// beyond the numbers (the edges could not be put in order).
bool gatherEdges(HatchScratch& scratch, const LineFamily& family, HatchStyle style, FamilyBox& box) {
  HeapVector<ScanEdge>& edges = scratch.scanEdges;
  edges.clear();
  box = {};
  bool first = true;
  for (const HatchRing& ring : scratch.rings) {
    if (!takesPart(ring, style)) continue;
    const Vec3* points = &scratch.ringPoints[ring.first];
    for (size_t i = 0; i < ring.count; ++i) {
      const Vec3 p = points[i] - family.base, q = points[(i + 1) % ring.count] - family.base;
      const double sp = p.x * family.across.x + p.y * family.across.y;
      const double sq = q.x * family.across.x + q.y * family.across.y;
      const double tp = p.x * family.along.x + p.y * family.along.y;
      const double tq = q.x * family.along.x + q.y * family.along.y;
      if (!std::isfinite(sp) || !std::isfinite(sq) || !std::isfinite(tp) || !std::isfinite(tq)) return false;
      box.lowS = first ? sp : std::min(box.lowS, sp);
      box.highS = first ? sp : std::max(box.highS, sp);
      box.lowT = first ? tp : std::min(box.lowT, tp);
      box.highT = first ? tp : std::max(box.highT, tp);
      first = false;
      if (sp == sq) continue;
      edges.push_back(sp < sq ? ScanEdge{sp, tp, sq, tq} : ScanEdge{sq, tq, sp, tp});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const ScanEdge& a, const ScanEdge& b) { return a.sLow < b.sLow; });
  return true;
}

// Every line of the family across the area, cut by the boundaries: an edge
// is crossed by the lines from its lower s up to (not including) its upper.
bool clipFamily(HatchScratch& scratch, const LineFamily& family, HatchStyle style, double elevation, HatchWork& work) {
  FamilyBox box;
  if (!gatherEdges(scratch, family, style, box)) return true;
  const HeapVector<ScanEdge>& edges = scratch.scanEdges;
  if (!work.take(static_cast<int64_t>(edges.size()))) return false;
  const double firstLine = std::ceil(box.lowS / family.spacing);
  const double lines = std::floor(box.highS / family.spacing) - firstLine + 1;
  if (edges.empty() || !(lines >= 1)) return true;
  if (!(lines <= static_cast<double>(HatchWork::kMostSteps)) || !work.take(static_cast<int64_t>(lines))) return false;
  // The dashes and gaps the lines would walk across the whole box, at most:
  // a pattern that would walk more than it may is left out before the walk
  // (a pattern all gaps draws nothing, and would walk them all).
  if (family.dashCount > 0 && family.period > 0) {
    const double runs = (box.highT - box.lowT) / family.period + 2;
    if (!(lines * runs * family.dashCount <= static_cast<double>(kMostPatternSteps))) return false;
  }
  HeapVector<uint32_t>& active = scratch.activeEdges;
  HeapVector<double>& crossings = scratch.crossings;
  active.clear();
  size_t next = 0;
  for (int64_t n = 0; n < static_cast<int64_t>(lines); ++n) {
    const double k = firstLine + static_cast<double>(n);
    const double s = k * family.spacing;
    while (next < edges.size() && edges[next].sLow <= s) active.push_back(static_cast<uint32_t>(next++));
    crossings.clear();
    size_t kept = 0;
    bool finite = true;
    for (const uint32_t index : active) {
      const ScanEdge& edge = edges[index];
      if (edge.sHigh <= s) continue;  // passed: no later line meets it
      active[kept++] = index;
      const double t = edge.tLow + (s - edge.sLow) / (edge.sHigh - edge.sLow) * (edge.tHigh - edge.tLow);
      finite = finite && std::isfinite(t);
      crossings.push_back(t);
    }
    active.resize(kept);
    if (!work.take(static_cast<int64_t>(kept))) return false;
    if (!finite) continue;  // crossings beyond the numbers cannot be put in order
    std::sort(crossings.begin(), crossings.end());
    for (size_t c = 0; c + 1 < crossings.size(); c += 2)
      if (!dashPiece(scratch, family, k, crossings[c], crossings[c + 1], elevation, work)) return false;
  }
  return true;
}

// The family of a pattern line; false for one whose lines do not move apart
// (they would all be one line) or that is not finite.
bool familyOf(const PatternLine& line, const HatchScratch& scratch, LineFamily& family) {
  family.base = {line.base.x, line.base.y, 0};
  family.along = {std::cos(line.angle), std::sin(line.angle), 0};
  family.across = {-family.along.y, family.along.x, 0};
  Vec3 offset{line.offset.x, line.offset.y, 0};
  family.spacing = offset.dot(family.across);
  // The same lines, numbered the other way, move apart in +s.
  if (family.spacing < 0) {
    offset = offset * -1;
    family.spacing = -family.spacing;
  }
  family.shift = offset.dot(family.along);
  family.dashes = line.dashCount > 0 ? &scratch.dashes[line.firstDash] : nullptr;
  family.dashCount = line.dashCount;
  family.period = 0;
  for (uint32_t d = 0; d < line.dashCount; ++d) family.period += std::fabs(family.dashes[d]);
  return family.spacing > 0 && std::isfinite(family.spacing) && std::isfinite(family.shift) && family.base.finite() &&
         family.along.finite() && std::isfinite(family.period);
}

// A pattern left out because it takes more than one hatch may is counted;
// one cut short by the user's stop or the run's end is not.
bool tooDense(const HatchWork& work) {
  FullRun& run = work.run();
  if (run.drawing()) run.lessen(Lessened::DensePattern);
  return false;
}

}  // namespace

void readPatternLines(const RecordView& hatch, size_t from, HatchScratch& scratch) {
  scratch.patternLines.clear();
  scratch.dashes.clear();
  const size_t countAt = hatch.find(78, from);
  if (countAt == hatch.size()) return;
  const int64_t promised = hatch.integer(countAt);
  int64_t dashesPromised = 0;
  for (size_t i = countAt + 1; i < hatch.size(); ++i) {
    const int32_t code = hatch.code(i);
    const double value = hatch.number(i);
    if (code == 53) {
      if (static_cast<int64_t>(scratch.patternLines.size()) >= promised) return;
      PatternLine line;
      line.angle = radians(value);
      line.firstDash = static_cast<uint32_t>(scratch.dashes.size());
      scratch.patternLines.push_back(line);
      dashesPromised = 0;
      continue;
    }
    if (scratch.patternLines.empty()) continue;
    PatternLine& line = scratch.patternLines.back();
    switch (code) {
      case 43: line.base.x = value; break;
      case 44: line.base.y = value; break;
      case 45: line.offset.x = value; break;
      case 46: line.offset.y = value; break;
      case 79: dashesPromised = hatch.integer(i); break;
      case 49:
        if (line.dashCount < dashesPromised) {
          scratch.dashes.push_back(value);
          ++line.dashCount;
        }
        break;
      default: break;
    }
  }
}

bool clipPattern(HatchScratch& scratch, HatchStyle style, double elevation, HatchWork& work) {
  scratch.segments.clear();
  // A pattern's dashes and gaps are its own work: an all-gap pattern draws
  // nothing and would still walk every gap.
  work.limitTo(kMostPatternSteps);
  for (const PatternLine& line : scratch.patternLines) {
    LineFamily family;
    if (!work.take(1)) return tooDense(work);
    if (familyOf(line, scratch, family) && !clipFamily(scratch, family, style, elevation, work)) return tooDense(work);
  }
  return true;
}

}  // namespace drawport::full
