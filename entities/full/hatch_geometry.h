// The geometry of a HATCH, in the hatch's object coordinates: its boundary
// paths read into closed rings of points, how the rings nest, each filled
// area as one outline with its holes bridged in, and the pattern's lines
// clipped to the area. The steps work in the run's hatch scratch room.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "dxf/full/entity_record.h"
#include "entities/full/full_run.h"
#include "entities/full/hatch_scratch.h"

namespace drawport::full {

// The work one hatch may take (ring nesting, bridging holes, clipping the
// pattern), counted in elementary steps; a hatch that would take more is
// drawn as its boundaries only. A hatch of a thousand islands takes less
// than a tenth of it. Its steps count towards the run's work too, so that a
// long one hears the user's stop.
class HatchWork {
 public:
  static constexpr int64_t kMostSteps = int64_t{1} << 26;
  explicit HatchWork(FullRun& run) : run_(run) {}
  // Counts `steps`; false once the hatch has taken more than it may, or the
  // run is stopped or has spent its work.
  bool take(int64_t steps) {
    left_ -= steps;
    return left_ >= 0 && run_.countWork(steps);
  }
  // From now on at most `most` steps more.
  void limitTo(int64_t most) { left_ = left_ < most ? left_ : most; }
  FullRun& run() const { return run_; }

 private:
  FullRun& run_;
  int64_t left_ = kMostSteps;
};

// How islands (boundaries inside boundaries) take part, by group 75.
enum class HatchStyle : uint8_t {
  OddParity,  // 0: every boundary, areas alternate filled and empty
  Outermost,  // 1: the outer boundaries and the islands right inside them
  Ignore,     // 2: the outer boundaries alone
};
HatchStyle hatchStyleOf(int32_t group75);

// Whether two points of a hatch count as one: within a billionth of their
// distance from the origin (and of 1).
inline bool samePlace(const Vec3& a, const Vec3& b) {
  const double tolerance = 1e-9 * (1 + std::fabs(a.x) + std::fabs(a.y));
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

// Leaves out of points[first ...] every point that repeats the one before
// it, and the ring's return to points[first]; returns whether all the points
// it was given were finite.
bool dropRepeatedPoints(HeapVector<Vec3>& points, size_t first);

// Reads the boundary paths of `hatch` (from its group 91 on) into
// scratch.rings and scratch.ringPoints at the OCS height `elevation`. An
// edge path may hold several loops (a loop ends where the next edge does
// not meet the end of the one before): each is a ring of its own. A
// boundary that is malformed (a count that promises more than the entity
// holds, a missing value), not finite, or of fewer than three distinct
// points, is passed over; so is one that would take the hatch past
// kMostRingPoints. Returns the index of the first group after the paths (the
// entity's size when it has no group 91).
size_t readBoundaries(const RecordView& hatch, double elevation, HatchScratch& scratch);
inline constexpr size_t kMostRingPoints = size_t{1} << 21;

// Sets each ring's depth (how many rings hold it) and parent (the nearest of
// them). False when that takes more work than the hatch may.
bool nestRings(HatchScratch& scratch, HatchWork& work);

// Whether a ring bounds the hatch's area under `style`, and whether it is
// the outer boundary of a filled area (the rest of those that take part are
// holes).
bool takesPart(const HatchRing& ring, HatchStyle style);
bool isOuterBoundary(const HatchRing& ring, HatchStyle style);

// Points in a row.
struct PointRun {
  const Vec3* points = nullptr;
  size_t count = 0;
};

// The outline of the filled area that ring `outer` bounds, into `outline`:
// the ring itself when it has no holes, else (in scratch.area) the ring with
// each of its holes joined to it by a zero-width bridge (from the hole's
// rightmost point straight to the right onto the outline, around the hole
// against the outline's sense, and back), so that any fill rule leaves the
// holes empty. A hole that the ray to its right does not bring back to the
// outline is left out. False when that takes more work than the hatch may.
bool bridgeHoles(HatchScratch& scratch, uint32_t outer, HatchStyle style, HatchWork& work, PointRun& outline);

// Cuts the filled outline `outline` into upright strips of at most `most`
// points each, into scratch.strips (each strip ending at the next of
// scratch.stripEnds): each strip is the outline clipped to a band of x, so
// that the strips, filled, cover the area as the outline would. A strip
// whose points all stand at one x stays as it is. False when that takes
// more work than the hatch may.
bool cutIntoStrips(HatchScratch& scratch, PointRun outline, size_t most, HatchWork& work);

// Reads the pattern's lines (53, 43, 44, 45, 46, 79 and 49 groups, up to the
// count of group 78) from group `from` on, into scratch.patternLines and
// scratch.dashes.
void readPatternLines(const RecordView& hatch, size_t from, HatchScratch& scratch);

// The most segments one hatch's pattern draws; a pattern that would draw
// more is left out and the hatch drawn as its boundaries.
inline constexpr size_t kMostPatternSegments = 100'000;

// The segments of the pattern's lines inside the area bounded by the rings
// that take part under `style` (odd parity), dashed, into scratch.segments
// (two points per segment, at `elevation`). False when there would be more
// than kMostPatternSegments or it takes more than kMostPatternSteps or more
// work than the hatch may: the pattern is too dense to draw, and counted so.
inline constexpr int64_t kMostPatternSteps = int64_t{1} << 20;
bool clipPattern(HatchScratch& scratch, HatchStyle style, double elevation, HatchWork& work);

}  // namespace drawport::full
