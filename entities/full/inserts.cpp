// Block references in the full reading: INSERT (with its array and its
// attributes), DIMENSION and ACAD_TABLE draw the records of a held block
// through the converters with the reference's transform. Every reference is
// checked before it draws: its block must exist and not draw itself, the
// nesting and the array must stay within bounds, and the host objects it
// would create must keep the import within its bound.
#include "entities/full/inserts.h"

#include <cmath>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

constexpr int32_t kAttributesFollow = 66;
constexpr int32_t kInvisibleAttribute = 1;

// A block reference as its record gives it.
struct Reference {
  std::string_view blockName;
  Vec3 insertion;
  Vec3 scale{1, 1, 1};
  double rotation = 0;  // radians
  int64_t columns = 1, rows = 1;
  double columnSpacing = 0, rowSpacing = 0;
  Transform objectToWorld;  // the reference's object coordinates to the world
};

int64_t cellsOf(int32_t count) { return count < 1 ? 1 : count; }

// What drawing one cell of a reference costs against the bound: its
// block's objects, and the cell itself, so that arrays of arrays of a block
// that draws nothing are bounded too.
int64_t cellCost(int64_t blockObjects) { return blockObjects + 1; }

// a * b, or `most` + 1 when that is more.
int64_t saturatingProduct(int64_t a, int64_t b, int64_t most = FullRun::kMostObjects) {
  if (a == 0 || b == 0) return 0;
  if (a > (most + 1) / b) return most + 1;
  return a * b;
}

int64_t saturatingSum(int64_t a, int64_t b, int64_t most) { return a > most - b ? most + 1 : a + b; }

DrawCost costOfBlockNamed(FullRun& run, std::string_view name) {
  const int32_t index = run.blocks.find(name);
  return index < 0 ? DrawCost{} : costOfBlock(run, index);
}

DrawCost costOfCells(int64_t cells, const DrawCost& block) {
  return {saturatingProduct(cells, cellCost(block.objects)),
          saturatingProduct(cells, block.points, FullRun::kMostPoints)};
}

// How the groups of an entity that draws polylines tell their points: a
// fixed count, and so many for each vertex, control or fit point (a spline
// is sampled at 8 points a span, about one span a control point). Other
// kinds hand the host no polyline points, circles and arcs included: they
// stay host circles and arcs unless a reference distorts them, and what the
// estimate leaves out the bound still stops as the points are made.
struct PointEstimate {
  std::string_view name;
  int64_t fixed;
  int64_t perPoint;
};
constexpr PointEstimate kPointEstimates[] = {
    {"LWPOLYLINE", 0, 1},  {"VERTEX", 0, 1},  {"LEADER", 0, 1}, {"HATCH", 0, 1},
    {"MULTILEADER", 0, 1}, {"MLEADER", 0, 1}, {"SPLINE", 0, 8}, {"ELLIPSE", 91, 0},
    {"SOLID", 5, 0},       {"TRACE", 5, 0},   {"3DFACE", 5, 0},
};

// The polyline points an entity hands the host when drawn once, as near as
// its groups tell: the points a bulge adds between two vertices included.
int64_t pointsOfShape(const RecordView& entity) {
  const PointEstimate* estimate = nullptr;
  for (const PointEstimate& kind : kPointEstimates)
    if (kind.name == entity.name()) estimate = &kind;
  if (!estimate) return 0;
  int64_t points = estimate->fixed;
  if (estimate->perPoint == 0) return points;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    if (code == 10 || code == 11)
      points += estimate->perPoint;
    else if (code == 42)
      points += chordsForSweep(4 * std::atan(entity.number(i))) - 1;
  }
  return points;
}

// What an entity held in a block takes when drawn once.
DrawCost costOfEntity(FullRun& run, const RecordView& entity) {
  const std::string_view name = entity.name();
  if (name == "INSERT")
    return costOfCells(cellsOf(entity.integerOr(70, 1)) * cellsOf(entity.integerOr(71, 1)),
                       costOfBlockNamed(run, entity.textOr(2)));
  if (name == "DIMENSION" || name == "ACAD_TABLE") return costOfBlockNamed(run, entity.textOr(2));
  if (name == "MULTILEADER" || name == "MLEADER") {
    // Its lines and note, and the block its note may draw (named by the
    // block record's handle).
    const int32_t index = run.blocks.findByHandle(entity.textOr(341));
    const DrawCost note = index < 0 ? DrawCost{} : costOfBlock(run, index);
    return {2 + note.objects, saturatingSum(pointsOfShape(entity), note.points, FullRun::kMostPoints)};
  }
  if (name == "SEQEND" || name == "ATTDEF") return {};
  // A polyline's vertices make no objects of their own, a polyface's faces do.
  if (name == "VERTEX") return {(entity.integerOr(70, 0) & 192) == 128 ? 1 : 0, pointsOfShape(entity)};
  return {1, pointsOfShape(entity)};
}

bool onPlacement(const Placement& at, int32_t block) {
  for (const Placement* level = &at; level; level = level->outer)
    if (level->block == block) return true;
  return false;
}

// Whether the reference may draw block `block` cells times; counts the
// reason when it may not.
bool mayDraw(FullRun& run, const Placement& at, int32_t block, const Vec3& scale, int64_t cells) {
  SkipReason reason;
  if (block < 0 || run.blocks.block(block).layout)
    reason = SkipReason::MissingBlock;
  else if (onPlacement(at, block))
    reason = SkipReason::DrawsItself;
  else if (at.depth >= FullRun::kDeepestNesting)
    reason = SkipReason::TooDeep;
  else if (scale.x == 0 || scale.y == 0 || scale.z == 0)
    reason = SkipReason::ZeroScale;
  else if (cells > FullRun::kMostCells)
    reason = SkipReason::TooManyCells;
  else {
    const DrawCost cost = costOfCells(cells, costOfBlock(run, block));
    if (run.work + cost.objects > FullRun::kMostObjects)
      reason = SkipReason::TooManyObjects;
    else if (run.pointsCreated + cost.points > run.mostPoints)
      reason = SkipReason::TooManyPoints;
    else
      return true;
  }
  run.skip(reason);
  return false;
}

// Draws the block's records with `toWorld`, inheriting the reference's
// colour and layer. False when the transform is not finite.
bool drawBlockOnce(const EntityDraw& e, int32_t block, const Transform& toWorld) {
  if (!toWorld.finite()) return false;
  Placement inner;
  inner.toWorld = toWorld;
  inner.depth = e.at.depth + 1;
  inner.block = block;
  inner.outer = &e.at;
  inner.byReference = true;
  inner.blockColour = e.look.colour;
  inner.blockLayer = e.look.layer;
  FullRun& run = e.run;
  BlockEntities entities(run.blocks, run.blocks.block(block));
  drawEntities(run, entities, inner);
  return true;
}

// Subtract the base point, scale, shift to the cell, turn, move to the
// insertion point, then out of the reference's object coordinates.
Transform cellTransform(const Reference& reference, const StoredBlock& block, int64_t column, int64_t row) {
  const Vec3 base{block.base[0], block.base[1], block.base[2]};
  const Vec3 cell{static_cast<double>(column) * reference.columnSpacing,
                  static_cast<double>(row) * reference.rowSpacing, 0};
  const Transform inBlock = Transform::translation(cell)
                                .after(Transform::scaling(reference.scale.x, reference.scale.y, reference.scale.z))
                                .after(Transform::translation(Vec3{} - base));
  return reference.objectToWorld.after(Transform::translation(reference.insertion))
      .after(Transform::rotationZ(reference.rotation))
      .after(inBlock);
}

void drawReference(const EntityDraw& e, const Reference& reference) {
  FullRun& run = e.run;
  const int32_t block = run.blocks.find(reference.blockName);
  const int64_t cells = saturatingProduct(reference.columns, reference.rows);
  if (!mayDraw(run, e.at, block, reference.scale, cells)) return;
  // A point that comes out not finite marks the reference; an inner
  // reference that was counted itself is not counted again.
  const bool outerMarked = run.nonFinitePoint;
  run.nonFinitePoint = false;
  bool allFinite = true;
  for (int64_t row = 0; row < reference.rows && !run.stopped(); ++row) {
    for (int64_t column = 0; column < reference.columns && !run.stopped(); ++column) {
      const Transform toWorld = cellTransform(reference, run.blocks.block(block), column, row);
      allFinite = drawBlockOnce(e, block, toWorld) && allFinite;
      run.countWork();
    }
  }
  if (!allFinite || run.nonFinitePoint) run.skip(SkipReason::NotFinite);
  run.nonFinitePoint = outerMarked;
}

// The ATTRIB entities after an INSERT (up to their SEQEND): texts where they
// stand, unless flagged invisible.
void drawAttributes(const EntityDraw& e) {
  RecordView attribute;
  while (e.following.hasNext() && e.following.nextName() == "ATTRIB" && e.following.next(attribute)) {
    const EntityLook look = lookOf(e.run, attribute, e.at);
    if (!look.drawn || (attribute.integerOr(70, 0) & kInvisibleAttribute)) continue;
    const EntityDraw text{e.run, attribute, e.following, e.at, look};
    if (text.admit(EntityKind::Text)) drawText(text);
  }
  if (e.following.hasNext() && e.following.nextName() == "SEQEND") e.following.next(attribute);
}

}  // namespace

DrawCost costOfBlock(FullRun& run, int32_t index) {
  StoredBlock& block = run.blocks.block(index);
  if (block.objects >= 0) return {block.objects, block.points};
  if (block.counting) return {};  // a block that reaches itself is never drawn
  block.counting = true;
  int64_t objects = 0, points = 0;
  const uint32_t first = block.firstEntity, count = block.entityCount;
  for (uint32_t i = 0; i < count && (objects <= FullRun::kMostObjects || points <= FullRun::kMostPoints); ++i) {
    const DrawCost entity = costOfEntity(run, run.blocks.entity(first + i));
    objects = saturatingSum(objects, entity.objects, FullRun::kMostObjects);
    points = saturatingSum(points, entity.points, FullRun::kMostPoints);
  }
  // Counting inner blocks appends nothing, yet the reference is taken anew.
  StoredBlock& counted = run.blocks.block(index);
  counted.counting = false;
  counted.objects = objects;
  counted.points = points;
  return {objects, points};
}

void drawInsert(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  // The reference's groups are all read before its attributes, which take
  // the place of its record.
  Reference reference;
  reference.blockName = entity.textOr(2);
  reference.insertion = pointOf(entity, 10);
  reference.scale = {entity.numberOr(41, 1), entity.numberOr(42, 1), entity.numberOr(43, 1)};
  reference.rotation = radians(entity.numberOr(50, 0));
  reference.columns = cellsOf(entity.integerOr(70, 1));
  reference.rows = cellsOf(entity.integerOr(71, 1));
  reference.columnSpacing = entity.numberOr(44, 0);
  reference.rowSpacing = entity.numberOr(45, 0);
  reference.objectToWorld = e.objectToWorld();
  const bool attributesFollow = entity.integerOr(kAttributesFollow, 0) == 1;
  drawReference(e, reference);
  if (attributesFollow) drawAttributes(e);
}

void drawDimension(const EntityDraw& e) {
  // The dimension's block holds its picture where it stands: no transform
  // but the dimension's own plane.
  const int32_t block = e.run.blocks.find(e.entity.textOr(2));
  if (block < 0 || e.run.blocks.block(block).entityCount == 0) return drawDimensionFromPoints(e);
  if (!mayDraw(e.run, e.at, block, {1, 1, 1}, 1)) return;
  const bool outerMarked = e.run.nonFinitePoint;
  e.run.nonFinitePoint = false;
  if (!drawBlockOnce(e, block, e.objectToWorld()) || e.run.nonFinitePoint) e.run.skip(SkipReason::NotFinite);
  e.run.nonFinitePoint = outerMarked;
}

void drawTable(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  Reference reference;
  reference.blockName = entity.textOr(2);
  reference.insertion = pointOf(entity, 10);
  const Vec3 direction = pointOf(entity, 11);
  if (direction.x != 0 || direction.y != 0) reference.rotation = std::atan2(direction.y, direction.x);
  reference.objectToWorld = e.objectToWorld();
  drawReference(e, reference);
}

void drawNamedBlocks(FullRun& run) {
  for (size_t i = 0; i < run.blocks.count() && !run.stopped(); ++i) {
    const int32_t index = static_cast<int32_t>(i);
    const StoredBlock& block = run.blocks.block(index);
    const std::string_view name = run.blocks.name(block);
    if (name.empty() || name.front() == '*') continue;  // anonymous blocks and layouts
    Placement at;
    at.block = index;
    BlockEntities entities(run.blocks, block);
    drawEntities(run, entities, at);
  }
}

void drawBlockReference(const EntityDraw& e, int32_t block, const Vec3& position, const Vec3& scale, double rotation,
                        const Vec3& normal) {
  FullRun& run = e.run;
  Reference reference;
  if (block >= 0) reference.blockName = run.blocks.name(run.blocks.block(block));
  const Transform plane = Transform::objectCoordinates(normal);
  // The position in the plane's object coordinates: the plane's axes are
  // at right angles and of length 1.
  reference.insertion = {position.dot(plane.xAxis()), position.dot(plane.yAxis()), position.dot(plane.zAxis())};
  reference.scale = scale;
  reference.rotation = rotation;
  reference.objectToWorld = e.at.toWorld.after(plane);
  drawReference(e, reference);
}

}  // namespace drawport::full
