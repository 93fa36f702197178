// HATCH in the full reading: a solid (or gradient) hatch as one filled
// outline per area with its holes bridged in, a pattern hatch as its
// pattern's lines clipped to the area. Everything is drawn in the hatch's
// object coordinates at its elevation.
#include "entities/full/drawing.h"
#include "entities/full/hatch_geometry.h"

namespace drawport::full {
namespace {

constexpr int32_t kSolidFill = 1;     // group 70
constexpr int32_t kGradientFill = 1;  // group 450
constexpr int32_t kGradientEntry = 463;

// The first colour of a gradient: the true colour (421), else the colour
// number (63), of its first colour entry (from the first 463 to the next).
bool firstGradientColour(const RecordView& hatch, Colour& colour) {
  const size_t gradient = hatch.find(450);
  size_t first = hatch.find(kGradientEntry, gradient);
  if (first == hatch.size()) first = gradient;
  const size_t end = hatch.find(kGradientEntry, first + 1);
  bool found = false;
  for (size_t i = first; i < end; ++i) {
    const int32_t value = hatch.integer(i);
    if (hatch.code(i) == 421 && value >= 0) {
      colour = Colour::rgb(value & 0xFFFFFF);
      return true;
    }
    if (hatch.code(i) == 63 && value >= 1 && value <= 255 && !found) {
      colour = Colour::index(value);
      found = true;
    }
  }
  return found;
}

// What a solid hatch is filled in: the entity's colour, or a gradient's
// first colour (the background still, when the layer is hidden).
OrvColorIndex_t fillColourOf(const EntityDraw& e, bool gradient) {
  const Run& common = e.run.run;
  Colour colour;
  if (!gradient || !firstGradientColour(e.entity, colour) ||
      (layerHidden(e.look.layer) && !common.settings.showInvisibleLayers))
    return e.look.hostColour;
  return hostColourOf(common.colours, colour);
}

void drawRing(Painter& painter, const HatchScratch& scratch, const HatchRing& ring) {
  painter.polyline(&scratch.ringPoints[ring.first], ring.count, true);
}

// The boundaries that bound the area, as closed outlines; every boundary
// when their nesting is not known.
void drawBoundaries(Painter& painter, const HatchScratch& scratch, HatchStyle style, bool nested) {
  for (const HatchRing& ring : scratch.rings)
    if (!nested || takesPart(ring, style)) drawRing(painter, scratch, ring);
}

// The most points of a filled outline that stays one host polyline: the
// host's polylines hold kPointsPerPiece, the return to the first point
// included.
constexpr size_t kMostFilledPoints = AnchoredPolyline::kPointsPerPiece - 1;

// A filled outline: one host polyline, or upright strips of it when it has
// more points than one holds. False when the strips take the hatch past its
// work.
bool drawFilledOutline(Painter& painter, HatchScratch& scratch, PointRun outline, HatchWork& work) {
  if (outline.count <= kMostFilledPoints) {
    painter.polyline(outline.points, outline.count, true, true);
    return true;
  }
  if (!cutIntoStrips(scratch, outline, kMostFilledPoints, work)) return false;
  uint32_t start = 0;
  for (const uint32_t end : scratch.stripEnds) {
    painter.polyline(&scratch.strips[start], end - start, true, true);
    start = end;
  }
  return true;
}

// One filled outline per area; an area that takes the hatch past its work is
// drawn as its boundaries.
void drawFilledAreas(Painter& painter, FullRun& run, HatchStyle style, HatchWork& work) {
  HatchScratch& scratch = run.hatch;
  for (uint32_t i = 0; i < scratch.rings.size(); ++i) {
    const HatchRing& outer = scratch.rings[i];
    if (!isOuterBoundary(outer, style)) continue;
    PointRun outline;
    if (bridgeHoles(scratch, i, style, work, outline) && drawFilledOutline(painter, scratch, outline, work)) continue;
    drawRing(painter, scratch, outer);
    for (const HatchRing& hole : scratch.rings)
      if (hole.parent == static_cast<int32_t>(i) && takesPart(hole, style)) drawRing(painter, scratch, hole);
  }
}

void drawPatternLines(Painter& painter, const HatchScratch& scratch) {
  const HeapVector<Vec3>& ends = scratch.segments;
  for (size_t i = 0; i + 1 < ends.size(); i += 2) painter.line(ends[i], ends[i + 1]);
}

}  // namespace

void drawHatch(const EntityDraw& e) {
  const RecordView& hatch = e.entity;
  FullRun& run = e.run;
  HatchScratch& scratch = run.hatch;
  // The groups that hold for the whole hatch, each written once: elevation,
  // solid fill flag, gradient flag.
  double elevation = 0;
  int32_t solidFlag = 0, gradientFlag = 0;
  for (size_t i = 0; i < hatch.size(); ++i) {
    switch (hatch.code(i)) {
      case 30: elevation = hatch.number(i); break;
      case 70: solidFlag = hatch.integer(i); break;
      case 450: gradientFlag = hatch.integer(i); break;
      default: break;
    }
  }
  scratch.curveSteps = &run;
  const size_t afterBoundaries = readBoundaries(hatch, elevation, scratch);
  if (scratch.rings.empty()) return;
  const size_t styleAt = hatch.find(75, afterBoundaries);
  const HatchStyle style = hatchStyleOf(styleAt < hatch.size() ? hatch.integer(styleAt) : 0);
  const bool gradient = gradientFlag == kGradientFill;
  const Transform toWorld = e.objectToWorld();
  HatchWork work(run);
  const bool nested = nestRings(scratch, work);
  if (gradient || solidFlag == kSolidFill) {
    Painter painter(run, toWorld, fillColourOf(e, gradient));
    if (!nested) return drawBoundaries(painter, scratch, style, false);
    return drawFilledAreas(painter, run, style, work);
  }
  // A pattern hatch shows its pattern's lines: its outline, if drawn at
  // all, is other geometry, often of another layer and colour. Only a
  // pattern that cannot be worked out leaves the boundaries in its place,
  // so that the hatch does not vanish.
  Painter painter = e.painter(toWorld);
  if (nested) {
    readPatternLines(hatch, afterBoundaries, scratch);
    if (clipPattern(scratch, style, elevation, work)) return drawPatternLines(painter, scratch);
  }
  drawBoundaries(painter, scratch, style, nested);
}

}  // namespace drawport::full
